// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// The main window's geometry rules: where the window starts on the screen.
// Lengths are in twips (1/1440 inch), the unit of the window's design.
namespace plenix {

struct Geometry
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

inline constexpr double TwipsPerInch = 1440;

// Twips to a screen's whole pixels, rounded to the nearest, and back.
int twipsToPixels(double twips, double dotsPerInch);
float pixelsToTwips(int pixels, double dotsPerInch);

// The window's design: its client area, and where each control stands in
// it. The window keeps this arrangement, sharing spare room in its
// proportions.
inline constexpr float DesignClientWidth = 15240;
inline constexpr float DesignClientHeight = 8610;

namespace design {
inline constexpr Geometry Button{11378, 480, 1335, 615};
inline constexpr Geometry Grid{960, 1800, 13935, 6375};
inline constexpr Geometry DescriptionBox{3811, 240, 6975, 1095};
inline constexpr Geometry ItemsLabel{195, 4440, 615, 1815};
inline constexpr Geometry DescriptionLabel{2528, 360, 1140, 975};
} // namespace design

// The window's outer size and place on a screen: 82% of its width and 70% of
// its height, placed as products of those shares. Each set value is read back
// through `readBack` before the next step uses it, so the toolkit's rounding
// carries on as the window sees it.
Geometry windowPlacement(float screenWidth, float screenHeight,
                         const std::function<float(float)> &readBack = {});

} // namespace plenix
