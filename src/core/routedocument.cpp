// SPDX-License-Identifier: GPL-3.0-or-later
#include "routedocument.h"

#include "calculation/darcy.h"
#include "charset.h"
#include "routefile.h"

#include <algorithm>
#include <utility>

namespace plenix {

std::string fileNameFromPath(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    constexpr std::string_view routeExtension = ".txt";
    if (name.size() > routeExtension.size()) {
        if (equalsIgnoringCase(name.substr(name.size() - routeExtension.size()), routeExtension))
            name.remove_suffix(routeExtension.size());
    }
    return std::string(name);
}

std::size_t utf8CharLength(std::string_view text)
{
    if (text.empty())
        return 0;
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(0);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    // The second byte's range rules out overlong forms, surrogates and code
    // points past U+10FFFF.
    const unsigned second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

std::string oneLineName(std::string_view name)
{
    std::string shown;
    shown.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x80) {
            if (const std::size_t length = utf8CharLength(name.substr(i)); length > 0) {
                shown += name.substr(i, length);
                i += length - 1;
                continue;
            }
            static constexpr char hexDigits[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += hexDigits[code >> 4];
            shown += hexDigits[code & 0xF];
            continue;
        }
        if (code >= 0x20 && code != 0x7F) {
            shown += c;
            continue;
        }
        // U+2400 + code, or U+2421 for DEL, in UTF-8: E2 90 xx.
        const unsigned picture = code == 0x7F ? 0x21 : code;
        shown += '\xE2';
        shown += '\x90';
        shown += static_cast<char>(0x80 | picture);
    }
    return shown;
}

RouteDocument::RouteDocument()
{
    m_table.setUp();
    limitTable();
    // The headers and row numbers are no route.
    m_marks.reset();
    m_table.addListener(this, [this](const TableChange &change) { followTable(change); });
}

RouteDocument::~RouteDocument()
{
    m_table.removeListener(this);
}

void RouteDocument::followTable(const TableChange &change)
{
    // The header row and the row numbers are not the route's; only the
    // data cells are.
    const CellRange &cells = change.cells;
    if (!cells.isEmpty() && cells.bottom >= 1 && cells.right >= 1 &&
        cells.left <= RouteTable::DataCols)
        m_modified = true;
}

void RouteDocument::setDescription(std::string_view stored)
{
    const std::string_view old = m_description;
    const std::size_t shorter = std::min(old.size(), stored.size());
    std::size_t head = 0;
    while (head < shorter && old[head] == stored[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && old[old.size() - 1 - tail] == stored[stored.size() - 1 - tail])
        ++tail;
    replaceDescription(head, old.size() - head - tail,
                       stored.substr(head, stored.size() - head - tail));
}

void RouteDocument::replaceDescription(std::size_t offset, std::size_t count,
                                       std::string_view inserted)
{
    if (std::string_view(m_description).substr(offset, count) == inserted)
        return;
    DescriptionSplice change{offset, m_description.substr(offset, count), std::string(inserted)};
    // Room to type in without copying a long text at the next keystroke.
    if (const std::size_t size = m_description.size() - count + inserted.size();
        size > m_description.capacity())
        m_description.reserve(size + size / 8);
    m_description.replace(offset, count, inserted);
    m_modified = true;
    limitTable();
    if (m_descriptionHook)
        m_descriptionHook(std::move(change));
}

void RouteDocument::limitTable()
{
    // One byte for the separator.
    const std::size_t used = m_description.size() + 1;
    m_table.setTextLimit(used < MaxFileTextBytes ? MaxFileTextBytes - used : 0);
}

void RouteDocument::setPath(std::string_view path)
{
    m_path = path;
    m_name = fileNameFromPath(path);
}

std::string RouteDocument::caption() const
{
    return std::string(CaptionPrefix) +
           (isUntitled() ? std::string(UntitledName) : oneLineName(m_name));
}

void RouteDocument::setMethod(const method::Settings &settings)
{
    m_method = settings;
    m_table.setHeaderTexts(method::columnCaptions(settings));
    m_table.setTakesShapes(!settings.isClassic());
}

CalculationOutcome RouteDocument::calculate(const fittings::RouteContext *context)
{
    CalculationOutcome outcome;
    {
        // The coefficients and the results are one change of the table.
        RouteTable::Batch batch(m_table);
        m_fittingRows.clear();
        RowLosses losses;
        if (context != nullptr) {
            m_fittingRows = fittings::resolveRows(
                m_table, fittings::routeGeometry(m_table, m_method), *context);
            fittings::writeCoefficients(m_table, m_fittingRows);
            losses = fittings::rowLosses(m_fittingRows);
        }
        const RowLosses *rowLosses = context != nullptr ? &losses : nullptr;
        outcome = m_method.isClassic() ? plenix::calculate(m_table, rowLosses)
                                       : darcy::calculate(m_table, m_method, rowLosses);
    }
    if (!outcome.stopped)
        m_marks.calculated();
    return outcome;
}

std::string RouteDocument::fileText() const
{
    return packRoute(m_table, m_description);
}

std::string RouteDocument::fileTextHead() const
{
    return packRoute(m_table, {});
}

std::size_t RouteDocument::fileTextSize() const
{
    return packedSize(m_table, m_description.size());
}

bool RouteDocument::openText(std::string_view text)
{
    // A file within the limit must open whatever description the route had.
    m_table.setTextLimit(MaxFileTextBytes);
    std::optional<std::string> description = unpackRoute(m_table, text);
    if (description)
        m_description = std::move(*description);
    limitTable();
    if (!description)
        return false;
    m_modified = false;
    m_marks.reset();
    return true;
}

void RouteDocument::clear()
{
    m_table.clear();
    m_description.clear();
    limitTable();
    m_path.clear();
    m_name.clear();
    m_modified = false;
    m_marks.reset();
}

} // namespace plenix
