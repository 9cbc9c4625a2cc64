// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "units.h"

#include <optional>
#include <string>

// The air a duct carries: its density and viscosity, from standard air, the
// site's elevation and temperature, or a typed density.
namespace plenix::air {

// Standard air, as the duct-design handbooks define it: 0.075 lb/ft3 and
// 1.204 kg/m3, at 70 F and 20 C. The two differ by 0.2 % (1.204 kg/m3 is
// 0.07516 lb/ft3); each system keeps its own.
double standardDensity(units::System system);
double standardTemperature(units::System system); // F or C

// The density at an elevation (ft or m) and temperature (F or C), by the
// handbooks' correction for temperature and for the barometric pressure of
// the standard atmosphere.
double siteDensity(units::System system, double elevation, double temperature);

// Dynamic viscosity, lb/(ft s) or Pa s, by Sutherland's law, scaled so that
// at the standard temperature it is the value the handbooks' Reynolds number
// for standard air implies.
double viscosity(units::System system, double temperature);

enum class Basis
{
    Standard,
    Site,  // elevation and temperature
    Typed, // a density given directly
};

struct Settings
{
    Basis basis = Basis::Standard;
    double elevation = 0;   // ft or m
    double temperature = 0; // F or C; for Basis::Site
    double density = 0;     // lb/ft3 or kg/m3; for Basis::Typed
    friend bool operator==(const Settings &, const Settings &) = default;
};

// The limits inside which the settings are taken: the standard atmosphere's
// pressure formula holds in the troposphere, and duct air lies well inside
// the temperatures given.
struct Limits
{
    double minElevation, maxElevation;
    double minTemperature, maxTemperature;
    double minDensity, maxDensity;
};
Limits limits(units::System system);

// Why the settings cannot be used, or nothing.
std::optional<std::string> settingsError(const Settings &settings, units::System system);

// The air the settings give.
struct State
{
    double density = 0;
    double viscosity = 0;
    // Standard air: the Reynolds number takes the handbooks' short form.
    bool standard = true;
};
State state(const Settings &settings, units::System system);

} // namespace plenix::air
