// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// What the route report says, decided without a page in sight: which rows it
// lists and how each is set, the route total, the texts of the first page
// and whether the figures are out of date. The painter only places it.
// Texts are UTF-8; the file's name and path stay in the file system's
// encoding, as the document keeps them.
namespace plenix {

class RouteDocument;

inline constexpr std::string_view ReportTitle = "Plenix";
inline constexpr std::string_view OutOfDateCaution =
    "Figures out of date: recalculate before issuing";

enum class ReportRowKind
{
    Item, // a duct or a fitting: it has a length or a loss coefficient
    Text, // neither: a heading or a note, set apart across the row
};

struct ReportRow
{
    Int16 number = 0;
    ReportRowKind kind = ReportRowKind::Item;
    // The results are out of date: marked as the grid marks them.
    bool stale = false;
    std::array<std::string, RouteTable::DataCols> cells; // columns 1..10
    // A duct run's figures beyond the columns, in the methods but the
    // classic one: Re, f, De and the friction rate. Empty when out of date.
    std::string figures;
};

struct ReportContent
{
    std::string routeName;
    std::string path; // empty for an untitled route
    std::vector<std::string> descriptionLines;
    // The units and constants the figures rest on, one line each.
    std::vector<std::string> constants;
    // In a project, the fittings of the library the route uses, each with
    // its source, and the coefficients typed; empty for a route file.
    std::vector<std::string> fittings;
    std::array<std::string, RouteTable::DataCols> headers;
    // Every used row that holds any text, top down.
    std::vector<ReportRow> rows;
    // "Route SP" of the last used row; empty when there is none.
    std::string total;
    std::string pressureUnit; // "in wg" or "Pa"
    bool outOfDate = false;
};

// Numbers stand right-aligned; only the description is text.
inline bool isNumberColumn(int col)
{
    return col != RouteTable::ColDescription;
}
inline bool isResultColumn(int col)
{
    return col >= RouteTable::ColItemSP && col <= RouteTable::ColRouteSP;
}

// The report of the route as it stands; rows whose results the document's
// marks hold out of date are reported so, never recalculated.
ReportContent reportContent(const RouteDocument &document);

} // namespace plenix
