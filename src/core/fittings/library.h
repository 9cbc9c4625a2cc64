// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The fitting library: the loss coefficients of elbows, entries, exits,
// transitions, junctions and dampers, each with its published source, and
// the components whose loss is a pressure from the maker's data. The library
// is data, the fittings.json beside this file, built into the program; this
// code only reads it and works a coefficient out of it.
//
// A coefficient is the product of its factors. A factor is a table of the
// source, read linearly between its points in each of its axes, or one of a
// few published formulas that the data names. A parameter outside its range
// is clamped to it, and the clamp is reported, never extrapolated.
namespace plenix::fittings {

// Which velocity pressure a coefficient multiplies. A contraction's is the
// section after it, an abrupt expansion's the one before it; a junction's
// is the combined flow's, in the main before the take-off.
enum class VpReference
{
    Own,
    Upstream,
    Downstream,
    Branch,
    Main
};

// "own", "upstream", "downstream", "branch" or "main", as the data and the
// command line write it.
std::string_view vpReferenceKey(VpReference reference);

// The words a person reads: "the fitting's own section", "the upstream
// section" and so on.
std::string_view vpReferenceText(VpReference reference);

struct Parameter
{
    std::string id;   // what the command line and a project name it by
    std::string name; // as captions show it: "R/D", "Angle"
    std::string unit; // "deg", or empty for a ratio
    double minimum = 0;
    std::optional<double> maximum; // none: no upper limit
    double byDefault = 0;
    // Where a project's Calculate takes the value from when it can, instead
    // of the one the row gives: "reynolds" (the row's Reynolds number),
    // "aspectRatio" (its rectangle's height over width), "faceArea" (its
    // section's area, in m2), "areaChange" (the
    // area before the fitting over the area after it), "branchFlowRatio"
    // and "branchAreaRatio" (Qb/Qc and Ab/Ac at the take-off). Empty: the
    // row's value.
    std::string derive;
};

// One factor of a coefficient: a table over some of the parameters, or a
// named formula of them.
struct Factor
{
    // Table: the parameters it is read by, the points along each, and the
    // values with the last axis varying fastest.
    std::vector<std::size_t> axes;
    std::vector<std::vector<double>> points;
    std::vector<double> values;
    // Formula: its name in the data, and the parameters it takes in order.
    std::string formula;
    std::vector<std::size_t> arguments;
};

struct Fitting
{
    enum class Kind
    {
        Coefficient, // a loss coefficient on a velocity pressure
        Pressure     // a fixed loss, typed from the maker's data
    };

    std::string id;
    std::string name;
    std::string family;
    std::vector<std::string> keywords; // other words a search finds it by
    std::string drawing;               // the picture the picker shows
    Kind kind = Kind::Coefficient;
    VpReference vpReference = VpReference::Own;
    // A junction's coefficient belongs on the branch route or on the main.
    enum class Leg
    {
        None,
        Branch,
        Main
    };
    Leg leg = Leg::None;
    std::vector<Parameter> parameters;
    std::vector<Factor> factors;
    std::string source; // the publication, and its table or diagram
    std::string note;   // what an engineer should know before using it

    std::optional<std::size_t> parameterIndex(std::string_view parameterId) const;
};

struct Library
{
    std::vector<Fitting> fittings;

    const Fitting *find(std::string_view id) const;

    // The fittings whose id, name, family or keywords hold every word of
    // the text, in any case, in the library's order; all of them for a
    // blank text.
    std::vector<const Fitting *> search(std::string_view text) const;
};

// The library built into the program.
const Library &builtIn();

// Reads a library's JSON text; throws std::runtime_error naming the fitting
// and the fault.
Library readLibrary(std::string_view json);

// A parameter that was outside its range, and the value used instead.
struct Clamp
{
    std::size_t parameter = 0;
    double given = 0;
    double used = 0;
};

struct Evaluation
{
    double coefficient = 0;
    std::vector<Clamp> clamps;
};

// The coefficient for the parameters' values, in the fitting's order. A
// value that is not a number takes the parameter's default and is reported
// as clamped. A fixed-pressure component has no coefficient: 0.
Evaluation evaluate(const Fitting &fitting, std::vector<double> values);

// What a clamp says in a tooltip: "R/D 0.3 is below the table's 0.5; the
// value at 0.5 is used".
std::string clampText(const Fitting &fitting, const Clamp &clamp);

// The parameters' defaults, in order.
std::vector<double> defaultValues(const Fitting &fitting);

// A value as typed for a parameter: a decimal number, nothing else.
std::optional<double> readValue(std::string_view text);

// The shortest text that reads back as the value, as parameters and
// coefficients are shown: "1.5", "0.2", "90".
std::string valueText(double value);

// The row's description: the name and each parameter, "Round elbow, smooth
// radius, R/D 1.5, angle 90 deg".
std::string description(const Fitting &fitting, const std::vector<double> &values);

// One parameter's range as the picker and the command line show it:
// "0.5 to 2.5", "0 to 180 deg", "10000 and above".
std::string rangeText(const Parameter &parameter);

} // namespace plenix::fittings
