// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fittings/library.h"
#include "tableexport.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The library as the command line prints it, and the engineer's quick
// look-up of one fitting's coefficient.
namespace plenix::fittings {

// One line a fitting: identifier, name, family, parameters with their units
// and ranges, the velocity pressure the coefficient is on, and the source;
// the header first.
TextRows libraryRows(const Library &library);

// The same as a JSON array of objects with the keys id, name, family,
// kind, parameters, vpReference and source.
std::string libraryJson(const Library &library);

// A fitting and the values of its parameters, the ones not given at their
// defaults.
struct Lookup
{
    const Fitting *fitting = nullptr;
    std::vector<double> values;
};

// Reads "ID" and "NAME=VALUE" words; the message of the first fault
// instead: an unknown fitting or parameter, a value that is not a number.
std::variant<Lookup, std::string> readLookup(const Library &library, std::string_view id,
                                             const std::vector<std::string> &assignments);

// The coefficient, to four decimals, with its velocity pressure, source and
// what was clamped; a component's coefficient is empty, its loss being a
// pressure from the maker's data.
TextRows lookupRows(const Lookup &lookup);

// The same as a JSON object with the keys id, coefficient (at full
// precision; null for a component), vpReference, source, clamped and
// clamps.
std::string lookupJson(const Lookup &lookup);

// A coefficient as shown: rounded to four decimals, no trailing zeros.
std::string coefficientText(double coefficient);

} // namespace plenix::fittings
