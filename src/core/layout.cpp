// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout.h"

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
