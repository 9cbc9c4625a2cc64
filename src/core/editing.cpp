// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing.h"

namespace plenix {

namespace {
bool acceptedAnywhere(char32_t code)
{
    // 89 ends the range: capital Z goes into "Description" only, like every
    // small letter. The full stop stands apart from its neighbours.
    return (code >= 48 && code <= 89) || code == 46;
}

bool acceptedInDescription(char32_t code)
{
    return (code >= 32 && code <= 45) || code == 47 || (code >= 90 && code <= 126);
}
} // namespace

bool isCharAccepted(char32_t code, int selectionEndCol)
{
    if (acceptedAnywhere(code))
        return true;
    return selectionEndCol == RouteTable::ColDescription && acceptedInDescription(code);
}

void typeChar(RouteTable &table, char32_t code)
{
    if (code == BackspaceCode) {
        const std::string &text = table.currentText();
        if (!text.empty())
            table.setCurrentText(std::string_view(text).substr(0, text.size() - 1));
        return;
    }
    if (!isCharAccepted(code, table.selectionCol()))
        return;
    std::string text = table.currentText();
    text += static_cast<char>(code);
    table.setCurrentText(text);
}

void deleteSelection(RouteTable &table)
{
    table.setCurrentText("");
}

void insertRow(RouteTable &table)
{
    RouteTable::Batch batch(table);
    const Int16 selected = table.currentRow();
    const Int16 lastUsed = table.lastUsedRow(selected);
    const int count = lastUsed - selected + 1;
    if (count >= 1 && selected + count <= RouteTable::DataRows) {
        table.selectRows(selected, lastUsed);
        // One paste, an empty row first, so that the limit on the route's
        // text refuses the whole move or none of it.
        const std::string moved =
            std::string(RouteTable::DataCols - 1, '\t') + '\r' + table.blockText();
        table.selectRows(selected, static_cast<Int16>(lastUsed + 1));
        table.setBlockText(moved);
    }
    table.goHome();
}

std::string listText(const RouteTable &table)
{
    std::string text = table.headerLine();
    if (const Int16 lastRow = table.lastUsedRow(1); lastRow >= 1)
        text += table.rowsText(1, lastRow);
    return text;
}

} // namespace plenix
