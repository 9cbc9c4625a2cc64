// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout.h"

#include <algorithm>
#include <cmath>

namespace plenix {

int twipsToPixels(double twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / TwipsPerInch));
}

float pixelsToTwips(int pixels, double dotsPerInch)
{
    return static_cast<float>(pixels * TwipsPerInch / dotsPerInch);
}

ControlRatios ratiosFromGeometry(const Geometry &geometry, float clientWidth, float clientHeight)
{
    // A zero client side cannot give a fraction; its fields stay 0.
    ControlRatios ratios;
    if (clientWidth != 0) {
        ratios.widthRatio = geometry.width / clientWidth;
        ratios.leftRatio = geometry.left / clientWidth;
    }
    if (clientHeight != 0) {
        ratios.heightRatio = geometry.height / clientHeight;
        ratios.topRatio = geometry.top / clientHeight;
    }
    return ratios;
}

Geometry geometryFromRatios(const ControlRatios &ratios, float clientWidth, float clientHeight)
{
    const float width = std::max(clientWidth, 0.0f);
    const float height = std::max(clientHeight, 0.0f);
    return {width * ratios.leftRatio, height * ratios.topRatio, width * ratios.widthRatio,
            height * ratios.heightRatio};
}

Geometry windowPlacement(float screenWidth, float screenHeight,
                         const std::function<float(float)> &readBack)
{
    const auto asSet = [&](float value) { return readBack ? readBack(value) : value; };
    // Each product is formed on its own and then subtracted: the window
    // lands right of and below the centre, as it always has.
    Geometry window;
    window.height = asSet(screenHeight * 0.7f);
    window.width = asSet(screenWidth * 0.82f);
    window.top = asSet(screenHeight * 0.7f - window.height * 0.7f);
    window.left = asSet(screenWidth * 0.82f - window.width * 0.82f);
    return window;
}

} // namespace plenix
