// SPDX-License-Identifier: GPL-3.0-or-later
#include "units.h"

#include <algorithm>

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

double litresPerSecondIn(FlowUnit unit)
{
    switch (unit) {
    case FlowUnit::LitresPerSecond:
        break;
    case FlowUnit::CubicMetresPerHour:
        return LitresPerCubicMetre / SecondsPerHour;
    case FlowUnit::CubicMetresPerSecond:
        return LitresPerCubicMetre;
    }
    return 1;
}

std::string_view flowSymbol(FlowUnit unit)
{
    switch (unit) {
    case FlowUnit::LitresPerSecond:
        break;
    case FlowUnit::CubicMetresPerHour:
        return "m\u00b3/h";
    case FlowUnit::CubicMetresPerSecond:
        return "m\u00b3/s";
    }
    return "L/s";
}

std::string_view flowKey(FlowUnit unit)
{
    switch (unit) {
    case FlowUnit::LitresPerSecond:
        break;
    case FlowUnit::CubicMetresPerHour:
        return "m3/h";
    case FlowUnit::CubicMetresPerSecond:
        return "m3/s";
    }
    return "l/s";
}

std::optional<FlowUnit> flowUnitFromKey(std::string_view key)
{
    for (const FlowUnit unit : {FlowUnit::LitresPerSecond, FlowUnit::CubicMetresPerHour,
                                FlowUnit::CubicMetresPerSecond}) {
        if (std::ranges::equal(key, flowKey(unit), [](char a, char b) {
                return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
            }))
            return unit;
    }
    return std::nullopt;
}

std::string_view systemKey(System system)
{
    return system == System::InchPound ? "ip" : "si";
}

} // namespace plenix::units
