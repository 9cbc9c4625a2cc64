// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation.h"
#include "ductsection.h"
#include "method.h"
#include "routetable.h"

#include <optional>
#include <string>
#include <vector>

// Calculate by Darcy-Weisbach with the Colebrook friction factor, in either
// unit system, for any duct shape and any air.
//
// Velocity and velocity pressure come from the real cross-section. A duct's
// friction is that of the round duct of the equivalent diameter carrying
// the same flow, at that duct's own velocity, Reynolds number and velocity
// pressure: loss = f (L / De) VPe. A fitting loses C times the real velocity
// pressure. Losses are total-pressure losses, and the running total adds
// them unrounded.
namespace plenix::darcy {

struct RowFigures
{
    double flow = 0;
    bool hasItem = false;
    bool hasSection = false; // a size is in force
    double velocity = 0;
    double velocityPressure = 0;
    double loss = 0;
    std::string lossMarker; // as a classic row's
    double total = 0;
    std::string totalMarker; // the first marker of the route so far

    // For a duct run (a row with a length):
    bool isDuct = false;
    double equivalentDiameter = 0; // in or mm
    double reynolds = 0;
    double frictionFactor = 0; // NaN without flow
    double frictionRate = 0;   // in wg/100 ft or Pa/m
    // The id of the run's own material when its size names one; empty
    // where the route's is in force.
    std::string material;
    double roughness = 0; // in force, ft or mm
};

struct RouteFigures
{
    CalculationOutcome outcome;
    std::vector<RowFigures> rows;
};

// The figures of a Calculate, without writing them. A size cell that
// cannot be read stops the pass, as a row with both a length and a loss
// coefficient does.
// A project's fittings may set some rows' losses.
RouteFigures routeFigures(const RouteTable &table, const method::Settings &settings,
                          const RowLosses *losses = nullptr);

// A straight run's velocity through its real area, and its friction rate
// (in wg per 100 ft, Pa per m), for a flow through a section of the
// settings' material or of its own.
struct RunFigures
{
    double velocity = 0;
    double frictionRate = 0;
};
RunFigures runFigures(double flow, const section::Section &section,
                      const method::Settings &settings);

// The air's velocity through a section's real area, its velocity pressure,
// and the Reynolds number on the section's hydraulic diameter.
struct SectionFlow
{
    double velocity = 0;
    double velocityPressure = 0;
    double reynolds = 0;
};
SectionFlow sectionFlow(double flow, const section::Section &section,
                        const method::Settings &settings);

// The static pressure after a row with an item: the total pressure there,
// counted from the total pressure where the route begins, less the
// velocity pressure: -(total + VP). It falls along the route, and rises
// where a velocity change gives back static pressure. Nothing on a row
// without an item or a size, or once a marker stops the total.
std::optional<double> staticPressure(const RowFigures &row);

// The static pressure column's texts, one for each row from row 1 to the
// last used, in the pressure cells' digits; empty where a row has none.
// None at all for a route that Calculate would stop.
std::vector<std::string> staticPressureTexts(const RouteTable &table,
                                             const method::Settings &settings,
                                             const RowLosses *losses = nullptr);

// The texts the result cells show.
std::string velocityText(double velocity, units::System system);
std::string pressureText(double pressure, units::System system);

// What a duct run's row adds to its shown figures, one line: "Re 130787,
// f 0.01872, De 12 in, friction 0.189 in wg/100 ft", and the run's own
// material where it has one; empty for other rows.
std::string figuresTip(const RowFigures &row, units::System system);

// The same for a row of a route as the settings work it out; empty in the
// classic method and for a route that Calculate would stop.
std::string figuresTipAt(const RouteTable &table, const method::Settings &settings, int row);

// Fills the result columns as the classic Calculate does, with the figures
// and shown digits of the settings' units.
CalculationOutcome calculate(RouteTable &table, const method::Settings &settings,
                             const RowLosses *losses = nullptr);

} // namespace plenix::darcy
