// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/systemfigures.h"

#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plenix {

namespace {

constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double Infinity = std::numeric_limits<double>::infinity();

// The verdict's limits on the ratio of the two sides' pressures. The
// pressures are read from two-decimal texts, so a ratio on a limit may come
// out a rounding error above it.
constexpr double BalancedRatio = 1.05;
constexpr double RaiseRatio = 1.20;
constexpr double RatioTolerance = 1e-9;

// The greater, or NaN when either is: a path that cannot be worked out may
// be the worst.
double worse(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return NotANumber;
    return std::max(a, b);
}

double cellNumber(const std::string &text)
{
    return isMarker(text) ? NotANumber : numberFromText(text);
}

// The flow given last at or above the row: the flow in force there.
double flowInForce(const RouteTable &table, int row)
{
    for (int r = std::min(row, int{RouteTable::DataRows}); r >= 1; --r) {
        if (const std::string &text = table.cellText(r, RouteTable::ColFlow); !text.empty())
            return numberFromText(text);
    }
    return 0;
}

double firstFlow(const RouteTable &table)
{
    for (int row = 1; row <= RouteTable::DataRows; ++row) {
        if (const std::string &text = table.cellText(row, RouteTable::ColFlow); !text.empty())
            return numberFromText(text);
    }
    return 0;
}

BalanceVerdict verdictFor(double ratio)
{
    if (std::isnan(ratio))
        return BalanceVerdict::Unknown;
    if (ratio <= BalancedRatio + RatioTolerance)
        return BalanceVerdict::Balanced;
    if (ratio <= RaiseRatio + RatioTolerance)
        return BalanceVerdict::Raise;
    return BalanceVerdict::Resize;
}

TakeoffBalance balance(std::size_t branch, std::size_t from, int row, double branchPressure,
                       double mainPressure)
{
    TakeoffBalance result;
    result.branch = branch;
    result.from = from;
    result.row = row;
    result.branchPressure = branchPressure;
    result.mainPressure = mainPressure;
    result.branchIsLower = branchPressure < mainPressure;
    const double high = std::max(branchPressure, mainPressure);
    const double low = std::min(branchPressure, mainPressure);
    if (std::isnan(branchPressure) || std::isnan(mainPressure))
        result.ratio = NotANumber;
    else if (high <= 0)
        result.ratio = 1; // no loss on either side: nothing to balance
    else if (low <= 0)
        result.ratio = Infinity;
    else
        result.ratio = high / low;
    result.verdict = verdictFor(result.ratio);
    return result;
}

} // namespace

std::string_view verdictKey(BalanceVerdict verdict)
{
    switch (verdict) {
    case BalanceVerdict::Balanced:
        return "balanced";
    case BalanceVerdict::Raise:
        return "raise";
    case BalanceVerdict::Resize:
        return "resize";
    case BalanceVerdict::Unknown:
        return "unknown";
    }
    return {};
}

double routePressureAt(const RouteTable &table, int row)
{
    for (int r = std::min(row, int{RouteTable::DataRows}); r >= 1; --r) {
        if (const std::string &text = table.cellText(r, RouteTable::ColRouteSP); !text.empty())
            return cellNumber(text);
    }
    return 0;
}

SystemFigures systemFigures(const Project &project, const std::vector<bool> &stopped)
{
    const std::size_t count = project.routes.size();
    const std::vector<std::optional<std::size_t>> parent = project.parents();
    const auto pressureAt = [&](std::size_t route, int row) {
        return stopped.at(route) ? NotANumber
                                 : routePressureAt(project.routes[route].document->table(), row);
    };

    SystemFigures system;
    system.paths.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        system.paths[i].route = i;
        system.paths[i].start = NotANumber;
        system.paths[i].total = pressureAt(i, RouteTable::DataRows);
    }
    const std::vector<std::size_t> order = project.fanFirstOrder();
    for (const std::size_t i : order) {
        PathFigures &path = system.paths[i];
        if (i != 0)
            path.start = system.paths[*parent[i]].start +
                         pressureAt(*parent[i], project.routes[i].takeoff->row);
        else
            path.start = 0;
        path.pressure = path.start + path.total;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const PathFigures &path = system.paths[i];
        const PathFigures &critical = system.paths[system.critical];
        if (std::isnan(critical.pressure))
            break;
        if (std::isnan(path.pressure) || path.pressure > critical.pressure)
            system.critical = i;
    }
    for (PathFigures &path : system.paths)
        path.excess = system.paths[system.critical].pressure - path.pressure;

    // The worst path of each route's subtree: the routes taken in reverse,
    // so that every branch hands its worst to its parent before the parent
    // hands on its own.
    std::vector<double> worstBelow(count);
    for (std::size_t i = 0; i < count; ++i)
        worstBelow[i] = system.paths[i].pressure;
    for (auto i = order.rbegin(); i != order.rend(); ++i) {
        if (*i != 0)
            worstBelow[*parent[*i]] = worse(worstBelow[*parent[*i]], worstBelow[*i]);
    }

    for (std::size_t branch = 1; branch < count; ++branch) {
        if (!parent[branch])
            continue;
        const std::size_t from = *parent[branch];
        const int row = project.routes[branch].takeoff->row;
        const double junction = system.paths[branch].start;
        // Onward along the route it leaves: that route's own end, and every
        // branch that takes off it further down.
        double onward = system.paths[from].pressure;
        for (std::size_t other = 1; other < count; ++other) {
            if (parent[other] == from && project.routes[other].takeoff->row > row)
                onward = worse(onward, worstBelow[other]);
        }
        TakeoffBalance result =
            balance(branch, from, row, worstBelow[branch] - junction, onward - junction);
        result.lowerFlow = result.branchIsLower
                               ? firstFlow(project.routes[branch].document->table())
                               : flowInForce(project.routes[from].document->table(), row + 1);
        result.balancedFlow = result.lowerFlow * std::sqrt(result.ratio);
        system.takeoffs.push_back(result);
    }

    FanFigures &fan = system.fan;
    if (count > 0)
        fan.flow = firstFlow(project.routes.front().document->table());
    for (const FanItem &item : project.fanItems)
        fan.itemsPressure += numberFromText(item.pressure);
    fan.safetyFactor = numberFromText(project.safetyFactor);
    fan.pressure = count > 0 ? (system.paths[system.critical].pressure + fan.itemsPressure) *
                                   (1 + fan.safetyFactor / 100)
                             : 0;
    return system;
}

bool ProjectOutcome::stopped() const
{
    return std::any_of(routes.begin(), routes.end(),
                       [](const CalculationOutcome &outcome) { return outcome.stopped; });
}

namespace {

// The first flow and the first section a branch gives.
void branchSide(const std::vector<fittings::RowGeometry> &rows, fittings::Junction &junction)
{
    for (const fittings::RowGeometry &row : rows) {
        if (junction.branchFlow == 0)
            junction.branchFlow = row.flow;
        if (junction.branchArea == 0 && row.area > 0) {
            junction.branchArea = row.area;
            junction.branchVp = row.velocityPressure;
        }
    }
}

} // namespace

std::vector<fittings::RouteContext> fittingContexts(const Project &project)
{
    std::vector<std::vector<fittings::RowGeometry>> geometry;
    geometry.reserve(project.routes.size());
    for (std::size_t i = 0; i < project.routes.size(); ++i)
        geometry.push_back(
            fittings::routeGeometry(project.routes[i].document->table(), project.routeSettings(i)));
    std::vector<fittings::RouteContext> contexts(project.routes.size());
    const std::vector<std::optional<std::size_t>> parents = project.parents();
    for (std::size_t i = 0; i < project.routes.size(); ++i) {
        contexts[i].units = project.settings.units;
        if (!parents[i] || geometry[*parents[i]].empty())
            continue;
        const std::vector<fittings::RowGeometry> &main = geometry[*parents[i]];
        const int row = std::min(project.routes[i].takeoff->row, static_cast<int>(main.size()));
        fittings::Junction junction;
        if (row >= 1) {
            const fittings::RowGeometry &at = main[static_cast<std::size_t>(row - 1)];
            junction.combinedFlow = at.flow;
            junction.combinedArea = at.area;
            junction.combinedVp = at.velocityPressure;
        }
        branchSide(geometry[i], junction);
        contexts[i].asBranch = junction;
        contexts[*parents[i]].takeoffs.emplace_back(project.routes[i].takeoff->row, junction);
    }
    return contexts;
}

ProjectOutcome calculateProject(Project &project)
{
    ProjectOutcome outcome;
    std::vector<bool> stopped;
    for (std::size_t i = 0; i < project.routes.size(); ++i)
        project.routes[i].document->setMethod(project.routeSettings(i));
    const std::vector<fittings::RouteContext> contexts = fittingContexts(project);
    for (std::size_t i = 0; i < project.routes.size(); ++i) {
        ProjectRoute &route = project.routes[i];
        outcome.routes.push_back(route.document->calculate(&contexts[i]));
        stopped.push_back(outcome.routes.back().stopped);
    }
    outcome.system = systemFigures(project, stopped);
    return outcome;
}

} // namespace plenix
