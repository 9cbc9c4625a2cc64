// SPDX-License-Identifier: GPL-3.0-or-later
#include "darcy.h"

#include "ductsection.h"
#include "friction.h"
#include "materials.h"
#include "numbertext.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <variant>

namespace plenix::darcy {

namespace {

using Col = RouteTable::Column;
using units::System;

// The unit system's factors from the cells' units to the formulas'.
struct Scale
{
    double areaPerSizeSquared; // ft2 per in2, m2 per mm2
    double lengthPerSize;      // ft per in, m per mm
    double flowPerCell;        // cfm to cfm, the SI unit to m3/s
    double frictionLength;     // the friction rate's length: 100 ft, 1 m
};

Scale scaleOf(const method::Settings &settings)
{
    if (settings.units == System::InchPound)
        return {1.0 / 144, 1.0 / 12, 1, 100};
    return {1e-6, 1e-3, units::litresPerSecondIn(settings.flowUnit) / units::LitresPerCubicMetre,
            1};
}

// Velocity pressure of the air at a velocity: (rho / 0.075) (V / 4005)2 in
// inch-pound units, rho V2 / 2 in SI.
double velocityPressureOf(double velocity, const air::State &air, System system)
{
    if (system == System::InchPound) {
        const double ratio = velocity / 4005;
        return air.density / 0.075 * ratio * ratio;
    }
    return air.density * velocity * velocity / 2;
}

double reynoldsOf(double velocity, double diameter, const air::State &air, System system)
{
    // ASHRAE Handbook - Fundamentals (2017), ch. 21, eq. (21) for standard
    // air; rho V D / mu otherwise, in ft/s and ft or m/s and m.
    if (air.standard)
        return (system == System::InchPound ? 8.56 : 66.4) * diameter * velocity;
    if (system == System::InchPound)
        return air.density * (velocity / 60) * (diameter / 12) / air.viscosity;
    return air.density * velocity * (diameter / 1000) / air.viscosity;
}

std::string unreadableSizeMessage(const std::string &reason, int row)
{
    std::string message = reason;
    message[0] = static_cast<char>(message[0] - 'a' + 'A');
    return message + ".\rInspect row: " + std::to_string(row);
}

// The friction of a section: that of the round duct of its equivalent
// diameter carrying the same flow.
struct EqualFriction
{
    double diameter = 0;       // in or mm
    double diameterLength = 0; // the same in ft or m
    double velocityPressure = 0;
    double reynolds = 0;
    double factor = 0;
    double rate = 0; // per 100 ft or per m; 0 without flow
};

EqualFriction equalFriction(double flow, const section::Section &section, double roughness,
                            const air::State &air, System system, const Scale &scale)
{
    EqualFriction round;
    const double de = section.equivalentDiameter();
    round.diameter = de;
    round.diameterLength = de * scale.lengthPerSize;
    const double area = std::numbers::pi * de * de / 4 * scale.areaPerSizeSquared;
    const double velocity = flow * scale.flowPerCell / area;
    round.velocityPressure = velocityPressureOf(velocity, air, system);
    round.reynolds = reynoldsOf(velocity, de, air, system);
    // The roughness is in ft or mm; the diameter in in or mm.
    const double relativeRoughness =
        system == System::InchPound ? roughness * 12 / de : roughness / de;
    round.factor = friction::darcyFactor(round.reynolds, relativeRoughness);
    if (flow != 0)
        round.rate =
            round.factor * scale.frictionLength / round.diameterLength * round.velocityPressure;
    return round;
}

// A section's own material's roughness, or the route's.
double roughnessOf(const section::Section &section, double routeRoughness, System system)
{
    const materials::Material *own =
        section.material.empty() ? nullptr : materials::find(section.material);
    return own != nullptr ? own->roughness(system) : routeRoughness;
}

void workOutDuct(RowFigures &here, const section::Section &section, Int16 qty, double length,
                 double routeRoughness, const air::State &air, System system, const Scale &scale)
{
    here.isDuct = true;
    here.material = section.material;
    const double roughness = roughnessOf(section, routeRoughness, system);
    here.roughness = roughness;
    const EqualFriction round = equalFriction(here.flow, section, roughness, air, system, scale);
    here.equivalentDiameter = round.diameter;
    here.reynolds = round.reynolds;
    here.frictionFactor = round.factor;
    here.frictionRate = round.rate;
    if (here.flow == 0)
        return;
    here.loss = qty * round.factor * length / round.diameterLength * round.velocityPressure;
    if (!std::isfinite(here.loss))
        here.lossMarker = NumMarker;
}

} // namespace

RunFigures runFigures(double flow, const section::Section &section,
                      const method::Settings &settings)
{
    const System system = settings.units;
    const air::State air = air::state(settings.air, system);
    const Scale scale = scaleOf(settings);
    const EqualFriction round =
        equalFriction(flow, section, roughnessOf(section, method::roughness(settings), system), air,
                      system, scale);
    return {flow * scale.flowPerCell / (section.area() * scale.areaPerSizeSquared), round.rate};
}

SectionFlow sectionFlow(double flow, const section::Section &section,
                        const method::Settings &settings)
{
    const System system = settings.units;
    const air::State air = air::state(settings.air, system);
    const Scale scale = scaleOf(settings);
    SectionFlow figures;
    figures.velocity = flow * scale.flowPerCell / (section.area() * scale.areaPerSizeSquared);
    figures.velocityPressure = velocityPressureOf(figures.velocity, air, system);
    figures.reynolds = reynoldsOf(figures.velocity, section.hydraulicDiameter(), air, system);
    return figures;
}

std::optional<double> staticPressure(const RowFigures &row)
{
    if (!row.hasItem || !row.hasSection || !row.totalMarker.empty())
        return std::nullopt;
    return -(row.total + row.velocityPressure);
}

// Beyond this no duct figure means anything; a cell shows the marker
// rather than a row of digits.
constexpr double LargestShown = 1e15;

std::string velocityText(double velocity, System system)
{
    if (!(std::fabs(velocity) < LargestShown))
        return std::string(NumMarker);
    return fixedText(velocity, system == System::InchPound ? 0 : 2);
}

std::string pressureText(double pressure, System system)
{
    if (!(std::fabs(pressure) < LargestShown))
        return std::string(NumMarker);
    if (system == System::InchPound)
        return fixedText(pressure, 3);
    return fixedText(pressure, std::fabs(pressure) >= 999.95 ? 0 : 1);
}

std::string figuresTip(const RowFigures &row, System system)
{
    if (!row.isDuct || !row.lossMarker.empty() || row.flow == 0)
        return {};
    const bool ip = system == System::InchPound;
    std::string tip = "Re " + fixedText(row.reynolds, 0) + ", f " +
                      shortText(row.frictionFactor, 4) + ", De " +
                      fixedText(row.equivalentDiameter, ip ? 1 : 0) + " " +
                      std::string(units::symbol(units::Quantity::Size, system)) + ", friction " +
                      fixedText(row.frictionRate, ip ? 3 : 2) + " " +
                      std::string(units::symbol(units::Quantity::FrictionRate, system));
    if (const materials::Material *own =
            row.material.empty() ? nullptr : materials::find(row.material))
        tip += "; " + own->name + ", roughness " + shortText(row.roughness, 6) + " " +
               std::string(units::symbol(units::Quantity::Roughness, system));
    return tip;
}

std::string figuresTipAt(const RouteTable &table, const method::Settings &settings, int row)
{
    if (settings.isClassic())
        return {};
    const RouteFigures figures = routeFigures(table, settings);
    if (figures.outcome.stopped || row < 1 || row > static_cast<int>(figures.rows.size()))
        return {};
    return figuresTip(figures.rows[static_cast<std::size_t>(row - 1)], settings.units);
}

RouteFigures routeFigures(const RouteTable &table, const method::Settings &settings,
                          const RowLosses *losses)
{
    RouteFigures figures;
    if (std::optional<CalculationOutcome> stop = separateRowsCheck(table)) {
        figures.outcome = *stop;
        return figures;
    }
    const Int16 lastRow = table.lastUsedRow(1);
    for (Int16 row = 1; row <= lastRow; ++row) {
        if (const std::string &size = table.cellText(row, Col::ColDiameter); !size.empty()) {
            if (const auto read = section::readSection(size);
                std::holds_alternative<section::SectionError>(read)) {
                figures.outcome = {
                    true, row,
                    unreadableSizeMessage(std::get<section::SectionError>(read).message, row)};
                return figures;
            }
        }
    }

    const System system = settings.units;
    const Scale scale = scaleOf(settings);
    const air::State air = air::state(settings.air, system);
    const double roughness = method::roughness(settings);
    double flow = 0;
    std::optional<section::Section> section;
    double total = 0;
    std::string totalMarker;
    for (Int16 row = 1; row <= lastRow; ++row) {
        RowFigures &here = figures.rows.emplace_back();
        if (const std::string &text = table.cellText(row, Col::ColFlow); !text.empty())
            flow = numberFromText(text);
        if (const std::string &text = table.cellText(row, Col::ColDiameter); !text.empty())
            section = std::get<section::Section>(section::readSection(text));
        here.flow = flow;
        here.hasSection = section.has_value();
        const std::string &lengthText = table.cellText(row, Col::ColLength);
        const std::string &lossCoefText = table.cellText(row, Col::ColLossCoef);
        const RowLoss *fitting = rowLossAt(losses, row);
        here.hasItem = !lengthText.empty() || !lossCoefText.empty() ||
                       (fitting != nullptr && fitting->fixedLoss);
        if (here.hasItem) {
            const std::string &qtyText = table.cellText(row, Col::ColQty);
            const std::optional<Int16> qty =
                qtyText.empty() ? std::optional<Int16>(1) : quantityFromText(qtyText);
            if (section) {
                here.velocity =
                    flow * scale.flowPerCell / (section->area() * scale.areaPerSizeSquared);
                here.velocityPressure = velocityPressureOf(here.velocity, air, system);
            }
            const double length = numberFromText(lengthText);
            const double lossCoef = numberFromText(lossCoefText);
            if (!qty)
                here.lossMarker = NumMarker;
            else if (fitting != nullptr && fitting->fixedLoss)
                here.loss = *qty * *fitting->fixedLoss;
            else if (fitting != nullptr && fitting->fitted)
                here.loss =
                    *qty * lossCoef * fitting->velocityPressure.value_or(here.velocityPressure);
            else if (lossCoef > 0)
                here.loss = *qty * lossCoef * here.velocityPressure;
            else if (length != 0 && !section)
                here.lossMarker = DivZeroMarker;
            else if (length != 0 && flow < 0)
                here.lossMarker = NumMarker;
            else if (length != 0)
                workOutDuct(here, *section, *qty, length, roughness, air, system, scale);
            if (here.lossMarker.empty() && !std::isfinite(here.loss))
                here.lossMarker = NumMarker;
        }
        if (totalMarker.empty() && !here.lossMarker.empty())
            totalMarker = here.lossMarker;
        total += here.lossMarker.empty() ? here.loss : 0;
        here.total = total;
        here.totalMarker = totalMarker;
    }
    return figures;
}

std::vector<std::string> staticPressureTexts(const RouteTable &table,
                                             const method::Settings &settings,
                                             const RowLosses *losses)
{
    const RouteFigures figures = routeFigures(table, settings, losses);
    std::vector<std::string> texts(figures.outcome.stopped ? 0 : figures.rows.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (const std::optional<double> pressure = staticPressure(figures.rows[i]))
            texts[i] = pressureText(*pressure, settings.units);
    }
    return texts;
}

CalculationOutcome calculate(RouteTable &table, const method::Settings &settings,
                             const RowLosses *losses)
{
    RouteTable::Batch batch(table);
    table.setCurrentCol(RouteTable::ColQty);
    const RouteFigures figures = routeFigures(table, settings, losses);
    if (figures.outcome.stopped)
        return figures.outcome;
    const System system = settings.units;
    for (Int16 row = 1; row <= static_cast<Int16>(figures.rows.size()); ++row) {
        const RowFigures &here = figures.rows[static_cast<std::size_t>(row - 1)];
        if (here.hasItem) {
            table.setCellText(row, Col::ColVP, pressureText(here.velocityPressure, system));
            table.setCellText(row, Col::ColVelocity, velocityText(here.velocity, system));
            table.setCellText(row, Col::ColItemSP,
                              here.lossMarker.empty() ? pressureText(here.loss, system)
                                                      : here.lossMarker);
        }
        table.setCellText(row, Col::ColRouteSP,
                          here.totalMarker.empty() ? pressureText(here.total, system)
                                                   : here.totalMarker);
    }
    table.goHome();
    return {};
}

} // namespace plenix::darcy
