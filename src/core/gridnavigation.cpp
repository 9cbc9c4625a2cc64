// SPDX-License-Identifier: GPL-3.0-or-later
#include "gridnavigation.h"

#include "layout.h"

#include <algorithm>

namespace plenix {

namespace {

constexpr int LastRow = RouteTable::DataRows;

Int16 clampedRow(int row)
{
    return static_cast<Int16>(std::clamp(row, 1, LastRow));
}

Int16 clampedCol(int col)
{
    return static_cast<Int16>(std::clamp(col, 1, LastGridCol));
}

int rowHeight(const Viewport &view)
{
    return std::max(view.rowHeight, 1);
}

// How many columns, counted leftwards from `col`, fit wholly into the view;
// at least one, so a column wider than the view still shows at the left.
int colsFittingLeftOf(const RouteTable &table, int col, const Viewport &view)
{
    int count = 1;
    int width = colWidthPixels(table, col, view);
    for (int left = col - 1; left >= 1; --left) {
        width += colWidthPixels(table, left, view);
        if (width > view.width)
            break;
        ++count;
    }
    return count;
}

// The left edge of a column, from the left edge of column 1.
int colPosition(const RouteTable &table, int col, const Viewport &view)
{
    int position = 0;
    for (int left = 1; left < col; ++left)
        position += colWidthPixels(table, left, view);
    return position;
}

// The data row under a height in the cell area, or 0 above row 1 and
// below row 60.
int rowAt(const RouteTable &table, int y, const Viewport &view)
{
    const int position = y + (table.topRow() - 1) * rowHeight(view);
    if (position < 0 || position >= LastRow * rowHeight(view))
        return 0;
    return position / rowHeight(view) + 1;
}

// The column under a point across the cell area, or 0 outside columns 1..11.
int colAt(const RouteTable &table, int x, const Viewport &view)
{
    const int position = x + colPosition(table, table.leftCol(), view);
    if (position < 0)
        return 0;
    int right = 0;
    for (int col = 1; col <= LastGridCol; ++col) {
        right += colWidthPixels(table, col, view);
        if (position < right)
            return col;
    }
    return 0;
}

// Along one side of the view: before its start, the one before the first
// cell shown; past its end, the one after the last; inside, the one under
// the point. A point past the table's last cell counts as on that cell.
int dragCell(int at, int extent, int last, const auto &cellAt)
{
    const auto orLast = [last](int cell) { return cell == 0 ? last : cell; };
    if (at < 0)
        return std::max(cellAt(0) - 1, 0);
    if (at >= extent)
        return orLast(cellAt(extent - 1)) + 1;
    return orLast(cellAt(at));
}

} // namespace

int visibleRows(const Viewport &view)
{
    return std::max(1, view.height / rowHeight(view));
}

int pageRows(const Viewport &view)
{
    return std::max(1, view.height / rowHeight(view) - 1);
}

int colWidthPixels(const RouteTable &table, int col, const Viewport &view)
{
    return twipsToPixels(table.colWidthTwips(col), view.dotsPerInchX);
}

void scrollIntoView(RouteTable &table, int row, int col, const Viewport &view)
{
    row = clampedRow(row);
    col = clampedCol(col);
    const int rows = visibleRows(view);
    int top = table.topRow();
    if (row < top)
        top = row;
    else if (row - top + 1 > rows)
        top = row - rows + 1;

    int left = table.leftCol();
    if (col < left)
        left = col;
    else if (colPosition(table, col + 1, view) - colPosition(table, left, view) > view.width)
        left = col - colsFittingLeftOf(table, col, view) + 1;

    RouteTable::Batch batch(table);
    table.setTopRow(clampedRow(std::min(top, LastRow - rows + 1)));
    const int lastLeft = LastGridCol - colsFittingLeftOf(table, LastGridCol, view) + 1;
    table.setLeftCol(clampedCol(std::min(left, lastLeft)));
}

void moveTo(RouteTable &table, int row, int col, bool extend, const Viewport &view)
{
    RouteTable::Batch batch(table);
    const Int16 r = clampedRow(row);
    const Int16 c = clampedCol(col);
    if (extend)
        table.setSelectionEnd(r, c);
    else
        table.setCurrentCell(r, c);
    scrollIntoView(table, r, c, view);
}

void moveByKey(RouteTable &table, NavKey key, KeyModifiers modifiers, const Viewport &view)
{
    const bool extend = modifiers.shift;
    int row = extend ? table.selectionRow() : table.currentRow();
    int col = extend ? table.selectionCol() : table.currentCol();
    switch (key) {
    case NavKey::Up:
        --row;
        break;
    case NavKey::Down:
        ++row;
        break;
    case NavKey::Left:
        --col;
        break;
    case NavKey::Right:
        ++col;
        break;
    case NavKey::PageUp:
        row -= pageRows(view);
        break;
    case NavKey::PageDown:
        row += pageRows(view);
        break;
    case NavKey::Home:
        col = 1;
        if (modifiers.control)
            row = 1;
        break;
    case NavKey::End:
        col = LastGridCol;
        if (modifiers.control)
            row = LastRow;
        break;
    }
    moveTo(table, row, col, extend, view);
}

void clickCell(RouteTable &table, int row, int col, bool extend, const Viewport &view)
{
    moveTo(table, row, col, extend, view);
}

void dragTo(RouteTable &table, int x, int y, const Viewport &view)
{
    const int row =
        dragCell(y, view.height, LastRow, [&](int at) { return rowAt(table, at, view); });
    const int col =
        dragCell(x, view.width, LastGridCol, [&](int at) { return colAt(table, at, view); });
    moveTo(table, row, col, true, view);
}

void clickColumnHeader(RouteTable &table, int col, bool extend)
{
    RouteTable::Batch batch(table);
    table.setCurrentCell(1, extend ? table.currentCol() : clampedCol(col));
    table.setSelectionEnd(LastRow, clampedCol(col));
}

void dragColumnHeader(RouteTable &table, int x, const Viewport &view)
{
    const int col =
        dragCell(x, view.width, LastGridCol, [&](int at) { return colAt(table, at, view); });
    RouteTable::Batch batch(table);
    table.setSelectionEnd(LastRow, clampedCol(col));
    scrollIntoView(table, table.topRow(), col, view);
}

void clickRowHeader(RouteTable &table, int row, bool extend)
{
    RouteTable::Batch batch(table);
    table.setCurrentCell(extend ? table.currentRow() : clampedRow(row), 1);
    table.setSelectionEnd(clampedRow(row), LastGridCol);
}

void dragRowHeader(RouteTable &table, int y, const Viewport &view)
{
    const int row =
        dragCell(y, view.height, LastRow, [&](int at) { return rowAt(table, at, view); });
    RouteTable::Batch batch(table);
    table.setSelectionEnd(clampedRow(row), LastGridCol);
    scrollIntoView(table, row, table.leftCol(), view);
}

} // namespace plenix
