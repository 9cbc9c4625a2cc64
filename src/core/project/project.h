// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation.h"
#include "calculation/method.h"
#include "routedocument.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A duct system: one fan, a root route that starts at it, and routes that
// take off other routes at their fittings, each ending at a terminal.
namespace plenix {

// Who the work is for and who did it; free text, UTF-8.
struct JobInfo
{
    std::string name;
    std::string number;
    std::string client;
    std::string location;
    std::string designer;
    std::string checker;
    std::string date;
    std::string revision;
    std::string notes;

    bool isEmpty() const { return *this == JobInfo{}; }
    friend bool operator==(const JobInfo &, const JobInfo &) = default;
};

// A loss on the fan's side of the system that no route holds: a coil, a
// filter, the casing. The pressure is kept as typed, like a cell.
struct FanItem
{
    std::string name;
    std::string pressure;
    friend bool operator==(const FanItem &, const FanItem &) = default;
};

// Where a branch starts: where row `row` of the named route ends.
struct Takeoff
{
    std::string route;
    int row = 0;
    friend bool operator==(const Takeoff &, const Takeoff &) = default;
};

// One route of the system: the grid and description of a classic route,
// with a name and, for every route but the first, its take-off.
struct ProjectRoute
{
    std::string name; // UTF-8
    std::optional<Takeoff> takeoff;
    // A material of the table that this route is made of, when it differs
    // from the project's; empty for the project's.
    std::string material;
    std::unique_ptr<RouteDocument> document = std::make_unique<RouteDocument>();
};

// Puts one route's cells (results and the spare column too), description and
// fittings as last worked out into another document, which then goes home.
// The other's file, marks and modified state are the caller's to settle.
void copyRouteContent(const RouteDocument &from, RouteDocument &to);

// A name of a route, quoted, as messages show it.
std::string quotedRouteName(std::string_view name);

class Project final
{
public:
    // Far beyond any one fan's system; the bound keeps a hostile file from
    // making the system's figures slow.
    static constexpr std::size_t MaxRoutes = 1000;

    JobInfo job;
    method::Settings settings;
    std::vector<FanItem> fanItems;
    std::string safetyFactor; // per cent, as typed
    std::vector<ProjectRoute> routes;

    // A project that holds nothing a classic route file cannot: one route,
    // no job information, no fan-side items or safety factor, the classic
    // method and no material.
    bool fitsClassicRoute() const;

    // The index of the route of that name, if any.
    std::optional<std::size_t> routeIndex(std::string_view name) const;

    // Why the routes do not form one system, naming the first route at
    // fault; nothing when they do. The first route starts at the fan; every
    // other one takes off a route of the project, after one of the grid's
    // rows, and no chain of take-offs comes back to where it began.
    std::optional<std::string> structureError() const;

    // The settings a route is calculated with.
    method::Settings routeSettings(std::size_t index) const;

    // A copy of every route, cells, description and all.
    Project copy() const;
    // The bytes its texts take, roughly what a copy of it costs.
    std::size_t memorySize() const;

    // Renames a route and every take-off from it.
    void renameRoute(std::size_t index, const std::string &name);
    // The routes that take off this one, directly or through others.
    std::vector<std::size_t> branchesOf(std::size_t index) const;
    // Removes a route and every route that takes off it.
    void removeRoute(std::size_t index);
    // `base`, or the first of "base 2", "base 3" ... that no route is named.
    std::string unusedName(const std::string &base) const;
    // A new route taking off route `from` after its last used row (row 1 of
    // an empty route), placed at `index`.
    ProjectRoute &insertBranch(std::size_t index, std::size_t from, const std::string &name);

    // For each route, the index of the route it takes off; nothing for the
    // first route and for a take-off that names no route of the project.
    std::vector<std::optional<std::size_t>> parents() const;
    // The routes that the first one reaches through take-offs, each after
    // the route it takes off. A route left out takes off from nowhere or in
    // a loop.
    std::vector<std::size_t> fanFirstOrder() const;
};

} // namespace plenix
