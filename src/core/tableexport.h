// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <string>
#include <string_view>
#include <vector>

// The route as other programs read it: the columns and texts of the list on
// the clipboard, in UTF-8, written as TSV, CSV or JSON. Pure text: the
// callers decide where it goes.
namespace plenix {

struct RouteFigures;
namespace darcy {
struct RouteFigures;
}

// Stored Windows-1252 bytes (cells, descriptions) as UTF-8.
std::string utf8FromStored(std::string_view stored);

// The ten column headers, then one entry per row from row 1 to the last used
// row, each with its ten cell texts in UTF-8.
using TextRows = std::vector<std::vector<std::string>>;
TextRows listRows(const RouteTable &table);
// The rows with the flow and the diameter in force on every row: an empty
// Flow or Diameter cell takes the text of the last row above that gave one,
// so that a spreadsheet can work each row out on its own.
TextRows filledRows(TextRows rows);

// TAB between fields, LF after every row. TSV has no quoting, so a line
// break or TAB inside a cell (a route file written with CR LF rows leaves
// line feeds in cells) is written as a blank.
std::string tsvText(const TextRows &rows);

// RFC 4180 records: a field is quoted, with its quotes doubled, only when it
// holds a comma, a double quote, CR or LF. The line end follows every record.
// A spreadsheet on Windows wants CR LF and a byte order mark to take the file
// as UTF-8; the RFC's CR LF without the mark is the default.
//
// For a spreadsheet, a text field that begins with "=", "+", "-", "@", TAB
// or CR would be taken as a formula, which a file from elsewhere must never
// run: with `guardFormulas` such a field gets a leading apostrophe, which
// spreadsheets show as text. A field that reads as a number is left as it is.
struct CsvFormat
{
    std::string_view lineEnd = "\r\n";
    bool byteOrderMark = false;
    bool guardFormulas = false;
};
std::string csvRecord(const std::vector<std::string> &fields, const CsvFormat &format = {});
std::string csvText(const TextRows &rows, const CsvFormat &format = {});

// Text for a terminal: the control characters that would move the cursor,
// clear the screen or ring the bell, in cells or in names, shown as escapes
// (\r, \x1b, \u0085). TAB and line feed, which lay out the table, stay.
std::string visibleOnTerminal(std::string_view utf8);

// A JSON string literal of UTF-8 text, quotes included.
std::string jsonString(std::string_view utf8);

// One route as one JSON object on one line: "file", "description", "rows"
// (each row an object keyed by the column headers, the first entry of
// `rows`), and "message" when the message is not empty. With the route's
// figures, each row also holds them as numbers at the precision Calculate
// works in: "flow" and "diameter" in force, "velocity", "vp" and "loss"
// (null on a row without an item, or whose loss shows a marker) and
// "total", the running sum of the losses (null from a marker on); the route
// holds "stopped" and its "total".
std::string jsonRoute(std::string_view file, std::string_view description, const TextRows &rows,
                      std::string_view message, const RouteFigures *figures = nullptr);

// The same for a route calculated by Darcy-Colebrook: "flow", "velocity",
// "vp", "loss", "total" and "static" in double precision, and on a duct run
// "re", "f", "de", "frictionRate" and "roughness".
std::string jsonRoute(std::string_view file, std::string_view description, const TextRows &rows,
                      std::string_view message, const darcy::RouteFigures &figures);

} // namespace plenix
