// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <string>
#include <string_view>

// Typing into the route grid, and the row and list commands.
namespace plenix {

inline constexpr int BackspaceCode = 8;

// Whether a typed character may be appended when the selection ends in
// the given column. Digits, ":;<=>?@", capitals A to Y and the full stop go
// anywhere; the space, other punctuation, Z and small letters go into
// "Description" only, and into the size column of a table that takes
// shapes; control characters and codes above 126 go nowhere.
bool isCharAccepted(char32_t code, int selectionEndCol, bool takesShapes = false);

// A typed character: appended to the current cell's text through the fill
// rule, or Backspace, which drops the last character. Rejected ones are dropped.
void typeChar(RouteTable &table, char32_t code);

// The Delete key: every selected cell becomes empty.
void deleteSelection(RouteTable &table);

// Opens an empty row at the current row by moving it and the used rows below
// it down by one; nothing moves when row 60 is in use or nothing lies below.
// Goes home either way.
void insertRow(RouteTable &table);

// The list for the clipboard: the header line, then the used rows as block
// text.
std::string listText(const RouteTable &table);

// Delete Rows: the rows the selection spans go, and the rows below move up
// to close the gap. The cursor and selection stay where they were.
void deleteRows(RouteTable &table);

// Move Rows Up (step -1) and Move Rows Down (step 1): the rows the
// selection spans change places with the row above or below them, and the
// selection moves with them. False, with nothing changed, when they already
// begin at row 1 or end at row 60.
bool moveRows(RouteTable &table, int step);

// What Copy and Cut put on the clipboard: the selection's cells, TAB
// between cells and a line feed between rows, as spreadsheets read them.
std::string copiedText(const RouteTable &table);

enum class PasteOutcome
{
    Pasted,
    Empty,         // nothing to paste
    BeyondLastRow, // it would reach past row 60
    BeyondLastCol, // past the Route SP column
    OverTextLimit, // the route's text would grow past what its file may hold
};

// Paste: cells split at TAB, rows at CR, LF or CR LF, as Copy, a
// spreadsheet or Send List to Clipboard give them; the list's header line
// is left out. The whole block goes in from the selection's top-left cell
// and is selected, or nothing changes.
PasteOutcome pasteText(RouteTable &table, std::string_view text);

} // namespace plenix
