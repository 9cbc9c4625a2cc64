// SPDX-License-Identifier: GPL-3.0-or-later
#include "friction.h"

#include <cmath>
#include <limits>

namespace plenix::friction {

double darcyFactor(double reynolds, double relativeRoughness)
{
    if (!(reynolds > 0) || !(relativeRoughness >= 0) || !std::isfinite(reynolds))
        return std::numeric_limits<double>::quiet_NaN();
    if (reynolds < LaminarLimit)
        return 64 / reynolds;

    // Colebrook and White (1939), as ASHRAE Handbook - Fundamentals (2017),
    // ch. 21, eq. (19) writes it:
    //   1 / sqrt(f) = -2 log10(e / (3.7 D) + 2.51 / (Re sqrt(f))).
    // In x = 1 / sqrt(f) it reads g(x) = x + 2 log10(a + b x) = 0, whose
    // root Newton's method reaches in a handful of steps from any start in
    // the turbulent range; the explicit approximations miss it by up to 10 %
    // near the laminar limit.
    const double a = relativeRoughness / 3.7;
    const double b = 2.51 / reynolds;
    const double twoOverLn10 = 2 / std::log(10.0);
    double x = 8; // f = 0.0156, the middle of the turbulent range
    for (int step = 0; step < 50; ++step) {
        const double inner = a + b * x;
        const double g = x + 2 * std::log10(inner);
        const double slope = 1 + twoOverLn10 * b / inner;
        const double next = x - g / slope;
        const bool settled = std::fabs(next - x) <= 1e-13 * std::fabs(next);
        x = next;
        if (settled)
            break;
    }
    return 1 / (x * x);
}

} // namespace plenix::friction
