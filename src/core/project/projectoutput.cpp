// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/projectoutput.h"

#include "calculation/darcy.h"
#include "numbertext.h"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cmath>

namespace plenix {

namespace {

using Json = nlohmann::ordered_json;

// A caption with the unit of the project's system: "Fan SP, in wg".
std::string withUnit(std::string_view caption, units::Quantity quantity,
                     const method::Settings &settings)
{
    return std::string(caption) + ", " + std::string(units::symbol(quantity, settings.units));
}

// A JSON number, or null for a figure that cannot be worked out.
Json figure(double value)
{
    return std::isfinite(value) ? Json(value) : Json(nullptr);
}

std::string takeoffText(const Project &project, std::size_t route)
{
    const std::optional<Takeoff> &takeoff = project.routes[route].takeoff;
    return takeoff ? takeoff->route + ", after row " + std::to_string(takeoff->row) : "fan";
}

} // namespace

std::string summaryPressureText(double value, const method::Settings &settings)
{
    return settings.isClassic() ? fixedText(value, 2) : darcy::pressureText(value, settings.units);
}

TextRows systemSummaryRows(const Project &project, const SystemFigures &system)
{
    const method::Settings &settings = project.settings;
    const auto pressure = [&](std::string_view caption) {
        return withUnit(caption, units::Quantity::Pressure, settings);
    };
    const auto shown = [&](double value) { return summaryPressureText(value, settings); };
    TextRows rows;
    rows.push_back({"Route", "Takes off", pressure("Start SP"), pressure("Route SP"),
                    pressure("Path SP"), pressure("Excess SP"), "Critical"});
    for (const PathFigures &path : system.paths) {
        rows.push_back({project.routes[path.route].name, takeoffText(project, path.route),
                        shown(path.start), shown(path.total), shown(path.pressure),
                        shown(path.excess), path.route == system.critical ? "critical" : ""});
    }
    const FanFigures &fan = system.fan;
    rows.push_back({});
    rows.push_back(
        {"Fan flow, " + method::flowSymbol(settings), method::flowText(fan.flow, settings)});
    rows.push_back({pressure("Fan-side items"), shown(fan.itemsPressure)});
    rows.push_back({"Safety factor, %", fixedText(fan.safetyFactor, 1)});
    rows.push_back({pressure("Fan SP"), shown(fan.pressure)});
    if (system.takeoffs.empty())
        return rows;
    rows.push_back({});
    rows.push_back({"Branch", "From", "After row", pressure("Branch SP"), pressure("Main SP"),
                    "Lower side", "Ratio", "Balanced flow, " + method::flowSymbol(settings),
                    "Verdict"});
    for (const TakeoffBalance &balance : system.takeoffs) {
        rows.push_back({project.routes[balance.branch].name, project.routes[balance.from].name,
                        std::to_string(balance.row), shown(balance.branchPressure),
                        shown(balance.mainPressure), balance.branchIsLower ? "branch" : "main",
                        fixedText(balance.ratio, 2),
                        method::flowText(balance.balancedFlow, settings),
                        std::string(verdictKey(balance.verdict))});
    }
    return rows;
}

TextRows projectListRows(const Project &project, bool filled)
{
    TextRows rows;
    for (const ProjectRoute &route : project.routes) {
        TextRows list = listRows(route.document->table());
        if (filled)
            list = filledRows(std::move(list));
        if (rows.empty()) {
            rows.push_back(list.front());
            rows.front().insert(rows.front().begin(), "Route");
        }
        for (std::size_t i = 1; i < list.size(); ++i) {
            list[i].insert(list[i].begin(), route.name);
            rows.push_back(std::move(list[i]));
        }
    }
    return rows;
}

bool isSummaryEmphasis(const TextRows &rows, std::size_t row)
{
    // A table's heading follows an empty line; the fan's lines between the
    // two tables are pairs.
    const bool heading = row == 0 || (rows.at(row - 1).empty() && rows[row].size() > 2);
    return heading || (!rows.at(row).empty() && rows[row].back() == "critical");
}

namespace {

// Each fitting row's fitting, as its last Calculate worked it out.
void addFittings(Json &rows, const std::vector<fittings::RowFitting> &fittingRows)
{
    for (std::size_t index = 0; index < rows.size() && index < fittingRows.size(); ++index) {
        const fittings::RowFitting &row = fittingRows[index];
        if (row.fitting == nullptr)
            continue;
        const fittings::Fitting &fitting = *row.fitting;
        Json entry = Json{{"id", fitting.id}};
        if (!row.fault.empty()) {
            entry["fault"] = row.fault;
        } else if (fitting.kind == fittings::Fitting::Kind::Pressure) {
            entry["pressure"] = row.pressure.value_or(0);
        } else {
            Json parameters = Json::object();
            for (std::size_t p = 0; p < fitting.parameters.size(); ++p)
                parameters[fitting.parameters[p].id] = row.values.at(p);
            entry["parameters"] = std::move(parameters);
            entry["coefficient"] = row.coefficient;
            entry["vpReference"] = fittings::vpReferenceKey(row.reference);
            entry["velocityPressure"] = row.velocityPressure;
            Json clamps = Json::array();
            for (const fittings::Clamp &clamp : row.clamps)
                clamps.push_back(fittings::clampText(fitting, clamp));
            entry["clamped"] = !row.clamps.empty();
            entry["clamps"] = std::move(clamps);
        }
        rows[index]["fitting"] = std::move(entry);
    }
}

} // namespace

std::string projectJson(std::string_view file, const Project &project,
                        const ProjectOutcome &outcome)
{
    Json json = Json::object();
    json["file"] = file;
    const JobInfo &job = project.job;
    json["job"] =
        Json{{"name", job.name},         {"number", job.number},     {"client", job.client},
             {"location", job.location}, {"designer", job.designer}, {"checker", job.checker},
             {"date", job.date},         {"revision", job.revision}, {"notes", job.notes}};
    Json routes = Json::array();
    Json messages = Json::array();
    for (std::size_t i = 0; i < project.routes.size(); ++i) {
        const ProjectRoute &route = project.routes[i];
        // The rows exactly as a single route prints them; by Darcy-Colebrook
        // with their figures, which a classic route's list does not hold.
        const method::Settings settings = project.routeSettings(i);
        const TextRows rows = listRows(route.document->table());
        const RowLosses losses = fittings::rowLosses(route.document->fittingRows());
        Json routeJson = Json::parse(
            settings.isClassic()
                ? jsonRoute("", "", rows, "")
                : jsonRoute("", "", rows, "",
                            darcy::routeFigures(route.document->table(), settings, &losses)));
        addFittings(routeJson["rows"], route.document->fittingRows());
        Json entry = Json{{"name", route.name}};
        entry["takeoff"] = route.takeoff
                               ? Json{{"route", route.takeoff->route}, {"row", route.takeoff->row}}
                               : Json(nullptr);
        entry["rows"] = std::move(routeJson["rows"]);
        routes.push_back(std::move(entry));
        if (outcome.routes.at(i).stopped)
            messages.push_back(Json{{"route", route.name}, {"message", outcome.routes[i].message}});
    }
    json["routes"] = std::move(routes);
    if (!project.settings.isClassic()) {
        const method::Settings &settings = project.settings;
        const air::State air = air::state(settings.air, settings.units);
        json["settings"] = Json{{"method", method::frictionKey(settings.friction)},
                                {"units", units::systemKey(settings.units)},
                                {"flowUnit", method::flowSymbol(settings)},
                                {"material", method::materialName(settings)},
                                {"roughness", method::roughness(settings)},
                                {"density", air.density},
                                {"viscosity", air.viscosity}};
    }

    const SystemFigures &system = outcome.system;
    Json paths = Json::array();
    for (const PathFigures &path : system.paths) {
        paths.push_back(Json{{"route", project.routes[path.route].name},
                             {"start", figure(path.start)},
                             {"total", figure(path.total)},
                             {"sp", figure(path.pressure)},
                             {"excess", figure(path.excess)},
                             {"spText", summaryPressureText(path.pressure, project.settings)}});
    }
    Json takeoffs = Json::array();
    for (const TakeoffBalance &balance : system.takeoffs) {
        takeoffs.push_back(Json{{"route", project.routes[balance.branch].name},
                                {"from", project.routes[balance.from].name},
                                {"row", balance.row},
                                {"branchSp", figure(balance.branchPressure)},
                                {"mainSp", figure(balance.mainPressure)},
                                {"lower", balance.branchIsLower ? "branch" : "main"},
                                {"ratio", figure(balance.ratio)},
                                {"balancedFlow", figure(balance.balancedFlow)},
                                {"verdict", verdictKey(balance.verdict)}});
    }
    const FanFigures &fan = system.fan;
    json["system"] =
        Json{{"paths", std::move(paths)},
             {"critical", project.routes.empty() ? "" : project.routes[system.critical].name},
             {"fan", Json{{"flow", figure(fan.flow)},
                          {"sp", figure(fan.pressure)},
                          {"itemsSp", figure(fan.itemsPressure)},
                          {"safetyFactor", figure(fan.safetyFactor)},
                          {"spText", summaryPressureText(fan.pressure, project.settings)}}},
             {"takeoffs", std::move(takeoffs)}};
    if (!messages.empty())
        json["messages"] = std::move(messages);
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace plenix
