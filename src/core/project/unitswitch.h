// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation/method.h"
#include "calculation/units.h"
#include "project/project.h"

#include <string>
#include <string_view>

// Switching a project between inch-pound and SI units, or between SI flow
// units: every input that carries a unit is carried over by the exact
// factors, so that switching back gives the values typed.
namespace plenix {

// A cell's text in the other system: a number, or a size of any shape,
// with up to ten significant digits, which is exact for the factors'
// definitions at the digits people type. A text that reads as no number
// or size, or that is empty, stays as it is.
std::string convertedCell(std::string_view text, units::Quantity quantity, units::System from);

// A flow cell's text in the flow unit of other settings: cfm, L/s, m³/h or
// m³/s, with up to twelve significant digits.
std::string convertedFlow(std::string_view text, const method::Settings &from,
                          const method::Settings &to);

// Converts the flows of one route's grid from the flow unit of one settings
// to that of the other, and its sizes and lengths when their systems differ.
void convertRoute(RouteTable &table, const method::Settings &from, const method::Settings &to);

// The same for every route, and the fan-side pressures when the systems
// differ. The settings are the caller's to change.
void convertInputs(Project &project, const method::Settings &from, const method::Settings &to);

} // namespace plenix
