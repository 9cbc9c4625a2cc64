// SPDX-License-Identifier: GPL-3.0-or-later
#include "library.h"

#include "charset.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <span>
#include <stdexcept>
#include <utility>

namespace plenix::fittings {

namespace {

constexpr std::string_view BuiltInJson =
#include "fittings.inc"
    ;

struct ReferenceWords
{
    VpReference reference;
    std::string_view key;
    std::string_view text;
};

constexpr std::array<ReferenceWords, 5> References{{
    {VpReference::Own, "own", "the fitting's own section"},
    {VpReference::Upstream, "upstream", "the upstream section"},
    {VpReference::Downstream, "downstream", "the downstream section"},
    {VpReference::Branch, "branch", "the branch"},
    {VpReference::Main, "main", "the combined flow in the main"},
}};

// The published formulas a factor may name. Each takes its arguments in
// the order the data lists them.
struct Formula
{
    std::string_view name;
    std::size_t arity;
    std::function<double(std::span<const double>)> apply;
};

constexpr double Pi = 3.14159265358979323846;

// An abrupt expansion loses the difference of the velocities' heads
// (Borda-Carnot), on the upstream velocity pressure; r = A1/A2.
double abruptExpansion(std::span<const double> args)
{
    const double r = args[0];
    return (1 - r) * (1 - r);
}

// A conical expansion of included angle theta, on the upstream velocity
// pressure: a share of the abrupt expansion's loss up to 45 degrees, all
// of it beyond.
double conicalExpansion(std::span<const double> args)
{
    const double theta = args[0] * Pi / 180;
    const double abrupt = abruptExpansion(args.subspan(1));
    return args[0] <= 45 ? 2.6 * std::sin(theta / 2) * abrupt : abrupt;
}

// Where a value lies along a table's axis: the point at or below it and
// the share of the way to the next. Beyond either end the end's value
// holds: the source gives no other.
std::pair<std::size_t, double> axisPosition(std::span<const double> points, double value)
{
    if (points.size() < 2 || value <= points.front())
        return {0, 0.0};
    if (value >= points.back())
        return {points.size() - 2, 1.0};
    const auto upper = std::ranges::upper_bound(points, value);
    const auto below = static_cast<std::size_t>(upper - points.begin()) - 1;
    return {below, (value - points[below]) / (points[below + 1] - points[below])};
}

// Crane's tees and wyes whose run and combined legs are of one size, all on
// the combined flow's velocity pressure: q = Qb/Qc, a = Ab/Ac (so q / a is
// Vb/Vc) and theta the branch's angle to the run, in degrees. Crane's
// coefficients change with the angle in steps; between the angles the
// source lists, the term that carries the angle is read linearly, as a
// table is.
double angleTerm(std::span<const double> angles, std::span<const double> values, double theta)
{
    const auto [below, share] = axisPosition(angles, theta);
    return values[below] + share * (values[below + 1] - values[below]);
}

double convergingBranch(double q, double a, double theta)
{
    static constexpr std::array<double, 4> angles{30, 45, 60, 90};
    static constexpr std::array<double, 4> factors{1.74, 1.41, 1.00, 0.0};
    const double c = a <= 0.35 ? 1.0 : (q <= 0.4 ? 0.9 * (1 - q) : 0.55);
    return c * (1 + (q / a) * (q / a) - 2 * (1 - q) * (1 - q) -
                angleTerm(angles, factors, theta) / a * q * q);
}

// The run of a converging junction: the 90-degree tee has its own formula.
double convergingRun(double q, double a, double theta)
{
    static constexpr std::array<double, 3> angles{30, 45, 60};
    static constexpr std::array<double, 3> factors{1.74, 1.41, 1.00};
    if (theta >= 75)
        return 1.55 * q - q * q;
    return 1 - (1 - q) * (1 - q) - angleTerm(angles, factors, theta) / a * q * q;
}

// The branch of a diverging junction. A 90-degree tee's G and H are those
// Crane gives for a right-angled branch: G grows with the flow only where
// the branch is nearly the combined leg's size, and H drops to 0.3 there.
double divergingBranch(double q, double a, double theta)
{
    const bool rightAngled = theta >= 75;
    const bool fullSize = std::sqrt(a) > 2.0 / 3;
    double g = 0;
    if (rightAngled)
        g = a <= 2.0 / 3 ? 1.0 : 1 + 0.3 * q * q;
    else if (a <= 0.35)
        g = q <= 0.4 ? 1.1 - 0.7 * q : 0.85;
    else
        g = q <= 0.6 ? 1.0 - 0.6 * q : 0.6;
    const double h = rightAngled && fullSize ? 0.3 : 1.0;
    const double j = rightAngled && fullSize ? 0.0 : 2.0;
    const double v = q / a;
    return g * (1 + h * v * v - j * v * std::cos(theta * Pi / 180));
}

double divergingRun(double q, double a)
{
    const double m = a <= 0.4 ? 0.4 : (q <= 0.5 ? 2 * (2 * q - 1) : 0.3 * (2 * q - 1));
    return m * q * q;
}

// A fully open multi-blade damper, on the approach velocity pressure: the
// pressure drop at 1000 fpm for its free-area ratio, over the velocity
// pressure of standard air at 1000 fpm. The ratio grows with the damper's
// face area (given in m2, the source's formula in in2) and shrinks with a
// damper smaller than the duct.
double openDamper(double faceSquareMetres, double ratio, double perSquareInch, double exponent)
{
    constexpr double squareMetresPerSquareInch = 0.0254 * 0.0254;
    const double face = faceSquareMetres / squareMetresPerSquareInch;
    const double freeArea = std::pow(perSquareInch * face, exponent) * ratio;
    const double dropAt1000 = freeArea <= 0.5 ? -0.04689 * (1 - std::pow(freeArea, -2.562))
                                              : -0.01254 * (1 - std::pow(freeArea, -4.274));
    const double vpAt1000 = (1000.0 / 4005) * (1000.0 / 4005);
    return dropAt1000 / vpAt1000;
}

double parallelDamper(std::span<const double> args)
{
    return openDamper(args[0], args[1], 0.00005149, 0.1007);
}

double opposedDamper(std::span<const double> args)
{
    return openDamper(args[0], args[1], 0.00001159, 0.0849);
}

const std::array<Formula, 11> &formulas()
{
    static const std::array<Formula, 11> all{{
        {"abrupt-expansion", 1, abruptExpansion},
        {"conical-expansion", 2, conicalExpansion},
        {"converging-tee-branch", 2,
         [](std::span<const double> x) { return convergingBranch(x[0], x[1], 90); }},
        {"converging-tee-main", 1,
         [](std::span<const double> x) { return convergingRun(x[0], 1, 90); }},
        {"diverging-tee-branch", 2,
         [](std::span<const double> x) { return divergingBranch(x[0], x[1], 90); }},
        {"diverging-tee-main", 2,
         [](std::span<const double> x) { return divergingRun(x[0], x[1]); }},
        {"converging-wye-branch", 3,
         [](std::span<const double> x) { return convergingBranch(x[0], x[1], x[2]); }},
        {"converging-wye-main", 3,
         [](std::span<const double> x) { return convergingRun(x[0], x[1], x[2]); }},
        {"diverging-wye-branch", 3,
         [](std::span<const double> x) { return divergingBranch(x[0], x[1], x[2]); }},
        {"parallel-damper-open", 2, parallelDamper},
        {"opposed-damper-open", 2, opposedDamper},
    }};
    return all;
}

const Formula *findFormula(std::string_view name)
{
    for (const Formula &formula : formulas()) {
        if (formula.name == name)
            return &formula;
    }
    return nullptr;
}

// The table read linearly in each of its axes.
double tableValue(const Factor &factor, const std::vector<double> &values)
{
    const std::size_t axes = factor.axes.size();
    std::vector<std::pair<std::size_t, double>> positions;
    positions.reserve(axes);
    for (std::size_t axis = 0; axis < axes; ++axis)
        positions.push_back(axisPosition(factor.points[axis], values[factor.axes[axis]]));

    double sum = 0;
    for (std::size_t corner = 0; corner < (std::size_t{1} << axes); ++corner) {
        double weight = 1;
        std::size_t index = 0;
        for (std::size_t axis = 0; axis < axes; ++axis) {
            const bool upper = ((corner >> axis) & 1U) != 0;
            const auto [below, share] = positions[axis];
            weight *= upper ? share : 1 - share;
            index = index * factor.points[axis].size() + below + (upper ? 1 : 0);
        }
        if (weight != 0)
            sum += weight * factor.values[index];
    }
    return sum;
}

double factorValue(const Factor &factor, const std::vector<double> &values)
{
    if (factor.formula.empty())
        return tableValue(factor, values);
    std::vector<double> args;
    args.reserve(factor.arguments.size());
    for (std::size_t parameter : factor.arguments)
        args.push_back(values[parameter]);
    return findFormula(factor.formula)->apply(args);
}

[[noreturn]] void fault(const std::string &fittingId, const std::string &what)
{
    throw std::runtime_error("fitting " + fittingId + ": " + what);
}

std::size_t parameterOf(const Fitting &fitting, const nlohmann::json &id)
{
    const std::optional<std::size_t> index = fitting.parameterIndex(id.get<std::string>());
    if (!index)
        fault(fitting.id, "no parameter " + id.get<std::string>());
    return *index;
}

Parameter readParameter(const Fitting &fitting, const nlohmann::json &entry)
{
    Parameter parameter;
    parameter.id = entry.at("id").get<std::string>();
    parameter.name = entry.at("name").get<std::string>();
    parameter.unit = entry.value("unit", std::string());
    parameter.minimum = entry.at("min").get<double>();
    if (!entry.at("max").is_null())
        parameter.maximum = entry.at("max").get<double>();
    parameter.byDefault = entry.at("default").get<double>();
    parameter.derive = entry.value("derive", std::string());
    constexpr std::array<std::string_view, 7> derivations{
        "",         "reynolds",        "aspectRatio",    "areaChange",
        "faceArea", "branchFlowRatio", "branchAreaRatio"};
    if (std::ranges::find(derivations, parameter.derive) == derivations.end())
        fault(fitting.id, "no derivation " + parameter.derive);
    if (!(parameter.minimum <= parameter.byDefault) ||
        (parameter.maximum && !(parameter.byDefault <= *parameter.maximum)))
        fault(fitting.id, "the default of " + parameter.id + " is outside its range");
    return parameter;
}

Factor readFactor(const Fitting &fitting, const nlohmann::json &entry)
{
    Factor factor;
    if (entry.contains("value")) {
        // A single published value: a table of no axes.
        factor.values.push_back(entry.at("value").get<double>());
        return factor;
    }
    if (entry.contains("formula")) {
        factor.formula = entry.at("formula").get<std::string>();
        const Formula *formula = findFormula(factor.formula);
        if (formula == nullptr)
            fault(fitting.id, "no formula " + factor.formula);
        for (const nlohmann::json &argument : entry.at("of"))
            factor.arguments.push_back(parameterOf(fitting, argument));
        if (factor.arguments.size() != formula->arity)
            fault(fitting.id, "formula " + factor.formula + " takes " +
                                  std::to_string(formula->arity) + " parameters");
        return factor;
    }
    std::size_t count = 1;
    for (const nlohmann::json &axis : entry.at("axes")) {
        factor.axes.push_back(parameterOf(fitting, axis));
        factor.points.push_back(
            entry.at("points").at(factor.points.size()).get<std::vector<double>>());
        const std::vector<double> &points = factor.points.back();
        if (points.empty() || !std::ranges::is_sorted(points, std::less_equal<>()) ||
            std::ranges::adjacent_find(points) != points.end())
            fault(fitting.id, "a table's points must rise");
        count *= points.size();
    }
    factor.values = entry.at("values").get<std::vector<double>>();
    if (factor.values.size() != count)
        fault(fitting.id, "a table has " + std::to_string(factor.values.size()) + " values for " +
                              std::to_string(count) + " points");
    return factor;
}

VpReference readReference(const Fitting &fitting, const std::string &key)
{
    for (const ReferenceWords &words : References) {
        if (words.key == key)
            return words.reference;
    }
    fault(fitting.id, "no velocity pressure " + key);
}

Fitting readFitting(const nlohmann::json &entry)
{
    Fitting fitting;
    fitting.id = entry.at("id").get<std::string>();
    fitting.name = entry.at("name").get<std::string>();
    fitting.family = entry.at("family").get<std::string>();
    fitting.keywords = entry.value("keywords", std::vector<std::string>());
    fitting.drawing = entry.value("drawing", std::string());
    fitting.source = entry.at("source").get<std::string>();
    fitting.note = entry.value("note", std::string());
    if (fitting.source.empty())
        fault(fitting.id, "no source");
    if (entry.value("kind", std::string("coefficient")) == "pressure") {
        fitting.kind = Fitting::Kind::Pressure;
        return fitting;
    }
    fitting.vpReference = readReference(fitting, entry.at("vpReference").get<std::string>());
    if (const std::string leg = entry.value("leg", std::string()); leg == "branch")
        fitting.leg = Fitting::Leg::Branch;
    else if (leg == "main")
        fitting.leg = Fitting::Leg::Main;
    else if (!leg.empty())
        fault(fitting.id, "no leg " + leg);
    for (const nlohmann::json &parameter : entry.value("parameters", nlohmann::json::array())) {
        fitting.parameters.push_back(readParameter(fitting, parameter));
        if (std::ranges::count(fitting.parameters, fitting.parameters.back().id, &Parameter::id) >
            1)
            fault(fitting.id, "two parameters " + fitting.parameters.back().id);
    }
    for (const nlohmann::json &factor : entry.at("coefficient"))
        fitting.factors.push_back(readFactor(fitting, factor));
    if (fitting.factors.empty())
        fault(fitting.id, "no coefficient");
    return fitting;
}

// A value to four significant digits, as a mark shows a worked-out one.
std::string shownValue(double value)
{
    if (value == 0 || !std::isfinite(value))
        return valueText(value);
    const double places = 3 - std::floor(std::log10(std::abs(value)));
    if (places < 0) {
        const double step = std::pow(10.0, -places);
        return valueText(std::round(value / step) * step);
    }
    const double scale = std::pow(10.0, places);
    return valueText(std::round(value * scale) / scale);
}

std::string unitSuffix(const Parameter &parameter)
{
    return parameter.unit.empty() ? std::string() : " " + parameter.unit;
}

} // namespace

std::string_view vpReferenceKey(VpReference reference)
{
    return References[static_cast<std::size_t>(reference)].key;
}

std::string_view vpReferenceText(VpReference reference)
{
    return References[static_cast<std::size_t>(reference)].text;
}

std::optional<std::size_t> Fitting::parameterIndex(std::string_view parameterId) const
{
    for (std::size_t index = 0; index < parameters.size(); ++index) {
        if (parameters[index].id == parameterId)
            return index;
    }
    return std::nullopt;
}

const Fitting *Library::find(std::string_view id) const
{
    const auto found = std::ranges::find(fittings, id, &Fitting::id);
    return found == fittings.end() ? nullptr : &*found;
}

std::vector<const Fitting *> Library::search(std::string_view text) const
{
    std::vector<std::string> words;
    const std::string wanted = asciiLowered(text);
    for (std::size_t pos = 0; pos < wanted.size();) {
        const std::size_t end = std::min(wanted.find(' ', pos), wanted.size());
        if (end > pos)
            words.push_back(wanted.substr(pos, end - pos));
        pos = end + 1;
    }
    std::vector<const Fitting *> found;
    for (const Fitting &fitting : fittings) {
        std::string haystack = asciiLowered(fitting.id + ' ' + fitting.name + ' ' + fitting.family);
        for (const std::string &keyword : fitting.keywords)
            haystack += ' ' + asciiLowered(keyword);
        if (std::ranges::all_of(words, [&haystack](const std::string &word) {
                return haystack.find(word) != std::string::npos;
            }))
            found.push_back(&fitting);
    }
    return found;
}

Library readLibrary(std::string_view json)
{
    try {
        const nlohmann::json data = nlohmann::json::parse(json);
        Library library;
        for (const nlohmann::json &entry : data.at("fittings")) {
            library.fittings.push_back(readFitting(entry));
            if (std::ranges::count(library.fittings, library.fittings.back().id, &Fitting::id) > 1)
                fault(library.fittings.back().id, "two fittings of this id");
        }
        return library;
    } catch (const nlohmann::json::exception &error) {
        throw std::runtime_error(std::string("the fitting library cannot be read: ") +
                                 error.what());
    }
}

const Library &builtIn()
{
    static const Library library = readLibrary(BuiltInJson);
    return library;
}

Evaluation evaluate(const Fitting &fitting, std::vector<double> values)
{
    Evaluation result;
    values.resize(fitting.parameters.size(), std::nan(""));
    for (std::size_t index = 0; index < values.size(); ++index) {
        const Parameter &parameter = fitting.parameters[index];
        double used = values[index];
        if (std::isnan(used))
            used = parameter.byDefault;
        else if (used < parameter.minimum)
            used = parameter.minimum;
        else if (parameter.maximum && used > *parameter.maximum)
            used = *parameter.maximum;
        if (used != values[index] || std::isnan(values[index]))
            result.clamps.push_back({index, values[index], used});
        values[index] = used;
    }
    if (fitting.kind == Fitting::Kind::Pressure)
        return result;
    result.coefficient = 1;
    for (const Factor &factor : fitting.factors)
        result.coefficient *= factorValue(factor, values);
    return result;
}

std::string clampText(const Fitting &fitting, const Clamp &clamp)
{
    const Parameter &parameter = fitting.parameters[clamp.parameter];
    const std::string used = valueText(clamp.used) + unitSuffix(parameter);
    if (std::isnan(clamp.given))
        return parameter.name + " is not a number; " + used + " is used";
    const bool below = clamp.given < clamp.used;
    return parameter.name + " " + shownValue(clamp.given) + unitSuffix(parameter) + " is " +
           (below ? "below" : "above") + " the table's " + used + "; the value at " + used +
           " is used";
}

std::vector<double> defaultValues(const Fitting &fitting)
{
    std::vector<double> values;
    values.reserve(fitting.parameters.size());
    for (const Parameter &parameter : fitting.parameters)
        values.push_back(parameter.byDefault);
    return values;
}

std::optional<double> readValue(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    // Only digits, a point and an exponent: from_chars would also take
    // "nan" and "inf", which no parameter can be.
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string valueText(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    std::array<char, 400> buffer{};
    const double size = std::abs(value);
    const auto format = (size == 0 || (size >= 1e-6 && size < 1e15)) ? std::chars_format::fixed
                                                                     : std::chars_format::general;
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string();
}

std::string description(const Fitting &fitting, const std::vector<double> &values)
{
    std::string text = fitting.name;
    for (std::size_t index = 0; index < fitting.parameters.size() && index < values.size();
         ++index) {
        const Parameter &parameter = fitting.parameters[index];
        text += ", " + parameter.name + ' ' + valueText(values[index]) + unitSuffix(parameter);
    }
    return text;
}

std::string rangeText(const Parameter &parameter)
{
    if (!parameter.maximum)
        return valueText(parameter.minimum) + unitSuffix(parameter) + " and above";
    return valueText(parameter.minimum) + " to " + valueText(*parameter.maximum) +
           unitSuffix(parameter);
}

} // namespace plenix::fittings
