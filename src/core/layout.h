// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string_view>

// The main window's geometry rules: where the window starts on the screen,
// and the proportional layout that keeps every control the same share of
// the client area whatever its size. Lengths are in twips (1/1440 inch);
// only ratios matter, so any unit serves as long as it is used throughout.
namespace plenix {

struct Geometry
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct ControlRatios
{
    float widthRatio = 0;
    float heightRatio = 0;
    float topRatio = 0;
    float leftRatio = 0;
};

inline constexpr double TwipsPerInch = 1440;

// Twips to a screen's whole pixels, rounded to the nearest, and back.
int twipsToPixels(double twips, double dotsPerInch);
float pixelsToTwips(int pixels, double dotsPerInch);

inline constexpr float DesignClientWidth = 15240;
inline constexpr float DesignClientHeight = 8610;

struct DesignControl
{
    std::string_view name;
    Geometry geometry;
};

inline constexpr std::array<DesignControl, 5> DesignControls{{
    {"calculateButton", {11378, 480, 1335, 615}},
    {"routeView", {960, 1800, 13935, 6375}},
    {"descriptionEdit", {3811, 240, 6975, 1095}},
    {"itemsLabel", {195, 4440, 615, 1815}},
    {"descriptionLabel", {2528, 360, 1140, 975}},
}};

// A control's geometry as fractions of the client area; a zero client side
// leaves its two fractions at 0.
ControlRatios ratiosFromGeometry(const Geometry &geometry, float clientWidth, float clientHeight);
// The geometry for a client area; never negative.
Geometry geometryFromRatios(const ControlRatios &ratios, float clientWidth, float clientHeight);

// The window's outer size and place on a screen: 82% of its width and 70% of
// its height, placed as products of those shares. Each set value is read back
// through `readBack` before the next step uses it, so the toolkit's rounding
// carries on as the window sees it.
Geometry windowPlacement(float screenWidth, float screenHeight,
                         const std::function<float(float)> &readBack = {});

} // namespace plenix
