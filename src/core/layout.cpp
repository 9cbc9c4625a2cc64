#include "layout.h"

#include <algorithm>
#include <cmath>

namespace plenix {

int fnTwipsToPixels(double twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / TwipsPerInch));
}

float fnPixelsToTwips(int pixels, double dotsPerInch)
{
    return static_cast<float>(pixels * TwipsPerInch / dotsPerInch);
}

ControlRatios fnRatiosFromGeometry(const Geometry &geometry, float clientWidth,
                                   float clientHeight)
{
    // A zero client side cannot give a fraction; its fields stay 0.
    ControlRatios ratios;
    if (clientWidth != 0) {
        ratios.WidthRatio = geometry.width / clientWidth;
        ratios.LeftRatio = geometry.left / clientWidth;
    }
    if (clientHeight != 0) {
        ratios.HeightRatio = geometry.height / clientHeight;
        ratios.TopRatio = geometry.top / clientHeight;
    }
    return ratios;
}

Geometry fnGeometryFromRatios(const ControlRatios &ratios, float clientWidth,
                              float clientHeight)
{
    const float width = std::max(clientWidth, 0.0f);
    const float height = std::max(clientHeight, 0.0f);
    return {width * ratios.LeftRatio, height * ratios.TopRatio, width * ratios.WidthRatio,
            height * ratios.HeightRatio};
}

Geometry fnWindowPlacement(float screenWidth, float screenHeight,
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
