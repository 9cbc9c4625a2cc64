// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/projectfile.h"

#include "calculation/materials.h"
#include "charset.h"
#include "fittings/rowfittings.h"
#include "routefile.h"
#include "tableexport.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace plenix {

namespace {

using Json = nlohmann::ordered_json;

struct InputKey
{
    std::string_view key;
    RouteTable::Column column;
};
// A row's input cells in the order the file writes them.
constexpr std::array<InputKey, 6> InputKeys{{
    {"qty", RouteTable::ColQty},
    {"flow", RouteTable::ColFlow},
    {"size", RouteTable::ColDiameter},
    {"length", RouteTable::ColLength},
    {"description", RouteTable::ColDescription},
    {"coef", RouteTable::ColLossCoef},
}};

// The job's keys and the members they fill, in the file's order.
constexpr std::array<std::pair<std::string_view, std::string JobInfo::*>, 9> JobKeys{{
    {"name", &JobInfo::name},
    {"number", &JobInfo::number},
    {"client", &JobInfo::client},
    {"location", &JobInfo::location},
    {"designer", &JobInfo::designer},
    {"checker", &JobInfo::checker},
    {"date", &JobInfo::date},
    {"revision", &JobInfo::revision},
    {"notes", &JobInfo::notes},
}};

// The fitting a row's description names, as keys beside its cells: the
// identifier, and the parameters or the pressure the description gives.
void addFittingKeys(Json &cells, const std::string &description, units::System units)
{
    const std::optional<fittings::DescribedFitting> described =
        fittings::readDescription(fittings::builtIn(), description, units);
    if (!described)
        return;
    cells["fitting"] = described->fitting->id;
    if (described->fitting->kind == fittings::Fitting::Kind::Pressure) {
        if (described->pressure)
            cells["pressure"] = *described->pressure;
        return;
    }
    Json parameters = Json::object();
    for (std::size_t index = 0; index < described->given.size(); ++index) {
        if (described->given[index])
            parameters[described->fitting->parameters[index].id] = *described->given[index];
    }
    if (!parameters.empty())
        cells["parameters"] = std::move(parameters);
}

Json routeJson(const ProjectRoute &route, units::System units)
{
    Json json = Json::object();
    json["name"] = route.name;
    if (route.takeoff)
        json["takeoff"] = Json{{"route", route.takeoff->route}, {"row", route.takeoff->row}};
    if (!route.material.empty())
        json["material"] = route.material;
    json["description"] = utf8FromStored(descriptionForBox(route.document->description()));
    const RouteTable &table = route.document->table();
    Json rows = Json::array();
    for (int row = 1; row <= table.lastUsedRow(1); ++row) {
        Json cells = Json::object();
        for (const InputKey &input : InputKeys) {
            if (const std::string &text = table.cellText(row, input.column); !text.empty())
                cells[std::string(input.key)] = utf8FromStored(text);
        }
        addFittingKeys(cells, table.cellText(row, RouteTable::ColDescription), units);
        rows.push_back(std::move(cells));
    }
    json["rows"] = std::move(rows);
    return json;
}

// A setting's number; a whole one without the ".0" a double would get, as
// people write it.
Json numberJson(double value)
{
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return Json(static_cast<std::int64_t>(value));
    return Json(value);
}

// Only what differs from a classic project is written, so that a project
// saved before the methods existed keeps its bytes.
Json settingsJson(const method::Settings &settings)
{
    Json json = Json{{"method", method::frictionKey(settings.friction)}};
    if (settings.units != units::System::InchPound)
        json["units"] = units::systemKey(settings.units);
    if (settings.flowUnit != units::FlowUnit::LitresPerSecond)
        json["flowUnit"] = units::flowKey(settings.flowUnit);
    if (!settings.material.empty())
        json["material"] = settings.material;
    if (settings.roughness)
        json["roughness"] = numberJson(*settings.roughness);
    switch (settings.air.basis) {
    case air::Basis::Standard:
        break;
    case air::Basis::Site:
        json["air"] = Json{{"elevation", numberJson(settings.air.elevation)},
                           {"temperature", numberJson(settings.air.temperature)}};
        break;
    case air::Basis::Typed:
        json["air"] = Json{{"density", numberJson(settings.air.density)}};
        break;
    }
    return json;
}

// A fault in a file that parsed as JSON: what is wrong, and where.
struct FileFault
{
    std::string where;
    std::string what;
};

std::string codePointName(char32_t ch)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "U+%04X", static_cast<unsigned>(ch));
    return text.data();
}

const Json &member(const Json &object, std::string_view key, const std::string &where)
{
    const auto found = object.find(key);
    if (found == object.end())
        throw FileFault{where, "\"" + std::string(key) + "\" is missing"};
    return *found;
}

const Json &objectAt(const Json &object, std::string_view key, const std::string &where)
{
    const Json &value = member(object, key, where);
    if (!value.is_object())
        throw FileFault{where, "\"" + std::string(key) + "\" must be an object"};
    return value;
}

const Json &arrayAt(const Json &object, std::string_view key, const std::string &where)
{
    const Json &value = member(object, key, where);
    if (!value.is_array())
        throw FileFault{where, "\"" + std::string(key) + "\" must be a list"};
    return value;
}

// Text that may be left out; it then reads as empty.
std::string optionalText(const Json &object, std::string_view key, const std::string &where)
{
    const auto found = object.find(key);
    if (found == object.end())
        return {};
    if (!found->is_string())
        throw FileFault{where, "\"" + std::string(key) + "\" must be text"};
    return found->get<std::string>();
}

std::string requiredText(const Json &object, std::string_view key, const std::string &where)
{
    member(object, key, where);
    return optionalText(object, key, where);
}

double numberAt(const Json &object, std::string_view key, const std::string &where)
{
    const Json &value = member(object, key, where);
    if (!value.is_number())
        throw FileFault{where, "\"" + std::string(key) + "\" must be a number"};
    return value.get<double>();
}

// A material's id, checked against the table.
std::string materialAt(const Json &object, const std::string &where)
{
    std::string id = optionalText(object, "material", where);
    if (!id.empty() && !materials::find(id))
        throw FileFault{where, "the material \"" + oneLineName(id) + "\" is not in the table"};
    return id;
}

method::Settings readSettings(const Json &json)
{
    const std::string where = "settings";
    method::Settings settings;
    const std::string key = requiredText(json, "method", where);
    const std::optional<method::Friction> friction = method::frictionFromKey(key);
    if (!friction || key != method::frictionKey(*friction))
        throw FileFault{where,
                        "the method \"" + oneLineName(key) + "\" is not one this Plenix knows"};
    settings.friction = *friction;
    if (const std::string system = optionalText(json, "units", where); system == "si")
        settings.units = units::System::SI;
    else if (!system.empty() && system != "ip")
        throw FileFault{where,
                        "the units \"" + oneLineName(system) + "\" are not \"ip\" or \"si\""};
    if (const std::string flow = optionalText(json, "flowUnit", where); !flow.empty()) {
        const std::optional<units::FlowUnit> unit = units::flowUnitFromKey(flow);
        if (!unit || flow != units::flowKey(*unit))
            throw FileFault{where, "the flow unit \"" + oneLineName(flow) +
                                       "\" is not \"l/s\", \"m3/h\" or \"m3/s\""};
        settings.flowUnit = *unit;
    }
    settings.material = materialAt(json, where);
    if (json.contains("roughness"))
        settings.roughness = numberAt(json, "roughness", where);
    if (json.contains("air")) {
        const Json &air = objectAt(json, "air", where);
        if (air.contains("density")) {
            settings.air = {air::Basis::Typed, 0, 0, numberAt(air, "density", where)};
        } else {
            settings.air.basis = air::Basis::Site;
            settings.air.elevation = numberAt(air, "elevation", where);
            settings.air.temperature = numberAt(air, "temperature", where);
        }
    }
    if (std::optional<std::string> error = method::settingsError(settings))
        throw FileFault{where, *error};
    return settings;
}

// Text for a route's 8-bit cells and description.
std::string storedText(const std::string &utf8, const std::string &where)
{
    StoredText stored = storedFromUtf8(utf8);
    if (stored.missing)
        throw FileFault{where, "the character " + codePointName(*stored.missing) +
                                   " cannot be kept in a route"};
    return std::move(stored.bytes);
}

// A row with a fitting's keys and no description is given the description
// they say; a row with both keeps its description, which the keys were
// written from.
std::string fittingDescription(const Json &cells, const std::string &where, units::System units)
{
    const Json &id = cells.at("fitting");
    if (!id.is_string())
        throw FileFault{where + ", fitting", "it must be a text"};
    const fittings::Fitting *fitting = fittings::builtIn().find(id.get<std::string>());
    if (fitting == nullptr)
        throw FileFault{where + ", fitting", "the library has no fitting " + id.get<std::string>()};
    if (fitting->kind == fittings::Fitting::Kind::Pressure) {
        const auto pressure = cells.find("pressure");
        if (pressure == cells.end())
            return fitting->name;
        if (!pressure->is_number())
            throw FileFault{where + ", pressure", "it must be a number"};
        return fittings::describeComponent(*fitting, pressure->get<double>(), units);
    }
    std::vector<std::optional<double>> given(fitting->parameters.size());
    if (const auto parameters = cells.find("parameters"); parameters != cells.end()) {
        if (!parameters->is_object())
            throw FileFault{where + ", parameters", "they must be an object"};
        for (const auto &[key, value] : parameters->items()) {
            const std::optional<std::size_t> index = fitting->parameterIndex(key);
            if (!index)
                throw FileFault{where + ", parameters", fitting->id + " has no parameter " + key};
            if (!value.is_number())
                throw FileFault{where + ", parameters, " + key, "it must be a number"};
            given[*index] = value.get<double>();
        }
    }
    return fittings::describe(*fitting, given);
}

void readRows(const Json &rows, const std::string &where, RouteTable &table, units::System units)
{
    if (rows.size() > std::size_t{RouteTable::DataRows})
        throw FileFault{where, "it has " + std::to_string(rows.size()) + " rows; a route holds " +
                                   std::to_string(RouteTable::DataRows)};
    int row = 0;
    for (const Json &cells : rows) {
        ++row;
        const std::string rowWhere = where + ", row " + std::to_string(row);
        if (!cells.is_object())
            throw FileFault{rowWhere, "a row must be an object"};
        for (const InputKey &input : InputKeys) {
            const std::string cellWhere = rowWhere + ", " + std::string(input.key);
            const std::string text =
                storedText(optionalText(cells, input.key, rowWhere), cellWhere);
            // A TAB or CR would split the cell when the route is written as
            // a classic file.
            if (text.find_first_of("\t\r") != std::string::npos)
                throw FileFault{cellWhere, "a cell cannot hold a TAB or a carriage return"};
            table.setCellText(row, input.column, text);
        }
        if (cells.contains("fitting") && table.cellText(row, RouteTable::ColDescription).empty())
            table.setCellText(row, RouteTable::ColDescription,
                              fittingDescription(cells, rowWhere, units));
    }
}

ProjectRoute readRoute(const Json &json, std::size_t index, units::System units)
{
    std::string where = "route " + std::to_string(index + 1);
    if (!json.is_object())
        throw FileFault{where, "a route must be an object"};
    ProjectRoute route;
    route.name = requiredText(json, "name", where);
    where = quotedRouteName(route.name);
    if (const auto takeoff = json.find("takeoff"); takeoff != json.end()) {
        if (!takeoff->is_object())
            throw FileFault{where, "\"takeoff\" must be an object"};
        const Json &row = member(*takeoff, "row", where);
        if (!row.is_number_integer())
            throw FileFault{where, "the take-off's \"row\" must be a whole number"};
        // Held within a range that a huge number cannot overflow, where it
        // still names a row the grid lacks.
        const std::int64_t number =
            row.is_number_unsigned()
                ? static_cast<std::int64_t>(
                      std::min<std::uint64_t>(row.get<std::uint64_t>(), 1000000))
                : std::clamp<std::int64_t>(row.get<std::int64_t>(), -1, 1000000);
        route.takeoff = Takeoff{requiredText(*takeoff, "route", where), static_cast<int>(number)};
    }
    route.material = materialAt(json, where);
    RouteDocument &document = *route.document;
    readRows(arrayAt(json, "rows", where), where, document.table(), units);
    document.setDescription(descriptionForFile(
        storedText(optionalText(json, "description", where), where + ", description")));
    document.table().goHome();
    document.marks().reset();
    document.markSaved();
    return route;
}

Project readProject(const Json &json)
{
    Project project;
    const Json &job = objectAt(json, "job", "job");
    for (const auto &[key, field] : JobKeys)
        project.job.*field = optionalText(job, key, "job");
    const Json &settings = objectAt(json, "settings", "settings");
    project.settings = readSettings(settings);
    const Json &fan = objectAt(json, "fan", "fan");
    for (const Json &item : arrayAt(fan, "items", "fan")) {
        if (!item.is_object())
            throw FileFault{"fan", "an item must be an object"};
        project.fanItems.push_back(
            {requiredText(item, "name", "fan item"), optionalText(item, "pressure", "fan item")});
    }
    project.safetyFactor = optionalText(fan, "safetyFactor", "fan");
    const Json &routes = arrayAt(json, "routes", "routes");
    if (routes.size() > Project::MaxRoutes)
        throw FileFault{"routes", "there are " + std::to_string(routes.size()) +
                                      " routes, more than the " +
                                      std::to_string(Project::MaxRoutes) + " a project may hold"};
    for (std::size_t i = 0; i < routes.size(); ++i)
        project.routes.push_back(readRoute(routes[i], i, project.settings.units));
    return project;
}

// How deep the text's lists and objects nest, outside its strings; counted
// up to one level past the limit.
int nesting(std::string_view text)
{
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size() && deepest <= MaxProjectNesting; ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// The parser's message after its own prefix: "at line L, column C: ..."
// for a syntax error, "number overflow parsing ..." for a number too large.
std::string parseFault(const nlohmann::json::exception &error)
{
    const std::string_view what = error.what();
    std::size_t at = what.find("at line ");
    if (at == std::string_view::npos)
        at = what.find("] ") == std::string_view::npos ? 0 : what.find("] ") + 2;
    return oneLineName(what.substr(at));
}

} // namespace

std::string projectFileText(const Project &project)
{
    Json json = Json::object();
    json["format"] = ProjectFormat;
    json["version"] = ProjectFormatVersion;
    Json job = Json::object();
    for (const auto &[key, field] : JobKeys) {
        // The revision came later: a project without one keeps the bytes it
        // was saved with before.
        if (field != &JobInfo::revision || !project.job.revision.empty())
            job[std::string(key)] = project.job.*field;
    }
    json["job"] = std::move(job);
    json["settings"] = settingsJson(project.settings);
    Json items = Json::array();
    for (const FanItem &item : project.fanItems)
        items.push_back(Json{{"name", item.name}, {"pressure", item.pressure}});
    json["fan"] = Json{{"items", std::move(items)}, {"safetyFactor", project.safetyFactor}};
    Json routes = Json::array();
    for (const ProjectRoute &route : project.routes)
        routes.push_back(routeJson(route, project.settings.units));
    json["routes"] = std::move(routes);
    // Names typed elsewhere may not be UTF-8; they are written with U+FFFD
    // for a bad byte rather than not at all.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

ProjectRead readProjectText(std::string_view text, std::string_view name)
{
    const std::string shown(name);
    if (nesting(text) > MaxProjectNesting)
        return {std::nullopt, shown +
                                  " is not a project file: its lists and objects nest more "
                                  "than " +
                                  std::to_string(MaxProjectNesting) + " levels deep"};
    Json json;
    try {
        json = Json::parse(text);
    } catch (const nlohmann::json::exception &error) {
        return {std::nullopt, shown + " is not a project file: " + parseFault(error)};
    }
    const auto format = json.is_object() ? json.find("format") : json.end();
    if (format == json.end() || !format->is_string() || *format != ProjectFormat)
        return {std::nullopt, shown + " is not a project file: \"format\" is not \"" +
                                  std::string(ProjectFormat) + '"'};
    const auto version = json.find("version");
    if (version == json.end() || !version->is_number_integer() || version->get<std::int64_t>() < 1)
        return {std::nullopt, shown + " is not a project file: \"version\" is not a version"};
    if (version->get<std::int64_t>() > ProjectFormatVersion)
        return {std::nullopt,
                shown + " was made by a newer Plenix (format version " + version->dump() + ")"};
    try {
        Project project = readProject(json);
        if (std::optional<std::string> fault = project.structureError())
            return {std::nullopt, shown + ": " + *fault};
        return {std::move(project), {}};
    } catch (const FileFault &fault) {
        return {std::nullopt, shown + ": " + fault.where + ": " + fault.what};
    }
}

std::optional<Project> projectFromRoute(std::string_view fileText, std::string_view routeName)
{
    Project project;
    ProjectRoute &route = project.routes.emplace_back();
    route.name = routeName;
    if (!route.document->openText(fileText))
        return std::nullopt;
    return project;
}

} // namespace plenix
