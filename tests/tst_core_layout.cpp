// The main window's geometry: design ratios, proportional layout and the
// window's place on the screen.
#include "layout.h"

#include "coretest.h"

#include <cmath>

using namespace plenix;
using namespace coretest;

namespace {

// "left top width height", to the given number of decimals.
std::string shown(float left, float top, float width, float height, int places)
{
    const auto text = [places](float value) { return QString::number(double(value), 'f', places); };
    return QStringList{text(left), text(top), text(width), text(height)}.join(u' ').toStdString();
}

std::string shown(const Geometry &g)
{
    return shown(g.left, g.top, g.width, g.height, 1);
}

std::string shown(const ControlRatios &r, int places)
{
    return shown(r.leftRatio, r.topRatio, r.widthRatio, r.heightRatio, places);
}

ControlRatios ratiosOf(std::string_view name)
{
    for (const DesignControl &control : DesignControls) {
        if (control.name == name)
            return ratiosFromGeometry(control.geometry, DesignClientWidth, DesignClientHeight);
    }
    return {};
}

} // namespace

class TestLayout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void designRatios_data()
    {
        QTest::addColumn<std::string>("ratios");
        QTest::newRow("calculateButton") << "0.7466 0.0557 0.0876 0.0714"s;
        QTest::newRow("routeView") << "0.0630 0.2091 0.9144 0.7404"s;
        QTest::newRow("descriptionEdit") << "0.2501 0.0279 0.4577 0.1272"s;
        QTest::newRow("itemsLabel") << "0.0128 0.5157 0.0404 0.2108"s;
        QTest::newRow("descriptionLabel") << "0.1659 0.0418 0.0748 0.1132"s;
    }

    void designRatios()
    {
        QFETCH(std::string, ratios);
        QCOMPARE(shown(ratiosOf(QTest::currentDataTag()), 4), ratios);
    }

    void layoutScalesWithTheClientArea()
    {
        QCOMPARE(shown(geometryFromRatios(ratiosOf("routeView"), 12000, 7000)),
                 "755.9 1463.4 10972.4 5182.9"s);
        QCOMPARE(shown(geometryFromRatios(ratiosOf("calculateButton"), 12000, 7000)),
                 "8959.1 390.2 1051.2 500.0"s);
        // Minimised, or a toolkit's odd negative size: nothing below zero.
        const ControlRatios ratios{0.5f, 0.25f, 0.1f, 0.2f};
        QCOMPARE(shown(geometryFromRatios(ratios, 0, 0)), "0.0 0.0 0.0 0.0"s);
        QCOMPARE(shown(geometryFromRatios(ratios, -100, -50)), "0.0 0.0 0.0 0.0"s);
        // A zero client side cannot give a fraction: its two stay 0.
        QCOMPARE(shown(ratiosFromGeometry({100, 200, 300, 400}, 0, 1000), 2),
                 "0.00 0.20 0.00 0.40"s);
        QCOMPARE(shown(ratiosFromGeometry({100, 200, 300, 400}, 1000, 0), 2),
                 "0.10 0.00 0.30 0.00"s);
    }

    void placesWindow()
    {
        // A 1024 by 768 screen at 15 twips per pixel; right of and below centre.
        QCOMPARE(shown(windowPlacement(15360, 11520)), "2267.1 2419.2 12595.2 8064.0"s);
        QCOMPARE(shown(windowPlacement(0, 0)), "0.0 0.0 0.0 0.0"s);
        // A toolkit that adds 10 twips to every size it is given: the place
        // follows the size the window really got, 8074 by 12605.2.
        std::vector<float> set;
        const Geometry g = windowPlacement(15360, 11520, [&set](float value) {
            set.push_back(value);
            return value + 10;
        });
        QVERIFY(set.size() >= 2 && std::abs(set[0] - 8064) < 0.01f); // height first
        QVERIFY(std::abs(g.top - 2412.2f) < 0.02f || std::abs(g.top - 2422.2f) < 0.02f);
        QVERIFY(std::abs(g.left - 2258.936f) < 0.02f || std::abs(g.left - 2268.936f) < 0.02f);
    }

    void twipsAndPixels()
    {
        // 15 twips a pixel at 96 dots per inch; to the nearest whole pixel.
        QCOMPARE(twipsToPixels(2010, 96), 134);
        QCOMPARE(twipsToPixels(7.5, 96), 1);
        QCOMPARE(twipsToPixels(7.4, 96), 0);
        QCOMPARE(twipsToPixels(1440, 120), 120);
        QCOMPARE(pixelsToTwips(1024, 96), 15360.0f);
        QCOMPARE(pixelsToTwips(1, 120), 12.0f);
    }
};

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_core_layout.moc"
