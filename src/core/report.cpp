// SPDX-License-Identifier: GPL-3.0-or-later
#include "report.h"

#include "airflow.h"
#include "calculation/darcy.h"
#include "calculation/materials.h"
#include "numbertext.h"
#include "routedocument.h"
#include "tableexport.h"

#include <algorithm>
#include <cstdio>

namespace plenix {

namespace {

using Col = RouteTable::Column;

std::string numberText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// The formulas as the calculation applies them, from its own constants.
std::vector<std::string> constantLines()
{
    using namespace airflow;
    const std::string pi = numberText(Pi);
    const std::string feet = "(D / " + numberText(InchesPerFoot) + ")";
    return {
        "Units: flow Q in cfm, diameter D in in, length L in ft, velocity V in fpm, "
        "pressures in in wg.",
        "Air: standard air, 0.075 lb/ft\u00b3 (dry air at 70 \u00b0F and sea level).",
        "Velocity: V = " + numberText(VelocityFactor) + " \u00d7 Q / (" + pi + " \u00d7 " + feet +
            "\u00b2).",
        "Velocity pressure: VP = (V / " + numberText(StandardAirVelocity) + ")\u00b2.",
        "Duct friction: loss = " + numberText(FrictionCoefficient) +
            " \u00d7 Qty \u00d7 L \u00d7 Q^" + numberText(FlowExponent) + " / D^" +
            numberText(DiameterExponent) + ".",
        "Fittings: loss = Qty \u00d7 VP \u00d7 Loss Coef. Route SP adds the item losses as "
        "shown, from the first row down.",
    };
}

// The runs of a material of their own, by material in the order first
// used: "Rows 3, 9: Flexible duct, fully extended, roughness 0.003 ft
// (source)."
std::vector<std::string> rowMaterialLines(const darcy::RouteFigures &figures, units::System system,
                                          bool &flexible)
{
    std::vector<std::pair<const materials::Material *, std::vector<int>>> used;
    for (std::size_t i = 0; i < figures.rows.size(); ++i) {
        const darcy::RowFigures &row = figures.rows[i];
        const materials::Material *material =
            row.isDuct && !row.material.empty() ? materials::find(row.material) : nullptr;
        if (material == nullptr)
            continue;
        auto entry = std::ranges::find(used, material, [](const auto &e) { return e.first; });
        if (entry == used.end())
            entry = used.insert(used.end(), {material, {}});
        entry->second.push_back(static_cast<int>(i) + 1);
    }
    std::vector<std::string> lines;
    for (const auto &[material, rows] : used) {
        std::string line = rowsText(rows);
        line[0] = 'R';
        lines.push_back(line + ": " + material->name + ", roughness " +
                        shortText(material->roughness(system), 6) + " " +
                        std::string(units::symbol(units::Quantity::Roughness, system)) + " (" +
                        material->source + ").");
        flexible = flexible || material->flexible;
    }
    return lines;
}

// The Darcy-Colebrook method's basis: units, air, materials with their
// sources, and the formulas.
std::vector<std::string> darcyConstantLines(const method::Settings &settings,
                                            const darcy::RouteFigures &figures)
{
    using units::Quantity;
    const units::System system = settings.units;
    const bool ip = system == units::System::InchPound;
    const auto unit = [system](Quantity quantity) {
        return std::string(units::symbol(quantity, system));
    };
    const std::string degrees = ip ? " \u00b0F" : " \u00b0C";
    const std::string density = ip ? " lb/ft\u00b3" : " kg/m\u00b3";
    const air::State air = air::state(settings.air, system);
    std::string airLine = "Air: ";
    switch (settings.air.basis) {
    case air::Basis::Standard:
        airLine += "standard air, " + shortText(air.density, 6) + density + " (" +
                   shortText(air::standardTemperature(system), 6) + degrees +
                   ", sea level); Re = " + (ip ? "8.56" : "66.4") + " \u00d7 D \u00d7 V.";
        break;
    case air::Basis::Site:
        airLine += shortText(air.density, 5) + density + " at " +
                   shortText(settings.air.elevation, 6) + " " + unit(Quantity::Length) + " and " +
                   shortText(settings.air.temperature, 6) + degrees +
                   " (standard-atmosphere pressure and the ideal gas); viscosity " +
                   shortText(air.viscosity, 4) + (ip ? " lb/(ft s)" : " Pa s") +
                   " by Sutherland's law; Re = \u03c1 V D / \u03bc.";
        break;
    case air::Basis::Typed:
        airLine += shortText(air.density, 6) + density + " as given; viscosity " +
                   shortText(air.viscosity, 4) + (ip ? " lb/(ft s)" : " Pa s") + " at " +
                   shortText(air::standardTemperature(system), 6) + degrees +
                   "; Re = \u03c1 V D / \u03bc.";
        break;
    }
    std::string materialLine = "Material: " + method::materialName(settings) + ", roughness " +
                               shortText(method::roughness(settings), 6) + " " +
                               unit(Quantity::Roughness);
    const materials::Material *material =
        settings.roughness
            ? nullptr
            : materials::find(settings.material.empty() ? materials::DefaultMaterial
                                                        : std::string_view(settings.material));
    if (material)
        materialLine += " (" + material->source + ")";
    materialLine += ".";
    std::vector<std::string> lines{
        "Method: Darcy-Weisbach, the friction factor f solved from the Colebrook-White equation "
        "(f = 64 / Re below Re 2300).",
        "Units: flow Q in " + method::flowSymbol(settings) + ", sizes in " + unit(Quantity::Size) +
            ", length L in " + unit(Quantity::Length) + ", velocity V in " +
            unit(Quantity::Velocity) + ", pressures in " + unit(Quantity::Pressure) + ".",
        airLine,
        materialLine,
    };
    bool flexible = material != nullptr && material->flexible;
    for (std::string &line : rowMaterialLines(figures, system, flexible))
        lines.push_back(std::move(line));
    lines.insert(
        lines.end(),
        {std::string("Velocity: V = Q / A, A the real free area; VP = ") +
             (ip ? "(\u03c1 / 0.075) \u00d7 (V / 4005)\u00b2." : "\u03c1 \u00d7 V\u00b2 / 2."),
         "Duct friction: loss = Qty \u00d7 f \u00d7 (L / De) \u00d7 VPe, at the velocity, Re and "
         "VP of the round duct of the equivalent diameter De carrying the same flow.",
         "Equivalent diameter: rectangle a \u00d7 b, De = 1.30 (a b)^0.625 / (a + b)^0.25 "
         "(Huebscher); flat oval, De = 1.55 A^0.625 / P^0.25.",
         "Fittings: loss = Qty \u00d7 VP \u00d7 Loss Coef. Losses are total-pressure losses; "
         "Route SP adds them unrounded."});
    if (flexible)
        lines.push_back("Flexible duct: the figures hold for duct fully extended; compressed "
                        "flexible duct loses several times more.");
    return lines;
}

std::vector<std::string> descriptionLines(std::string_view stored)
{
    // A stored description breaks lines with CR LF; a lone CR or LF read
    // from a file breaks one too.
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n')
            ++i;
        lines.push_back(utf8FromStored(line));
        line.clear();
    }
    if (!line.empty() || lines.empty())
        lines.push_back(utf8FromStored(line));
    return lines;
}

} // namespace

ReportContent reportContent(const RouteDocument &document)
{
    const int firstStaleRow = document.marks().firstStaleRow();
    const RouteTable &table = document.table();
    ReportContent report;
    report.routeName = document.isUntitled() ? std::string(UntitledName) : document.name();
    report.path = document.path();
    if (!document.description().empty())
        report.descriptionLines = descriptionLines(document.description());
    report.pressureUnit = units::symbol(units::Quantity::Pressure, document.method().units);
    const method::Settings &settings = document.method();
    const darcy::RouteFigures figures =
        settings.isClassic() ? darcy::RouteFigures{} : darcy::routeFigures(table, settings);
    report.constants =
        settings.isClassic() ? constantLines() : darcyConstantLines(settings, figures);
    for (std::size_t i = 0; i < report.headers.size(); ++i)
        report.headers[i] = utf8FromStored(table.cellText(0, static_cast<int>(i) + 1));
    for (const std::string &line : fittings::reportLines(table, document.fittingRows()))
        report.fittings.push_back(utf8FromStored(line));

    const Int16 lastRow = table.lastUsedRow(1);
    for (Int16 number = 1; number <= lastRow; ++number) {
        ReportRow row;
        row.number = number;
        bool empty = true;
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            row.cells[i] = utf8FromStored(table.cellText(number, static_cast<int>(i) + 1));
            empty = empty && row.cells[i].empty();
        }
        if (empty)
            continue;
        // A component of the library is an item too: it adds its pressure.
        const std::vector<fittings::RowFitting> &fittingRows = document.fittingRows();
        const bool component = static_cast<std::size_t>(number) <= fittingRows.size() &&
                               fittingRows[static_cast<std::size_t>(number - 1)].pressure;
        const bool item = !table.cellText(number, Col::ColLength).empty() ||
                          !table.cellText(number, Col::ColLossCoef).empty() || component;
        row.kind = item ? ReportRowKind::Item : ReportRowKind::Text;
        row.stale = firstStaleRow != 0 && number >= firstStaleRow;
        if (!row.stale && static_cast<std::size_t>(number) <= figures.rows.size())
            row.figures = darcy::figuresTip(figures.rows[static_cast<std::size_t>(number - 1)],
                                            settings.units);
        report.outOfDate = report.outOfDate || row.stale;
        report.rows.push_back(std::move(row));
    }
    if (lastRow > 0)
        report.total = utf8FromStored(table.cellText(lastRow, Col::ColRouteSP));
    return report;
}

} // namespace plenix
