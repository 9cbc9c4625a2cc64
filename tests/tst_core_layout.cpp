// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's geometry: proportional layout, the window's place on the
// screen, twips and pixels.
#include "layout.h"

#include "coretest.h"

using namespace plenix;
using namespace coretest;

namespace {
// "left top width height", to one decimal.
std::string shown(const Geometry &g)
{
    return QString::asprintf("%.1f %.1f %.1f %.1f", g.left, g.top, g.width, g.height).toStdString();
}
} // namespace

class TestLayout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Fractions of one client area give the same places in another; a zero
    // client side cannot give a fraction, and nothing goes below zero.
    void layoutScalesWithTheClientArea()
    {
        const Geometry design{100, 200, 300, 400};
        QCOMPARE(shown(geometryFromRatios(ratiosFromGeometry(design, 1000, 2000), 3000, 1000)),
                 "300.0 100.0 900.0 200.0"s);
        QCOMPARE(shown(geometryFromRatios(ratiosFromGeometry(design, 0, 2000), 3000, 1000)),
                 "0.0 100.0 0.0 200.0"s);
        QCOMPARE(shown(geometryFromRatios(ratiosFromGeometry(design, 1000, 0), 3000, 1000)),
                 "300.0 0.0 900.0 0.0"s);
        QCOMPARE(shown(geometryFromRatios({0.5f, 0.25f, 0.1f, 0.2f}, -100, -50)),
                 "0.0 0.0 0.0 0.0"s);
    }

    void placesWindow()
    {
        // A 1024 by 768 screen at 15 twips per pixel; right of and below centre.
        QCOMPARE(shown(windowPlacement(15360, 11520)), "2267.1 2419.2 12595.2 8064.0"s);
        // A toolkit that adds 10 twips to every size it is given: the place
        // follows the size the window really got, height first.
        std::vector<float> set;
        const Geometry g = windowPlacement(15360, 11520, [&set](float value) {
            set.push_back(value);
            return value + 10;
        });
        QCOMPARE(set.size(), std::size_t(4));
        QCOMPARE(shown({set[0], set[1], set[2], set[3]}), "8064.0 12595.2 2412.2 2258.9"s);
        QCOMPARE(shown(g), "2268.9 2422.2 12605.2 8074.0"s);
    }

    // 15 twips a pixel at 96 dots per inch; to the nearest whole pixel.
    void twipsAndPixels()
    {
        QCOMPARE(twipsToPixels(2010, 96), 134);
        QCOMPARE(twipsToPixels(7.5, 96), 1);
        QCOMPARE(twipsToPixels(7.4, 96), 0);
        QCOMPARE(twipsToPixels(1440, 120), 120);
        QCOMPARE(pixelsToTwips(1, 120), 12.0f);
    }
};

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_core_layout.moc"
