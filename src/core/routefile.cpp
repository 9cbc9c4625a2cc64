// SPDX-License-Identifier: GPL-3.0-or-later
#include "routefile.h"

namespace plenix {

std::string packRoute(const RouteTable &table, std::string_view description)
{
    std::string text;
    if (const Int16 lastRow = table.lastUsedRow(1); lastRow >= 1)
        text = table.rowsText(1, lastRow);
    text += RouteSeparator;
    text += description;
    return text;
}

std::size_t packedSize(const RouteTable &table, std::size_t descriptionSize)
{
    return table.rowsTextSize() + 1 + descriptionSize;
}

std::optional<std::string> unpackRoute(RouteTable &table, std::string_view docText)
{
    // Only the first separator divides: any later one is part of the description.
    const std::size_t separator = docText.find(RouteSeparator);
    if (separator == std::string_view::npos)
        return std::nullopt;

    RouteTable::Batch batch(table);
    table.clear();
    table.selectRows(1, RouteTable::DataRows);
    table.setBlockText(docText.substr(0, separator));
    table.goHome();
    // With room to type in: a long description is not copied again at the
    // first keystroke. Memory not written to is not taken.
    const std::string_view stored = docText.substr(separator + 1);
    std::string description;
    description.reserve(stored.size() + stored.size() / 8);
    description = stored;
    return description;
}

std::string descriptionForFile(std::string_view boxText)
{
    std::string stored;
    stored.reserve(boxText.size() + boxText.size() / 16);
    for (std::size_t i = 0; i < boxText.size(); ++i) {
        const char c = boxText[i];
        if (c == '\r') {
            stored += "\r\n";
            if (i + 1 < boxText.size() && boxText[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            stored += "\r\n";
        } else {
            stored += c;
        }
    }
    return stored;
}

std::string descriptionForBox(std::string_view stored)
{
    // Written in place: Open converts descriptions of many megabytes.
    std::string text(stored.size(), '\0');
    char *out = text.data();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i];
        *out++ = c == '\r' ? '\n' : c;
        if (c == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n')
            ++i;
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}

std::string descriptionAsSaved(std::string_view stored)
{
    return descriptionForFile(descriptionForBox(stored));
}

bool isDescriptionAsSaved(std::string_view stored)
{
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\n')
            return false;
        if (stored[i] == '\r' && (i + 1 == stored.size() || stored[++i] != '\n'))
            return false;
    }
    return true;
}

} // namespace plenix
