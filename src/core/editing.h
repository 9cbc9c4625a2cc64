// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <string>

// Typing into the route grid, and the row and list commands.
namespace plenix {

inline constexpr int BackspaceCode = 8;

// Whether a typed character may be appended when the selection ends in
// the given column. Digits, ":;<=>?@", capitals A to Y and the full stop go
// anywhere; the space, other punctuation, Z and small letters go into
// "Description" only; control characters and codes above 126 go nowhere.
bool isCharAccepted(char32_t code, int selectionEndCol);

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

} // namespace plenix
