// The main window's geometry: design ratios, proportional layout and the
// window's place on the screen.
#include "layout.h"

#include "coretest.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <string>
#include <vector>

using namespace plenix;

namespace {

QByteArray describe(const Geometry &g)
{
    return QStringLiteral("left %1 top %2 width %3 height %4")
        .arg(double(g.left))
        .arg(double(g.top))
        .arg(double(g.width))
        .arg(double(g.height))
        .toLatin1();
}

bool near(float actual, double expected, double tolerance)
{
    return std::abs(double(actual) - expected) <= tolerance;
}

const DesignControl &design(std::string_view name)
{
    for (const DesignControl &control : DesignControls) {
        if (control.name == name)
            return control;
    }
    qFatal("no design control");
}

} // namespace

class TestLayout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void designGeometryAsDrawn();
    void designRatios_data();
    void designRatios();
    void ratiosAreSingleQuotients();
    void zeroClientSideLeavesItsRatiosAtZero();
    void layoutOf12000By7000_data();
    void layoutOf12000By7000();
    void layoutScalesAndNeverGoesNegative();
    void windowPlacementOnA1024By768Screen();
    void windowPlacementUsesReadBackSize();
    void windowPlacementOnEmptyScreen();
};

void TestLayout::designGeometryAsDrawn()
{
    QCOMPARE(DesignClientWidth, 15240.0f);
    QCOMPARE(DesignClientHeight, 8610.0f);
    const Geometry grid = design("grdList").geometry;
    QCOMPARE(grid.left, 960.0f);
    QCOMPARE(grid.top, 1800.0f);
    QCOMPARE(grid.width, 13935.0f);
    QCOMPARE(grid.height, 6375.0f);
    QCOMPARE(DesignControls.size(), std::size_t(5));
}

void TestLayout::designRatios_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::newRow("cmdCalculate") << QByteArray("cmdCalculate") << 0.7466 << 0.0557 << 0.0876 << 0.0714;
    QTest::newRow("grdList") << QByteArray("grdList") << 0.0630 << 0.2091 << 0.9144 << 0.7404;
    QTest::newRow("txtDescription") << QByteArray("txtDescription") << 0.2501 << 0.0279 << 0.4577 << 0.1272;
    QTest::newRow("lblItems") << QByteArray("lblItems") << 0.0128 << 0.5157 << 0.0404 << 0.2108;
    QTest::newRow("lblDescription") << QByteArray("lblDescription") << 0.1659 << 0.0418 << 0.0748 << 0.1132;
}

void TestLayout::designRatios()
{
    QFETCH(QByteArray, name);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, width);
    QFETCH(double, height);
    const ControlRatios ratios = fnRatiosFromGeometry(design(name.toStdString()).geometry,
                                                      DesignClientWidth, DesignClientHeight);
    QVERIFY(near(ratios.LeftRatio, left, 5e-5));
    QVERIFY(near(ratios.TopRatio, top, 5e-5));
    QVERIFY(near(ratios.WidthRatio, width, 5e-5));
    QVERIFY(near(ratios.HeightRatio, height, 5e-5));
}

void TestLayout::ratiosAreSingleQuotients()
{
    const Geometry geometry{3811, 240, 6975, 1095};
    const ControlRatios ratios = fnRatiosFromGeometry(geometry, 15240, 8610);
    QCOMPARE(ratios.WidthRatio, 6975.0f / 15240.0f);
    QCOMPARE(ratios.HeightRatio, 1095.0f / 8610.0f);
    QCOMPARE(ratios.TopRatio, 240.0f / 8610.0f);
    QCOMPARE(ratios.LeftRatio, 3811.0f / 15240.0f);
}

void TestLayout::zeroClientSideLeavesItsRatiosAtZero()
{
    const Geometry geometry{100, 200, 300, 400};
    const ControlRatios noWidth = fnRatiosFromGeometry(geometry, 0, 1000);
    QVERIFY(noWidth.WidthRatio == 0.0f);
    QVERIFY(noWidth.LeftRatio == 0.0f);
    QVERIFY(noWidth.HeightRatio == 0.4f);
    QVERIFY(noWidth.TopRatio == 0.2f);
    const ControlRatios noHeight = fnRatiosFromGeometry(geometry, 1000, 0);
    QVERIFY(noHeight.WidthRatio == 0.3f);
    QVERIFY(noHeight.LeftRatio == 0.1f);
    QVERIFY(noHeight.HeightRatio == 0.0f);
    QVERIFY(noHeight.TopRatio == 0.0f);
}

void TestLayout::layoutOf12000By7000_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::newRow("grdList") << QByteArray("grdList") << 755.9 << 1463.4 << 10972.4 << 5182.9;
    QTest::newRow("cmdCalculate") << QByteArray("cmdCalculate") << 8959.1 << 390.2 << 1051.2 << 500.0;
}

void TestLayout::layoutOf12000By7000()
{
    QFETCH(QByteArray, name);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, width);
    QFETCH(double, height);
    const ControlRatios ratios = fnRatiosFromGeometry(design(name.toStdString()).geometry,
                                                      DesignClientWidth, DesignClientHeight);
    const Geometry g = fnGeometryFromRatios(ratios, 12000, 7000);
    QVERIFY2(near(g.left, left, 0.06), describe(g).constData());
    QVERIFY2(near(g.top, top, 0.06), describe(g).constData());
    QVERIFY2(near(g.width, width, 0.06), describe(g).constData());
    QVERIFY2(near(g.height, height, 0.06), describe(g).constData());
}

void TestLayout::layoutScalesAndNeverGoesNegative()
{
    const ControlRatios ratios{0.5f, 0.25f, 0.1f, 0.2f};
    const Geometry g = fnGeometryFromRatios(ratios, 1000, 800);
    QVERIFY2(g.left == 200.0f && g.top == 80.0f && g.width == 500.0f && g.height == 200.0f,
             describe(g).constData());

    // Back at the design size every control is where it was drawn.
    for (const DesignControl &control : DesignControls) {
        const ControlRatios r = fnRatiosFromGeometry(control.geometry, DesignClientWidth, DesignClientHeight);
        const Geometry back = fnGeometryFromRatios(r, DesignClientWidth, DesignClientHeight);
        QVERIFY2(near(back.left, double(control.geometry.left), 0.01), describe(back).constData());
        QVERIFY2(near(back.top, double(control.geometry.top), 0.01), describe(back).constData());
        QVERIFY2(near(back.width, double(control.geometry.width), 0.01), describe(back).constData());
        QVERIFY2(near(back.height, double(control.geometry.height), 0.01), describe(back).constData());
    }

    const Geometry minimised = fnGeometryFromRatios(ratios, 0, 0);
    QVERIFY2(minimised.left == 0.0f && minimised.top == 0.0f && minimised.width == 0.0f
                 && minimised.height == 0.0f,
             describe(minimised).constData());
    const Geometry odd = fnGeometryFromRatios(ratios, -100, -50);
    QVERIFY2(odd.left >= 0.0f && odd.top >= 0.0f && odd.width >= 0.0f && odd.height >= 0.0f,
             describe(odd).constData());
}

void TestLayout::windowPlacementOnA1024By768Screen()
{
    const Geometry g = fnWindowPlacement(15360, 11520);
    QVERIFY2(near(g.height, 8064.0, 0.01), describe(g).constData());
    QVERIFY2(near(g.width, 12595.2, 0.01), describe(g).constData());
    QVERIFY2(near(g.top, 2419.2, 0.01), describe(g).constData());
    QVERIFY2(near(g.left, 2267.136, 0.01), describe(g).constData());
}

void TestLayout::windowPlacementUsesReadBackSize()
{
    // A toolkit that adds a 10-twip frame to every size it is given: the
    // place is worked out from the size the window really got.
    std::vector<float> setValues;
    const auto readBack = [&setValues](float value) {
        setValues.push_back(value);
        return value + 10.0f;
    };
    const Geometry g = fnWindowPlacement(15360, 11520, readBack);
    QVERIFY(setValues.size() >= 2);
    QVERIFY(near(setValues[0], 8064.0, 0.01));   // height first
    QVERIFY(near(setValues[1], 12595.2, 0.01));  // then width
    // top = 8064 - 8074 * 0.7 and left = 12595.2 - 12605.2 * 0.82, as set or
    // as read back.
    QVERIFY2(near(g.top, 2412.2, 0.02) || near(g.top, 2422.2, 0.02), describe(g).constData());
    QVERIFY2(near(g.left, 2258.936, 0.02) || near(g.left, 2268.936, 0.02), describe(g).constData());
    QVERIFY2(near(g.height, 8064.0, 0.01) || near(g.height, 8074.0, 0.01), describe(g).constData());
    QVERIFY2(near(g.width, 12595.2, 0.01) || near(g.width, 12605.2, 0.01), describe(g).constData());
}

void TestLayout::windowPlacementOnEmptyScreen()
{
    const Geometry g = fnWindowPlacement(0, 0);
    QVERIFY2(g.left == 0.0f && g.top == 0.0f && g.width == 0.0f && g.height == 0.0f, describe(g).constData());
}

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_core_layout.moc"
