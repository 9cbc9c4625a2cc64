// SPDX-License-Identifier: GPL-3.0-or-later
#include "units.h"

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

std::string_view systemKey(System system)
{
    return system == System::InchPound ? "ip" : "si";
}

} // namespace plenix::units
