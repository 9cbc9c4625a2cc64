// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing.h"

#include "routeedit.h"

#include <algorithm>
#include <vector>

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

bool isCharAccepted(char32_t code, int selectionEndCol, bool takesShapes)
{
    if (acceptedAnywhere(code))
        return true;
    const bool textCell = selectionEndCol == RouteTable::ColDescription ||
                          (takesShapes && selectionEndCol == RouteTable::ColDiameter);
    return textCell && acceptedInDescription(code);
}

void typeChar(RouteTable &table, char32_t code)
{
    if (code == BackspaceCode) {
        const std::string &text = table.currentText();
        if (!text.empty())
            table.setCurrentText(std::string_view(text).substr(0, text.size() - 1));
        return;
    }
    if (!isCharAccepted(code, table.selectionCol(), table.takesShapes()))
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

namespace {

// Rows first to first + count - 1 as block text, an empty row for each one
// past the last.
std::string rowsBlock(const RouteTable &table, int first, int count)
{
    std::string text;
    for (int row = first; row < first + count; ++row) {
        if (row > first)
            text += '\r';
        if (RouteTable::isDataRow(row))
            text += table.rowsText(static_cast<Int16>(row), static_cast<Int16>(row));
        else
            text.append(RouteTable::DataCols - 1, '\t');
    }
    return text;
}

// Writes block text over whole rows in one paste, so that the text limit
// refuses all of it or none, and puts the cursor back.
void writeRows(RouteTable &table, int first, int last, const std::string &text)
{
    const CursorState cursor = CursorState::of(table);
    table.selectRows(static_cast<Int16>(first), static_cast<Int16>(last));
    table.setBlockText(text);
    cursor.restore(table);
}

} // namespace

void deleteRows(RouteTable &table)
{
    RouteTable::Batch batch(table);
    const CellRange selected = table.selection();
    const int last = std::max<int>(selected.bottom, table.lastUsedRow(1));
    if (last < selected.top)
        return;
    const int count = last - selected.top + 1;
    writeRows(table, selected.top, last, rowsBlock(table, selected.bottom + 1, count));
}

bool moveRows(RouteTable &table, int step)
{
    const CellRange selected = table.selection();
    const int first = std::min(selected.top, selected.top + step);
    const int last = std::max(selected.bottom, selected.bottom + step);
    if (!RouteTable::isDataRow(first) || !RouteTable::isDataRow(last))
        return false;
    RouteTable::Batch batch(table);
    const int span = selected.bottom - selected.top + 1;
    const std::string moved = rowsBlock(table, selected.top, span);
    const std::string passed = rowsBlock(table, step < 0 ? first : last, 1);
    writeRows(table, first, last, step < 0 ? moved + '\r' + passed : passed + '\r' + moved);
    const Int16 selectionRow = table.selectionRow();
    const Int16 selectionCol = table.selectionCol();
    table.setCurrentCell(static_cast<Int16>(table.currentRow() + step), table.currentCol());
    table.setSelectionEnd(static_cast<Int16>(selectionRow + step), selectionCol);
    return true;
}

std::string copiedText(const RouteTable &table)
{
    std::string text = table.blockText();
    std::ranges::replace(text, '\r', '\n');
    return text;
}

PasteOutcome pasteText(RouteTable &table, std::string_view text)
{
    std::string block(text);
    // One kind of row break, and none after the last row.
    for (std::size_t at = 0; (at = block.find("\r\n", at)) != std::string::npos;)
        block.erase(at, 1);
    std::ranges::replace(block, '\n', '\r');
    if (!block.empty() && block.back() == '\r')
        block.pop_back();
    if (std::string_view header = table.headerLine(); block.starts_with(header))
        block.erase(0, header.size());
    if (block.empty())
        return PasteOutcome::Empty;

    int rows = 1;
    int cols = 1;
    int colsInRow = 1;
    for (const char ch : block) {
        if (ch == '\r')
            ++rows, colsInRow = 1;
        else if (ch == '\t')
            cols = std::max(cols, ++colsInRow);
    }
    const CellRange selected = table.selection();
    if (selected.top + rows - 1 > RouteTable::DataRows)
        return PasteOutcome::BeyondLastRow;
    if (selected.left + cols - 1 > RouteTable::DataCols)
        return PasteOutcome::BeyondLastCol;
    RouteTable::Batch batch(table);
    const CursorState cursor = CursorState::of(table);
    table.setCurrentCell(static_cast<Int16>(selected.top), static_cast<Int16>(selected.left));
    table.setSelectionEnd(static_cast<Int16>(selected.top + rows - 1),
                          static_cast<Int16>(selected.left + cols - 1));
    if (!table.setBlockText(block)) {
        cursor.restore(table);
        return PasteOutcome::OverTextLimit;
    }
    return PasteOutcome::Pasted;
}

} // namespace plenix
