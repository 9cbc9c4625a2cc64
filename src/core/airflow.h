// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Airflow in round ducts, inch-pound units: flow in cfm, diameters in inches,
// lengths in feet, velocity in fpm, pressures in inches of water gauge.
// Each function computes in double precision and rounds to single once.
namespace plenix {

// The program's fixed standard values; pi in particular is this seven-digit
// decimal, not the full-precision constant. The report prints them as the
// formulas use them.
namespace airflow {
inline constexpr float VelocityFactor = 4;
inline constexpr float InchesPerFoot = 12;
inline constexpr double Pi = 3.141593;
// Velocity, fpm, at which standard air (0.075 lb/ft3) has a velocity
// pressure of 1 in wg.
inline constexpr float StandardAirVelocity = 4005;
inline constexpr double FrictionCoefficient = 0.00109136;
inline constexpr double FlowExponent = 1.9;
inline constexpr double DiameterExponent = 5.02;
} // namespace airflow

// Mean velocity, fpm: flow over the duct's cross-section. 0 for a zero diameter.
float velocity(float flow, float diameter);

// Velocity pressure, in wg, of standard air.
float velocityPressure(float velocity);

// Friction loss, in wg, of qty straight runs, each length feet long.
// 0 when length and diameter are both 0, or when the flow or the diameter is
// negative. A zero diameter under a non-zero length gives the quotient's
// infinity (or NaN for a zero numerator).
float frictionLoss(std::int16_t qty, float length, float flow, float diameter);

// Loss, in wg, of qty identical fittings; an infinity when the product is
// too large for single precision.
float fittingLoss(std::int16_t qty, float velocityPressure, float lossCoef);

} // namespace plenix
