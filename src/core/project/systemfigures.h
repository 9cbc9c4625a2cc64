// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/project.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What a calculated system asks of its fan and of its balancing dampers.
// Pressures are in inches of water gauge and flows in cfm, read from the
// texts that the routes' grids show, so that the figures agree with what the
// engineer sees. A figure that cannot be worked out (a route stopped at its
// check, or showing a marker such as "#NUM!") is NaN, and so is every figure
// that depends on it.
namespace plenix {

// One terminal: the end of a route.
struct PathFigures
{
    std::size_t route = 0;
    // The static pressure where the route starts: 0 for the root, else the
    // pressure at its take-off, the upstream routes' totals up to there.
    double start = 0;
    double total = 0;    // the route's own total
    double pressure = 0; // start + total: the path from the fan
    double excess = 0;   // the critical path's pressure less this one's
};

enum class BalanceVerdict
{
    Balanced, // the sides differ by 5 % at most
    Raise,    // by 20 % at most: raise the lower side's flow
    Resize,   // more: resize the lower side
    Unknown   // a side's pressure cannot be worked out
};
std::string_view verdictKey(BalanceVerdict verdict);

// A junction where a branch takes off: the worst path down the branch
// against the worst path onward along the route it leaves, each measured
// from the junction.
struct TakeoffBalance
{
    std::size_t branch = 0;
    std::size_t from = 0;
    int row = 0;
    double branchPressure = 0;
    double mainPressure = 0;
    bool branchIsLower = false;
    double lowerFlow = 0; // the lower side's flow just after the junction
    // The higher pressure over the lower; infinite when the lower is 0 and
    // the higher is not.
    double ratio = 1;
    // The flow at which the lower side would take the higher pressure,
    // Q * sqrt(high / low); infinite where the ratio is.
    double balancedFlow = 0;
    BalanceVerdict verdict = BalanceVerdict::Balanced;
};

struct FanFigures
{
    double flow = 0;          // the root route's first flow
    double itemsPressure = 0; // the fan-side items added up
    double safetyFactor = 0;  // per cent
    double pressure = 0;      // (critical path + items) * (1 + factor / 100)
};

struct SystemFigures
{
    std::vector<PathFigures> paths; // in the project's order of routes
    std::size_t critical = 0;       // index into paths
    FanFigures fan;
    std::vector<TakeoffBalance> takeoffs; // in the order of the branches
};

// The project's routes as last calculated; a route marked in `stopped` was
// stopped by its check and has no figures. The project's structure must be
// sound (structureError() nothing).
SystemFigures systemFigures(const Project &project, const std::vector<bool> &stopped);

// The static pressure a route's grid shows at a row: its Route SP there, or
// the last one shown above (a text row, or a row past the route's end); 0
// above the first. NaN for a marker.
double routePressureAt(const RouteTable &table, int row);

// For each route, the junctions its tees find: where it takes off, and the
// routes that take off it. The combined flow, area and velocity pressure
// are those in force on the route at the take-off row; the branch's are its
// first flow and its first section.
std::vector<fittings::RouteContext> fittingContexts(const Project &project);

// Calculates every route, then the system. `outcomes` gets each route's.
struct ProjectOutcome
{
    std::vector<CalculationOutcome> routes;
    SystemFigures system;
    bool stopped() const;
};
ProjectOutcome calculateProject(Project &project);

} // namespace plenix
