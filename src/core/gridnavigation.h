// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

// Moving about the route grid: the current cell and the selection end by
// keys, mouse and drag, header presses, and keeping the moved corner in view.
// A view measures itself (the cell area's size, a row's height and its dots
// per inch) and leaves every rule to these operations; the table's scroll
// position is the view's first visible row and column.
namespace plenix {

// What a view measures of its cell area, in its own pixels. Column widths
// come from the table's twips at `dotsPerInchX`, as the view draws them;
// every row is `rowHeight` high.
struct Viewport
{
    int width = 0;
    int height = 0;
    int rowHeight = 1;
    double dotsPerInchX = 96;
};

enum class NavKey
{
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown,
    Home,
    End,
};

struct KeyModifiers
{
    bool shift = false;   // moves the selection end; the current cell stays
    bool control = false; // Home and End go to the table's corners
};

// The last column a user can reach: the spare column.
inline constexpr int LastGridCol = RouteTable::ColCount - 1;

// Data rows wholly inside the cell area; at least one.
int visibleRows(const Viewport &view);
// How far Page Up and Page Down move: a screenful less one row, at least one.
int pageRows(const Viewport &view);
// A column's width in the view's pixels.
int colWidthPixels(const RouteTable &table, int col, const Viewport &view);

// Scrolls as little as needed for the cell to show wholly, or at least at
// the top left when it is larger than the view; never past the point where
// the last row and column stand at the bottom right.
void scrollIntoView(RouteTable &table, int row, int col, const Viewport &view);

// Makes the cell, kept to rows 1..60 and columns 1..11, the current cell
// or, with `extend`, the selection end, and scrolls it into view.
void moveTo(RouteTable &table, int row, int col, bool extend, const Viewport &view);

// Arrows, Page Up and Down, Home and End. Shift moves the selection end from
// where it stands; without Shift the current cell moves and the selection
// collapses onto it.
void moveByKey(RouteTable &table, NavKey key, KeyModifiers modifiers, const Viewport &view);

// The left button pressed on a cell; Shift held makes it the selection end.
void clickCell(RouteTable &table, int row, int col, bool extend, const Viewport &view);

// The left button held down and moved to a point of the cell area; a point
// beyond an edge takes the cell just past the last one shown there, so that
// dragging out of the view scrolls it.
void dragTo(RouteTable &table, int x, int y, const Viewport &view);

// A press on a column header selects the column's data rows from the top;
// dragging on along the headers stretches the selection to the column at
// `x` across the cell area, and beyond an edge, as `dragTo` does, to the
// next column, scrolled into view; the rows stay where they are scrolled.
// With Shift held, the press stretches the selection from the current
// column to the one pressed instead, as a spreadsheet's does.
void clickColumnHeader(RouteTable &table, int col, bool extend = false);
void dragColumnHeader(RouteTable &table, int x, const Viewport &view);
// The same for a row number and whole rows, with `y` down the cell area.
void clickRowHeader(RouteTable &table, int row, bool extend = false);
void dragRowHeader(RouteTable &table, int y, const Viewport &view);

} // namespace plenix
