// SPDX-License-Identifier: GPL-3.0-or-later
#include "airflow.h"

#include "numbertext.h"

#include <cmath>

namespace plenix {

using namespace airflow;

float velocity(float flow, float diameter)
{
    if (diameter == 0)
        return 0;
    const double feet = static_cast<double>(diameter) / InchesPerFoot;
    // Squared by multiplication: the same correctly rounded value pow(x, 2)
    // gives, at a fraction of the cost.
    const double area = feet * feet * Pi;
    return toSingle(static_cast<double>(VelocityFactor) * static_cast<double>(flow) / area);
}

float velocityPressure(float velocity)
{
    const double ratio = static_cast<double>(velocity) / StandardAirVelocity;
    return toSingle(ratio * ratio);
}

float frictionLoss(std::int16_t qty, float length, float flow, float diameter)
{
    if (length == 0 && diameter == 0)
        return 0;
    // A negative base under a fractional power has no value: the loss is
    // abandoned at 0, as the formula's error rule says.
    if (flow < 0 || diameter < 0)
        return 0;
    double loss = FrictionCoefficient * qty * static_cast<double>(length);
    loss *= std::pow(static_cast<double>(flow), FlowExponent);
    return toSingle(loss / std::pow(static_cast<double>(diameter), DiameterExponent));
}

float fittingLoss(std::int16_t qty, float velocityPressure, float lossCoef)
{
    const double product = static_cast<double>(static_cast<float>(qty)) *
                           static_cast<double>(velocityPressure) * static_cast<double>(lossCoef);
    return toSingle(product);
}

} // namespace plenix
