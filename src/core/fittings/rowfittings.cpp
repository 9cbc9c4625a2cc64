// SPDX-License-Identifier: GPL-3.0-or-later
#include "fittings/rowfittings.h"

#include "airflow.h"
#include "calculation/darcy.h"
#include "calculation/ductsection.h"
#include "charset.h"
#include "fittings/lookup.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <variant>

namespace plenix::fittings {

namespace {

using Col = RouteTable::Column;

constexpr std::string_view Separator = ", ";

bool startsWithWords(std::string_view text, std::string_view words)
{
    return text.size() >= words.size() && equalsIgnoringCase(text.substr(0, words.size()), words);
}

// Whether the description begins with the name, as a whole segment.
bool namesFitting(std::string_view description, std::string_view name)
{
    if (!startsWithWords(description, name))
        return false;
    const std::string_view rest = description.substr(name.size());
    return rest.empty() || rest.starts_with(Separator);
}

// The pressure units a component's segment may give, as factors to in wg.
struct PressureUnit
{
    std::string_view symbol;
    units::System system;
};
constexpr std::array<PressureUnit, 2> PressureUnits{{
    {"in wg", units::System::InchPound},
    {"Pa", units::System::SI},
}};

// A component's "0.25 in wg" in the project's units; nothing when the
// segment is no pressure.
std::optional<double> readPressure(std::string_view segment, units::System units)
{
    for (const PressureUnit &unit : PressureUnits) {
        if (segment.size() <= unit.symbol.size() + 1 ||
            !startsWithWords(segment.substr(segment.size() - unit.symbol.size()), unit.symbol) ||
            segment[segment.size() - unit.symbol.size() - 1] != ' ')
            continue;
        const std::optional<double> value =
            readValue(segment.substr(0, segment.size() - unit.symbol.size() - 1));
        if (!value)
            return std::nullopt;
        return unit.system == units
                   ? *value
                   : units::convert(*value, units::Quantity::Pressure, unit.system);
    }
    return std::nullopt;
}

bool looksNumeric(std::string_view segment)
{
    return !segment.empty() &&
           std::string_view("0123456789+-.").find(segment.front()) != std::string_view::npos;
}

// A parameter's segment: its name, a blank, the value and, optionally, its
// unit. Nothing when the segment is another parameter's or a note.
std::optional<std::string_view> valueTextOf(std::string_view segment, const Parameter &parameter)
{
    if (!startsWithWords(segment, parameter.name) || segment.size() <= parameter.name.size() ||
        segment[parameter.name.size()] != ' ')
        return std::nullopt;
    std::string_view value = segment.substr(parameter.name.size() + 1);
    if (!parameter.unit.empty() && value.size() > parameter.unit.size() &&
        value.ends_with(parameter.unit) && value[value.size() - parameter.unit.size() - 1] == ' ')
        value.remove_suffix(parameter.unit.size() + 1);
    return value;
}

struct Sides
{
    int upstream = 0;   // the row above the fitting, 0 for none
    int downstream = 0; // the first row at or after it that gives a section
};

Sides sidesOf(const std::vector<RowGeometry> &geometry, int row)
{
    Sides sides;
    sides.upstream = row - 1;
    for (int below = row; below <= static_cast<int>(geometry.size()); ++below) {
        if (geometry[static_cast<std::size_t>(below - 1)].givesSection) {
            sides.downstream = below;
            break;
        }
    }
    return sides;
}

const RowGeometry *geometryAt(const std::vector<RowGeometry> &geometry, int row)
{
    if (row < 1 || row > static_cast<int>(geometry.size()))
        return nullptr;
    return &geometry[static_cast<std::size_t>(row - 1)];
}

// The junction a tee on this row belongs to: the route's own take-off for a
// branch coefficient, the nearest take-off at or above the row for a main
// one.
const Junction *junctionOf(const Fitting &fitting, const RouteContext &context, int row)
{
    if (fitting.leg == Fitting::Leg::Branch)
        return context.asBranch ? &*context.asBranch : nullptr;
    if (fitting.leg != Fitting::Leg::Main)
        return nullptr;
    const Junction *nearest = nullptr;
    int nearestRow = 0;
    for (const auto &[takeoffRow, junction] : context.takeoffs) {
        if (takeoffRow <= row && takeoffRow > nearestRow) {
            nearest = &junction;
            nearestRow = takeoffRow;
        }
    }
    return nearest;
}

// A derived value, when the geometry or the junction gives one.
std::optional<double> derivedValue(const Parameter &parameter,
                                   const std::vector<RowGeometry> &geometry, int row,
                                   const Junction *junction, units::System units)
{
    const RowGeometry &here = geometry[static_cast<std::size_t>(row - 1)];
    if (parameter.derive == "faceArea" && here.area > 0) {
        const double metresPerSize =
            units == units::System::InchPound ? units::MillimetresPerInch / 1000 : 1e-3;
        return here.area * metresPerSize * metresPerSize;
    }
    if (parameter.derive == "reynolds" && here.reynolds > 0)
        return here.reynolds;
    if (parameter.derive == "aspectRatio" && here.aspectRatio > 0)
        return here.aspectRatio;
    if (parameter.derive == "areaChange") {
        const Sides sides = sidesOf(geometry, row);
        const RowGeometry *up = geometryAt(geometry, sides.upstream);
        const RowGeometry *down = geometryAt(geometry, sides.downstream);
        if (up != nullptr && down != nullptr && up->area > 0 && down->area > 0)
            return up->area / down->area;
    }
    if (junction != nullptr && parameter.derive == "branchFlowRatio" && junction->combinedFlow != 0)
        return junction->branchFlow / junction->combinedFlow;
    if (junction != nullptr && parameter.derive == "branchAreaRatio" &&
        junction->combinedArea > 0 && junction->branchArea > 0)
        return junction->branchArea / junction->combinedArea;
    return std::nullopt;
}

double referenceVp(const Fitting &fitting, const std::vector<RowGeometry> &geometry, int row,
                   const Junction *junction)
{
    const double own = geometry[static_cast<std::size_t>(row - 1)].velocityPressure;
    const Sides sides = sidesOf(geometry, row);
    switch (fitting.vpReference) {
    case VpReference::Own:
        return own;
    case VpReference::Upstream:
        if (const RowGeometry *up = geometryAt(geometry, sides.upstream); up != nullptr)
            return up->velocityPressure;
        return own;
    case VpReference::Downstream:
        if (const RowGeometry *down = geometryAt(geometry, sides.downstream); down != nullptr)
            return down->velocityPressure;
        return own;
    case VpReference::Main:
        return junction != nullptr ? junction->combinedVp : own;
    case VpReference::Branch:
        return junction != nullptr ? junction->branchVp : own;
    }
    return own;
}

std::string pressureTextIn(double pressure, units::System units)
{
    return valueText(pressure) + ' ' + std::string(units::symbol(units::Quantity::Pressure, units));
}

} // namespace

std::optional<DescribedFitting> readDescription(const Library &library,
                                                std::string_view description, units::System units)
{
    const Fitting *named = nullptr;
    for (const Fitting &fitting : library.fittings) {
        if (namesFitting(description, fitting.name) &&
            (named == nullptr || fitting.name.size() > named->name.size()))
            named = &fitting;
    }
    if (named == nullptr)
        return std::nullopt;
    DescribedFitting described;
    described.fitting = named;
    described.given.resize(named->parameters.size());
    std::string_view rest = description.substr(named->name.size());
    while (rest.starts_with(Separator)) {
        rest.remove_prefix(Separator.size());
        const std::size_t end = std::min(rest.find(Separator), rest.size());
        const std::string_view segment = rest.substr(0, end);
        rest.remove_prefix(end);
        if (named->kind == Fitting::Kind::Pressure) {
            if (const std::optional<double> pressure = readPressure(segment, units))
                described.pressure = pressure;
            else if (looksNumeric(segment) && described.fault.empty())
                described.fault = "'" + std::string(segment) + "' is no pressure in in wg or Pa";
            continue;
        }
        for (std::size_t index = 0; index < named->parameters.size(); ++index) {
            const std::optional<std::string_view> text =
                valueTextOf(segment, named->parameters[index]);
            if (!text)
                continue;
            described.given[index] = readValue(*text);
            if (!described.given[index] && described.fault.empty())
                described.fault = "'" + std::string(segment) + "' cannot be read";
            break;
        }
    }
    // A component's name alone ("Grille") is a row of the engineer's own,
    // with a coefficient typed; the library's component gives a pressure.
    if (named->kind == Fitting::Kind::Pressure && !described.pressure && described.fault.empty())
        return std::nullopt;
    return described;
}

std::string describe(const Fitting &fitting, const std::vector<std::optional<double>> &given)
{
    std::string text = fitting.name;
    for (std::size_t index = 0; index < fitting.parameters.size() && index < given.size();
         ++index) {
        if (!given[index])
            continue;
        const Parameter &parameter = fitting.parameters[index];
        text += std::string(Separator) + parameter.name + ' ' + valueText(*given[index]) +
                (parameter.unit.empty() ? "" : " " + parameter.unit);
    }
    return text;
}

std::string describeComponent(const Fitting &fitting, double pressure, units::System units)
{
    return fitting.name + std::string(Separator) + pressureTextIn(pressure, units);
}

Pick pick(const Fitting &fitting, const std::vector<std::string> &texts, units::System units)
{
    Pick result;
    const auto textAt = [&texts](std::size_t index) {
        return index < texts.size() ? std::string_view(texts[index]) : std::string_view();
    };
    if (fitting.kind == Fitting::Kind::Pressure) {
        const std::optional<double> pressure = readValue(textAt(0));
        if (!pressure) {
            result.problem = "Type the pressure from the maker's data";
            return result;
        }
        result.description = describeComponent(fitting, *pressure, units);
        result.summary = "A fixed loss of " + pressureTextIn(*pressure, units);
        return result;
    }
    std::vector<std::optional<double>> given(fitting.parameters.size());
    std::vector<double> values = defaultValues(fitting);
    for (std::size_t index = 0; index < given.size(); ++index) {
        const std::string_view text = textAt(index);
        if (text.find_first_not_of(' ') == std::string_view::npos)
            continue;
        given[index] = readValue(text);
        if (!given[index]) {
            result.problem = fitting.parameters[index].name + ": type a number";
            return result;
        }
        values[index] = *given[index];
    }
    const Evaluation evaluation = evaluate(fitting, values);
    result.description = describe(fitting, given);
    result.coefficient = coefficientText(evaluation.coefficient);
    result.summary = "C " + result.coefficient + " on the velocity pressure of " +
                     std::string(vpReferenceText(fitting.vpReference));
    for (const Clamp &clamp : evaluation.clamps)
        result.clamps.push_back(clampText(fitting, clamp));
    return result;
}

std::vector<std::string> fieldTexts(const Fitting &fitting, std::string_view description,
                                    units::System units)
{
    const std::optional<DescribedFitting> described =
        readDescription(builtIn(), description, units);
    const bool same = described && described->fitting == &fitting;
    if (fitting.kind == Fitting::Kind::Pressure)
        return {same && described->pressure ? valueText(*described->pressure) : std::string()};
    std::vector<std::string> texts(fitting.parameters.size());
    for (std::size_t index = 0; index < texts.size(); ++index) {
        const Parameter &parameter = fitting.parameters[index];
        if (same && described->given[index])
            texts[index] = valueText(*described->given[index]);
        else if (parameter.derive.empty())
            texts[index] = valueText(parameter.byDefault);
    }
    return texts;
}

std::vector<RowGeometry> routeGeometry(const RouteTable &table, const method::Settings &settings)
{
    std::vector<RowGeometry> rows;
    const Int16 lastRow = table.lastUsedRow(1);
    rows.reserve(static_cast<std::size_t>(std::max<int>(lastRow, 0)));
    if (settings.isClassic()) {
        float flow = 0;
        float diameter = 0;
        for (Int16 row = 1; row <= lastRow; ++row) {
            RowGeometry &here = rows.emplace_back();
            if (const std::string &text = table.cellText(row, Col::ColFlow); !text.empty())
                flow = toSingle(numberFromText(text));
            if (const std::string &text = table.cellText(row, Col::ColDiameter); !text.empty()) {
                diameter = toSingle(numberFromText(text));
                here.givesSection = true;
            }
            const float speed = velocity(flow, diameter);
            here.flow = flow;
            here.area = diameter > 0 ? std::numbers::pi * diameter * diameter / 4 : 0;
            here.velocityPressure = velocityPressure(speed);
            // Standard air, as the classic method has it: Re = 8.56 D V.
            here.reynolds = diameter > 0 ? std::fabs(8.56 * diameter * speed) : 0;
        }
        return rows;
    }
    double flow = 0;
    std::optional<section::Section> section;
    for (Int16 row = 1; row <= lastRow; ++row) {
        RowGeometry &here = rows.emplace_back();
        if (const std::string &text = table.cellText(row, Col::ColFlow); !text.empty())
            flow = numberFromText(text);
        if (const std::string &text = table.cellText(row, Col::ColDiameter); !text.empty()) {
            const auto read = section::readSection(text);
            if (std::holds_alternative<section::SectionError>(read))
                return {};
            section = std::get<section::Section>(read);
            here.givesSection = true;
        }
        here.flow = flow;
        if (!section)
            continue;
        const darcy::SectionFlow figures = darcy::sectionFlow(flow, *section, settings);
        here.area = section->area();
        here.velocityPressure = figures.velocityPressure;
        here.reynolds = std::fabs(figures.reynolds);
        if (section->shape == section::Shape::Rectangular)
            here.aspectRatio = section->height / section->width;
    }
    return rows;
}

std::vector<RowFitting> resolveRows(const RouteTable &table,
                                    const std::vector<RowGeometry> &geometry,
                                    const RouteContext &context)
{
    std::vector<RowFitting> rows(geometry.size());
    for (int row = 1; row <= static_cast<int>(geometry.size()); ++row) {
        const std::optional<DescribedFitting> described =
            readDescription(builtIn(), table.cellText(row, Col::ColDescription), context.units);
        if (!described)
            continue;
        RowFitting &out = rows[static_cast<std::size_t>(row - 1)];
        const Fitting &fitting = *described->fitting;
        out.fitting = &fitting;
        out.description = table.cellText(row, Col::ColDescription);
        out.fault = described->fault;
        out.reference = fitting.vpReference;
        if (!out.fault.empty())
            continue;
        if (fitting.kind == Fitting::Kind::Pressure) {
            out.pressure = described->pressure;
            continue;
        }
        const Junction *junction = junctionOf(fitting, context, row);
        out.atJunction = junction != nullptr;
        std::vector<double> values = defaultValues(fitting);
        out.derived.assign(values.size(), false);
        for (std::size_t index = 0; index < values.size(); ++index) {
            if (const std::optional<double> derived = derivedValue(
                    fitting.parameters[index], geometry, row, junction, context.units)) {
                values[index] = *derived;
                out.derived[index] = true;
            } else if (described->given[index]) {
                values[index] = *described->given[index];
            }
        }
        const Evaluation evaluation = evaluate(fitting, values);
        out.clamps = evaluation.clamps;
        for (const Clamp &clamp : evaluation.clamps)
            values[clamp.parameter] = clamp.used;
        out.values = std::move(values);
        out.coefficient = evaluation.coefficient;
        out.velocityPressure = referenceVp(fitting, geometry, row, junction);
    }
    return rows;
}

RowLosses rowLosses(const std::vector<RowFitting> &rows)
{
    RowLosses losses(rows.size());
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const RowFitting &row = rows[index];
        if (row.fitting == nullptr || !row.fault.empty())
            continue;
        if (row.fitting->kind == Fitting::Kind::Pressure) {
            losses[index].fixedLoss = row.pressure;
            continue;
        }
        losses[index].fitted = true;
        losses[index].velocityPressure = row.velocityPressure;
    }
    return losses;
}

void writeCoefficients(RouteTable &table, const std::vector<RowFitting> &rows)
{
    RouteTable::Batch batch(table);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const RowFitting &row = rows[index];
        if (row.fitting == nullptr || !row.fault.empty())
            continue;
        const int at = static_cast<int>(index) + 1;
        table.setCellText(at, Col::ColLossCoef,
                          row.fitting->kind == Fitting::Kind::Pressure
                              ? std::string()
                              : coefficientText(row.coefficient));
    }
}

const RowFitting *currentFitting(const RouteTable &table, const std::vector<RowFitting> &rows,
                                 int row)
{
    if (row < 1 || static_cast<std::size_t>(row) > rows.size())
        return nullptr;
    const RowFitting &fitting = rows[static_cast<std::size_t>(row - 1)];
    if (fitting.fitting == nullptr ||
        fitting.description != table.cellText(row, Col::ColDescription))
        return nullptr;
    return &fitting;
}

std::string rowTip(const RouteTable &table, const std::vector<RowFitting> &rows, int row,
                   units::System units)
{
    const RowFitting *fitting = currentFitting(table, rows, row);
    if (fitting == nullptr) {
        const bool named =
            readDescription(builtIn(), table.cellText(row, Col::ColDescription), units).has_value();
        if (!named && !table.cellText(row, Col::ColLossCoef).empty())
            return "Typed coefficient: no source";
        return {};
    }
    const Fitting &named = *fitting->fitting;
    std::string tip = named.name + "\n" + named.source;
    if (!fitting->fault.empty())
        return tip + "\n" + fitting->fault;
    if (named.kind == Fitting::Kind::Pressure)
        return tip + "\nFixed loss " + pressureTextIn(fitting->pressure.value_or(0), units);
    std::string parameters;
    for (std::size_t index = 0; index < named.parameters.size(); ++index) {
        const Parameter &parameter = named.parameters[index];
        parameters += (parameters.empty() ? "" : ", ") + parameter.name + ' ' +
                      shortText(fitting->values[index], 4) +
                      (parameter.unit.empty() ? "" : " " + parameter.unit) +
                      (fitting->derived[index] ? " (from the route)" : "");
    }
    if (!parameters.empty())
        tip += "\n" + parameters;
    tip += "\nC " + coefficientText(fitting->coefficient) + " on the velocity pressure of " +
           std::string(vpReferenceText(fitting->reference)) + ", " +
           darcy::pressureText(fitting->velocityPressure, units) + ' ' +
           std::string(units::symbol(units::Quantity::Pressure, units));
    if (named.leg != Fitting::Leg::None && !fitting->atJunction)
        tip += "\nNo take-off here: the row's own values are used";
    for (const Clamp &clamp : fitting->clamps)
        tip += "\n" + clampText(named, clamp);
    return tip;
}

std::vector<std::string> reportLines(const RouteTable &table, const std::vector<RowFitting> &rows)
{
    std::vector<std::pair<const Fitting *, std::vector<int>>> used;
    std::vector<int> typed;
    std::vector<std::string> notes;
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const int number = static_cast<int>(index) + 1;
        const RowFitting &row = rows[index];
        if (row.fitting == nullptr) {
            if (!table.cellText(number, Col::ColLossCoef).empty())
                typed.push_back(number);
            continue;
        }
        auto entry = std::ranges::find(used, row.fitting, &decltype(used)::value_type::first);
        if (entry == used.end())
            entry = used.insert(used.end(), {row.fitting, {}});
        entry->second.push_back(number);
        if (!row.fault.empty())
            notes.push_back("Row " + std::to_string(number) + ": " + row.fault + ".");
        for (const Clamp &clamp : row.clamps)
            notes.push_back("Row " + std::to_string(number) + ": " +
                            clampText(*row.fitting, clamp) + ".");
    }
    std::vector<std::string> lines;
    if (!used.empty())
        lines.emplace_back("Each coefficient multiplies the velocity pressure its source names: "
                           "the fitting's own section's, the section upstream or downstream, or "
                           "the combined flow's at the junction.");
    for (const auto &[fitting, numbers] : used)
        lines.push_back(fitting->name + " (" + rowsText(numbers) + "): " + fitting->source + ".");
    if (!typed.empty())
        lines.push_back("Typed coefficients, with no source (" + rowsText(typed) + ").");
    lines.insert(lines.end(), notes.begin(), notes.end());
    return lines;
}

} // namespace plenix::fittings
