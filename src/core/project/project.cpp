// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/project.h"

#include <algorithm>
#include <unordered_map>

namespace plenix {

void copyRouteContent(const RouteDocument &from, RouteDocument &to)
{
    RouteTable &table = to.table();
    {
        RouteTable::Batch batch(table);
        for (int row = 1; row <= RouteTable::DataRows; ++row) {
            for (int col = 1; col <= RouteTable::ColSpare; ++col) {
                if (table.cellText(row, col) != from.table().cellText(row, col))
                    table.setCellText(row, col, from.table().cellText(row, col));
            }
        }
        table.goHome();
    }
    to.setDescription(from.description());
    to.setFittingRows(from.fittingRows());
}

std::string quotedRouteName(std::string_view name)
{
    return "route \"" + oneLineName(name) + '"';
}

Project Project::copy() const
{
    Project other;
    other.job = job;
    other.settings = settings;
    other.fanItems = fanItems;
    other.safetyFactor = safetyFactor;
    for (const ProjectRoute &route : routes) {
        ProjectRoute &copied = other.routes.emplace_back();
        copied.name = route.name;
        copied.takeoff = route.takeoff;
        copied.material = route.material;
        copyRouteContent(*route.document, *copied.document);
        copied.document->marks().reset();
        copied.document->markSaved();
    }
    return other;
}

std::size_t Project::memorySize() const
{
    std::size_t size = sizeof(Project) + job.notes.size();
    for (const FanItem &item : fanItems)
        size += sizeof(FanItem) + item.name.size() + item.pressure.size();
    for (const ProjectRoute &route : routes)
        size += sizeof(ProjectRoute) + sizeof(RouteDocument) + route.name.size() +
                route.document->fileTextSize();
    return size;
}

bool Project::fitsClassicRoute() const
{
    return routes.size() == 1 && job.isEmpty() && fanItems.empty() && safetyFactor.empty() &&
           settings == method::Settings{} && routes.front().material.empty();
}

method::Settings Project::routeSettings(std::size_t index) const
{
    return method::forRoute(settings, routes[index].material);
}

std::optional<std::size_t> Project::routeIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < routes.size(); ++i) {
        if (routes[i].name == name)
            return i;
    }
    return std::nullopt;
}

void Project::renameRoute(std::size_t index, const std::string &name)
{
    const std::string old = routes.at(index).name;
    for (ProjectRoute &route : routes) {
        if (route.takeoff && route.takeoff->route == old)
            route.takeoff->route = name;
    }
    routes[index].name = name;
}

std::vector<std::size_t> Project::branchesOf(std::size_t index) const
{
    const std::vector<std::optional<std::size_t>> parentOf = parents();
    std::vector<std::size_t> branches;
    for (std::size_t i = 0; i < routes.size(); ++i) {
        // Up the chain of take-offs, at most once round every route.
        std::optional<std::size_t> up = parentOf[i];
        for (std::size_t steps = 0; up && *up != index && steps < routes.size(); ++steps)
            up = parentOf[*up];
        if (i != index && up == index)
            branches.push_back(i);
    }
    return branches;
}

void Project::removeRoute(std::size_t index)
{
    std::vector<std::size_t> gone = branchesOf(index);
    gone.push_back(index);
    std::sort(gone.rbegin(), gone.rend());
    for (const std::size_t i : gone)
        routes.erase(routes.begin() + static_cast<std::ptrdiff_t>(i));
}

std::string Project::unusedName(const std::string &base) const
{
    std::string name = base;
    for (int number = 2; routeIndex(name); ++number)
        name = base + ' ' + std::to_string(number);
    return name;
}

ProjectRoute &Project::insertBranch(std::size_t index, std::size_t from, const std::string &name)
{
    const RouteTable &table = routes.at(from).document->table();
    Takeoff takeoff{routes[from].name, std::max<int>(table.lastUsedRow(1), 1)};
    ProjectRoute &route = *routes.emplace(routes.begin() + static_cast<std::ptrdiff_t>(index));
    route.name = name;
    route.takeoff = std::move(takeoff);
    return route;
}

std::vector<std::optional<std::size_t>> Project::parents() const
{
    std::unordered_map<std::string_view, std::size_t> byName;
    for (std::size_t i = 0; i < routes.size(); ++i)
        byName.emplace(routes[i].name, i);
    std::vector<std::optional<std::size_t>> parents(routes.size());
    for (std::size_t i = 1; i < routes.size(); ++i) {
        if (!routes[i].takeoff)
            continue;
        if (const auto found = byName.find(routes[i].takeoff->route); found != byName.end())
            parents[i] = found->second;
    }
    return parents;
}

std::vector<std::size_t> Project::fanFirstOrder() const
{
    if (routes.empty())
        return {};
    const std::vector<std::optional<std::size_t>> parentOf = parents();
    std::vector<std::vector<std::size_t>> children(routes.size());
    for (std::size_t i = 1; i < routes.size(); ++i) {
        if (parentOf[i])
            children[*parentOf[i]].push_back(i);
    }
    // Breadth first from the root: every route reached is reached through
    // its one parent, after it.
    std::vector<std::size_t> order{0};
    for (std::size_t next = 0; next < order.size(); ++next) {
        for (const std::size_t child : children[order[next]])
            order.push_back(child);
    }
    return order;
}

std::optional<std::string> Project::structureError() const
{
    if (routes.empty())
        return "the project has no route";
    if (routes.size() > MaxRoutes)
        return "the project has " + std::to_string(routes.size()) + " routes, more than the " +
               std::to_string(MaxRoutes) + " a project may hold";
    std::unordered_map<std::string_view, std::size_t> byName;
    for (const ProjectRoute &route : routes) {
        if (route.name.empty())
            return "a route has no name";
        if (!byName.emplace(route.name, 0).second)
            return "two routes are named \"" + oneLineName(route.name) + '"';
    }
    if (routes.front().takeoff)
        return quotedRouteName(routes.front().name) +
               " is the first route, which starts at the fan, and cannot take off another route";
    for (std::size_t i = 1; i < routes.size(); ++i) {
        const ProjectRoute &route = routes[i];
        if (!route.takeoff)
            return quotedRouteName(route.name) +
                   " has no take-off: only the first route starts at the fan";
        const std::string from = quotedRouteName(route.takeoff->route);
        if (!routeIndex(route.takeoff->route))
            return quotedRouteName(route.name) + " takes off " + from +
                   ", which the project does not have";
        if (!RouteTable::isDataRow(route.takeoff->row))
            return quotedRouteName(route.name) + " takes off after row " +
                   std::to_string(route.takeoff->row) + " of " + from +
                   ", which has no such row (rows 1 to 60)";
    }
    const std::vector<std::size_t> order = fanFirstOrder();
    if (order.size() < routes.size()) {
        std::vector<bool> reached(routes.size());
        for (const std::size_t i : order)
            reached[i] = true;
        for (std::size_t i = 0; i < routes.size(); ++i) {
            if (!reached[i])
                return quotedRouteName(routes[i].name) +
                       " takes off in a loop: its chain of take-offs never reaches the fan";
        }
    }
    return std::nullopt;
}

} // namespace plenix
