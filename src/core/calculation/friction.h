// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Darcy friction factor of a duct.
namespace plenix::friction {

// Below this Reynolds number the flow is taken as laminar.
inline constexpr double LaminarLimit = 2300;

// The Darcy friction factor at a Reynolds number and a relative roughness
// (absolute roughness over diameter): 64 / Re in laminar flow, else the root
// of the Colebrook-White equation, solved to a relative 1e-12. NaN for a
// Reynolds number that is not positive or a roughness that is negative.
double darcyFactor(double reynolds, double relativeRoughness);

} // namespace plenix::friction
