// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation/units.h"
#include "project/project.h"

#include <string>
#include <string_view>

// Switching a project between inch-pound and SI units: every input that
// carries a unit is carried over by the exact factors, so that switching
// back gives the values typed.
namespace plenix {

// A cell's text in the other system: a number, or a size of any shape,
// with up to ten significant digits, which is exact for the factors'
// definitions at the digits people type. A text that reads as no number
// or size, or that is empty, stays as it is.
std::string convertedCell(std::string_view text, units::Quantity quantity, units::System from);

// Converts the flows, sizes and lengths of one route's grid.
void convertRoute(RouteTable &table, units::System from);

// Converts the flows, sizes and lengths of every route and the fan-side
// pressures from one system to the other. The settings are the caller's.
void convertInputs(Project &project, units::System from);

} // namespace plenix
