// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation.h"
#include "calculation/method.h"
#include "fittings/library.h"
#include "routetable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Fittings of the library in a project's rows. A row is a fitting when its
// description begins with a fitting's name: "Elbow, round, smooth radius,
// R/D 1.5, Angle 90 deg". The parameters follow, each as its name and
// value; one left out takes its default, and other words between the commas
// are the engineer's notes. A component gives its pressure: "Coil, 0.25 in
// wg". So a row keeps its fitting through every edit, copy, paste and undo,
// and the engineer reads and changes the parameters where they are shown.
//
// At every Calculate the coefficient is worked out again from the row's
// parameters and the geometry and flows in force, and written into the
// row's "Loss Coef." cell; the loss is that coefficient times the velocity
// pressure the fitting names, which need not be the row's own.
namespace plenix::fittings {

// What a row's description says.
struct DescribedFitting
{
    const Fitting *fitting = nullptr;
    // A parameter's value as the description gives it; none for one left
    // out.
    std::vector<std::optional<double>> given;
    // A component's pressure, in the project's units.
    std::optional<double> pressure;
    // Why a parameter's or the pressure's text cannot be read; empty when
    // all can.
    std::string fault;
};

// The fitting a description names, if any. A pressure may be written in
// in wg or Pa whatever the units; it is read in `units`.
std::optional<DescribedFitting> readDescription(const Library &library,
                                                std::string_view description, units::System units);

// The description the picker writes: the name, then the values given.
std::string describe(const Fitting &fitting, const std::vector<std::optional<double>> &given);

// A component's description: "Coil, 0.25 in wg".
std::string describeComponent(const Fitting &fitting, double pressure, units::System units);

// What the picker makes of its fields: a text a parameter, empty for one
// left to its default (or, at Calculate, to the route), or a component's
// pressure as its one field.
struct Pick
{
    std::string description; // what Insert writes into "Description"
    std::string coefficient; // and into "Loss Coef."; empty for a component
    std::string summary;     // "C 0.15 on the velocity pressure of ..."
    std::vector<std::string> clamps;
    std::string problem; // why Insert cannot write the row yet
};
Pick pick(const Fitting &fitting, const std::vector<std::string> &texts, units::System units);

// The fields the picker opens with for a fitting: the values the row's
// description gives when it names that fitting, else the defaults; a value
// the route gives stays empty, left to the route. A component's one field
// is its pressure.
std::vector<std::string> fieldTexts(const Fitting &fitting, std::string_view description,
                                    units::System units);

// The flow, section and velocity pressure in force on a row before any
// fitting is worked out.
struct RowGeometry
{
    double flow = 0;
    double area = 0; // 0: no section in force
    double velocityPressure = 0;
    double reynolds = 0;       // 0: unknown
    double aspectRatio = 0;    // height over width of a rectangle; 0 otherwise
    bool givesSection = false; // the row's own size cell gives one
};

// Every used row's geometry, as the settings work it out; empty when a size
// cannot be read.
std::vector<RowGeometry> routeGeometry(const RouteTable &table, const method::Settings &settings);

// What the junction of a take-off gives its tees: the combined flow in the
// main at the take-off row, and the branch's first flow.
struct Junction
{
    double combinedFlow = 0;
    double combinedArea = 0;
    double combinedVp = 0;
    double branchFlow = 0;
    double branchArea = 0;
    double branchVp = 0;
};

// The junctions a route's tees may belong to.
struct RouteContext
{
    units::System units = units::System::InchPound;
    // Where the route itself takes off.
    std::optional<Junction> asBranch;
    // The take-offs from the route, by the row after which each starts.
    std::vector<std::pair<int, Junction>> takeoffs;
};

// How a fitting row was worked out at the last Calculate.
struct RowFitting
{
    const Fitting *fitting = nullptr;
    // The description it was read from: once the row's differs, the row is
    // no longer what was worked out.
    std::string description;
    std::vector<double> values; // as used, after clamping
    std::vector<bool> derived;  // taken from the geometry or the flows
    std::vector<Clamp> clamps;
    double coefficient = 0;
    double velocityPressure = 0; // the one the coefficient is on
    VpReference reference = VpReference::Own;
    bool atJunction = false;        // a tee that found its take-off
    std::optional<double> pressure; // a component's
    std::string fault;
};

// Works out every fitting row of the table, in row order (index row - 1);
// rows that are no fitting have no fitting.
std::vector<RowFitting> resolveRows(const RouteTable &table,
                                    const std::vector<RowGeometry> &geometry,
                                    const RouteContext &context);

// The losses the rows give the calculation.
RowLosses rowLosses(const std::vector<RowFitting> &rows);

// Writes each fitting's coefficient into its "Loss Coef." cell, and empties
// a component's, so that the cell shows what the loss is worked out with.
void writeCoefficients(RouteTable &table, const std::vector<RowFitting> &rows);

// The row's fitting as the last Calculate worked it out, while its
// description is the one it was read from; nullptr otherwise.
const RowFitting *currentFitting(const RouteTable &table, const std::vector<RowFitting> &rows,
                                 int row);

// The tooltip of a fitting row: what it is, its source, the parameters as
// used, the velocity pressure and the clamps; a typed coefficient says so.
// Empty for a row that has neither, and for one edited since.
std::string rowTip(const RouteTable &table, const std::vector<RowFitting> &rows, int row,
                   units::System units);

// The report's list of the fittings a route uses, one line each, in the
// order they first appear: the fitting, its rows and its source; then the
// rows whose coefficient was typed, which have none, and each clamp.
std::vector<std::string> reportLines(const RouteTable &table, const std::vector<RowFitting> &rows);

} // namespace plenix::fittings
