// SPDX-License-Identifier: GPL-3.0-or-later
#include "units.h"

#include "charset.h"

#include <array>

namespace plenix::units {

namespace {

// What one inch-pound unit is in SI.
double siPerInchPound(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Flow:
        return LitresPerSecondPerCfm;
    case Quantity::Size:
        return MillimetresPerInch;
    case Quantity::Length:
        return MetresPerFoot;
    case Quantity::Roughness:
        return MetresPerFoot * 1000;
    case Quantity::Pressure:
        return PascalsPerInchOfWater;
    case Quantity::Density:
        return KilogramsPerCubicMetrePerPoundPerCubicFoot;
    case Quantity::Velocity:
        return MetresPerFoot / SecondsPerMinute;
    case Quantity::FrictionRate:
        return PascalsPerInchOfWater / (100 * MetresPerFoot);
    case Quantity::Temperature:
        break;
    }
    return 1;
}

} // namespace

double convert(double value, Quantity quantity, System from)
{
    if (quantity == Quantity::Temperature)
        return from == System::InchPound ? (value - 32) * 5 / 9 : value * 9 / 5 + 32;
    const double factor = siPerInchPound(quantity);
    return from == System::InchPound ? value * factor : value / factor;
}

std::string_view symbol(Quantity quantity, System system)
{
    const bool ip = system == System::InchPound;
    switch (quantity) {
    case Quantity::Flow:
        return ip ? "cfm" : "L/s";
    case Quantity::Size:
        return ip ? "in" : "mm";
    case Quantity::Length:
        return ip ? "ft" : "m";
    case Quantity::Roughness:
        return ip ? "ft" : "mm";
    case Quantity::Pressure:
        return ip ? "in wg" : "Pa";
    case Quantity::Density:
        return ip ? "lb/ft3" : "kg/m3";
    case Quantity::Temperature:
        return ip ? "F" : "C";
    case Quantity::Velocity:
        return ip ? "fpm" : "m/s";
    case Quantity::FrictionRate:
        return ip ? "in wg/100 ft" : "Pa/m";
    }
    return {};
}

namespace {

struct FlowUnitRow
{
    double litresPerSecond; // in one of the unit
    std::string_view symbol;
    std::string_view key;
};

// In the order of FlowUnit.
constexpr std::array<FlowUnitRow, 3> FlowUnits{{
    {1, "L/s", "l/s"},
    {LitresPerCubicMetre / SecondsPerHour, "m\u00b3/h", "m3/h"},
    {LitresPerCubicMetre, "m\u00b3/s", "m3/s"},
}};

const FlowUnitRow &rowOf(FlowUnit unit)
{
    return FlowUnits.at(static_cast<std::size_t>(unit));
}

} // namespace

double litresPerSecondIn(FlowUnit unit)
{
    return rowOf(unit).litresPerSecond;
}

std::string_view flowSymbol(FlowUnit unit)
{
    return rowOf(unit).symbol;
}

std::string_view flowKey(FlowUnit unit)
{
    return rowOf(unit).key;
}

std::optional<FlowUnit> flowUnitFromKey(std::string_view key)
{
    for (std::size_t i = 0; i < FlowUnits.size(); ++i) {
        if (equalsIgnoringCase(key, FlowUnits[i].key))
            return static_cast<FlowUnit>(i);
    }
    return std::nullopt;
}

std::string_view systemKey(System system)
{
    return system == System::InchPound ? "ip" : "si";
}

} // namespace plenix::units
