// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation/units.h"
#include "routetable.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The pressure profile: how the route's static pressure falls along its
// rows, as the chart draws it, read from the cells as they show.
namespace plenix {

struct ProfilePoint
{
    Int16 row = 0;
    std::string description; // UTF-8
    bool textRow = false;    // neither a length nor a loss coefficient
    // The item's loss, the bar; 0 for a text row, nothing where the cell
    // holds no figure.
    std::optional<double> itemLoss;
    // "Route SP, in wg"; nothing where the cell is empty or a marker.
    std::optional<double> routeTotal;
    // The marker an item's loss shows instead of a figure, labelled on the
    // chart; empty otherwise.
    std::string marker;
    // Where the row starts and ends along the route, in ft: its length times
    // its quantity after the lengths of the rows before it. A fitting has
    // no length, so it starts and ends where the duct before it ends.
    double distanceFrom = 0;
    double distanceTo = 0;
};

// What the chart's horizontal axis counts: the rows, one slot each, or the
// distance along the route.
enum class ProfileAxis
{
    Row,
    Distance,
};

// A stretch of rows whose totals are all figures, drawn as one step line.
struct ProfileRun
{
    Int16 firstRow = 0;
    Int16 lastRow = 0;
    friend bool operator==(const ProfileRun &, const ProfileRun &) = default;
};

struct PressureProfile
{
    // Rows 1 to the last used row, each a position on the chart.
    std::vector<ProfilePoint> points;
    std::vector<ProfileRun> runs;
    // The span of every total and loss, and 0.
    double lowest = 0;
    double highest = 0;
    // Of the pressures and distances.
    units::System units = units::System::InchPound;

    const ProfilePoint &point(Int16 row) const { return points[static_cast<std::size_t>(row - 1)]; }
};

PressureProfile pressureProfile(const RouteTable &table,
                                units::System units = units::System::InchPound);

// The step line of a run: each row holds its total from half a row before
// it to half a row after it, or over its stretch of the route; the route's
// first run rises from 0.
std::vector<std::pair<double, double>> stepLine(const PressureProfile &profile,
                                                const ProfileRun &run,
                                                ProfileAxis axis = ProfileAxis::Row);

// The step between the row axis's ticks: every 1, 2, 5 or 10 rows, the
// first that gives at most 15 ticks along the route.
double rowTickInterval(std::size_t rows);

// The row at a place on the horizontal axis, as a click or the pointer
// finds it: the nearest row's slot, or the row whose stretch holds the
// distance, where a duct's end belongs to the row after it (the fitting
// there). Nothing off the route.
std::optional<Int16> rowAt(const PressureProfile &profile, double place, ProfileAxis axis);

} // namespace plenix
