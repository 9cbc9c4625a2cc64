// SPDX-License-Identifier: GPL-3.0-or-later
#include "air.h"

#include "numbertext.h"

#include <cmath>

namespace plenix::air {

namespace {

using units::System;

// ASHRAE Handbook - Fundamentals (2017), ch. 21, eq. (21): Re = 8.56 D V
// (D in inches, V in fpm) and Re = 66.4 D V (D in mm, V in m/s) for
// standard air. Kinematic viscosity follows: nu = D V / Re in consistent
// units, so nu = 1 / (720 * 8.56) ft2/s and 1e-3 / 66.4 m2/s.
constexpr double StandardKinematicViscosityIp = 1.0 / (720 * 8.56);
constexpr double StandardKinematicViscositySi = 1e-3 / 66.4;

// U.S. Standard Atmosphere, 1976, eq. (51): Sutherland's constant of air.
constexpr double SutherlandKelvin = 110.4;

double kelvin(System system, double temperature)
{
    return system == System::InchPound ? (temperature + 459.67) * 5 / 9 : temperature + 273.15;
}

} // namespace

double standardDensity(System system)
{
    return system == System::InchPound ? 0.075 : 1.204;
}

double standardTemperature(System system)
{
    return system == System::InchPound ? 70 : 20;
}

double siteDensity(System system, double elevation, double temperature)
{
    // ASHRAE Handbook - Fundamentals (2017), ch. 1, eq. (3), the standard
    // atmosphere's pressure, over the ideal gas's temperature ratio; the
    // temperature correction is written with the rounded 460 and 273.15 as
    // the duct-design chapter writes it.
    if (system == System::InchPound)
        return 0.075 * 530 / (temperature + 460) * std::pow(1 - 6.8754e-6 * elevation, 5.2559);
    return 1.204 * 293.15 / (temperature + 273.15) * std::pow(1 - 2.25577e-5 * elevation, 5.2559);
}

double viscosity(System system, double temperature)
{
    const double reference = kelvin(system, standardTemperature(system));
    const double standard =
        standardDensity(system) *
        (system == System::InchPound ? StandardKinematicViscosityIp : StandardKinematicViscositySi);
    const double t = kelvin(system, temperature);
    return standard * std::pow(t / reference, 1.5) * (reference + SutherlandKelvin) /
           (t + SutherlandKelvin);
}

Limits limits(System system)
{
    // Sea level less 1,500 ft to the top of the troposphere, 36,000 ft;
    // -100 C to 600 C; a tenth to ten times standard air.
    if (system == System::InchPound)
        return {-1500, 36000, -148, 1112, 0.0075, 0.75};
    return {-450, 11000, -100, 600, 0.1204, 12.04};
}

std::optional<std::string> settingsError(const Settings &settings, System system)
{
    const Limits l = limits(system);
    const auto outside = [](double value, double low, double high) {
        return !(value >= low && value <= high);
    };
    const std::string_view temperatureUnit = system == System::InchPound ? " F" : " C";
    const auto range = [](double low, double high, std::string_view unit) {
        return shortText(low, 6) + " and " + shortText(high, 6) + std::string(unit);
    };
    switch (settings.basis) {
    case Basis::Standard:
        return std::nullopt;
    case Basis::Site:
        if (outside(settings.elevation, l.minElevation, l.maxElevation))
            return "The elevation must lie between " +
                   range(l.minElevation, l.maxElevation,
                         " " + std::string(units::symbol(units::Quantity::Length, system))) +
                   ".";
        if (outside(settings.temperature, l.minTemperature, l.maxTemperature))
            return "The air temperature must lie between " +
                   range(l.minTemperature, l.maxTemperature, temperatureUnit) + ".";
        return std::nullopt;
    case Basis::Typed:
        if (outside(settings.density, l.minDensity, l.maxDensity))
            return "The air density must lie between " +
                   range(l.minDensity, l.maxDensity,
                         " " + std::string(units::symbol(units::Quantity::Density, system))) +
                   ".";
        return std::nullopt;
    }
    return std::nullopt;
}

State state(const Settings &settings, System system)
{
    switch (settings.basis) {
    case Basis::Standard:
        break;
    case Basis::Site:
        return {siteDensity(system, settings.elevation, settings.temperature),
                viscosity(system, settings.temperature), false};
    case Basis::Typed:
        return {settings.density, viscosity(system, standardTemperature(system)), false};
    }
    return {standardDensity(system), viscosity(system, standardTemperature(system)), true};
}

} // namespace plenix::air
