// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

// The two unit systems a project computes in, and the exact factors between
// them. Every factor is a definition: the international foot and pound, and
// the conventional inch of water (a column of water of 1000 kg/m3 under
// standard gravity, 9.80665 m/s2).
namespace plenix::units {

enum class System
{
    InchPound, // cfm, in, ft, fpm, in wg, lb/ft3, deg F
    SI         // L/s, mm, m, m/s, Pa, kg/m3, deg C
};

inline constexpr double MillimetresPerInch = 25.4;
inline constexpr double MetresPerFoot = 0.3048;
inline constexpr double LitresPerCubicFoot = 28.316846592;
inline constexpr double SecondsPerMinute = 60;
inline constexpr double SecondsPerHour = 3600;
inline constexpr double LitresPerCubicMetre = 1000;
inline constexpr double LitresPerSecondPerCfm = LitresPerCubicFoot / SecondsPerMinute;
inline constexpr double PascalsPerInchOfWater = 249.08891;
inline constexpr double KilogramsPerPound = 0.45359237;
inline constexpr double KilogramsPerCubicMetrePerPoundPerCubicFoot =
    KilogramsPerPound / (MetresPerFoot * MetresPerFoot * MetresPerFoot);

// The unit of an SI project's flows, as typed and shown. Inch-pound flows
// are always in cfm.
enum class FlowUnit
{
    LitresPerSecond,
    CubicMetresPerHour,
    CubicMetresPerSecond
};

// Litres per second in one of the unit: 1, 1/3.6, 1000.
double litresPerSecondIn(FlowUnit unit);
// "L/s", "m³/h", "m³/s", in UTF-8.
std::string_view flowSymbol(FlowUnit unit);
// What a project file and the command line call it: "l/s", "m3/h", "m3/s".
std::string_view flowKey(FlowUnit unit);
// The unit of a key, in any case; nothing for none.
std::optional<FlowUnit> flowUnitFromKey(std::string_view key);

// What a quantity measures, so that a value can be carried from one system
// to the other.
enum class Quantity
{
    Flow,
    Size,      // duct dimensions
    Length,    // duct lengths, elevations
    Roughness, // ft in inch-pound, mm in SI
    Pressure,
    Density,
    Temperature,
    Velocity,
    FrictionRate // in wg per 100 ft, Pa per m
};

// The value, given in `from`, as the same quantity in the other system.
double convert(double value, Quantity quantity, System from);

// The unit's symbol, as captions and reports write it.
std::string_view symbol(Quantity quantity, System system);

// The identifier a project file and the command line use: "ip" or "si".
std::string_view systemKey(System system);

} // namespace plenix::units
