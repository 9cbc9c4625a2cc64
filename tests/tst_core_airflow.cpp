// Velocity, velocity pressure, friction and fitting losses of round ducts.
#include "airflow.h"

#include "coretest.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace plenix;

namespace {

constexpr float floatInf = std::numeric_limits<float>::infinity();

// The formulas as written down for a duct designer, evaluated here in double
// and rounded once, as the functions promise.
float expectedVelocity(float flow, float diameter)
{
    const double a = 4.0 * static_cast<double>(flow);
    const double b = std::pow(static_cast<double>(diameter) / 12.0, 2.0) * 3.141593;
    return static_cast<float>(a / b);
}

float expectedFriction(std::int16_t qty, float length, float flow, float diameter)
{
    double t = 0.00109136 * qty * static_cast<double>(length);
    t *= std::pow(static_cast<double>(flow), 1.9);
    return static_cast<float>(t / std::pow(static_cast<double>(diameter), 5.02));
}

bool near(double actual, double expected, double tolerance)
{
    return std::abs(actual - expected) <= tolerance;
}

QByteArray describe(double actual, double expected)
{
    return QStringLiteral("actual %1, expected %2")
        .arg(actual, 0, 'g', 10)
        .arg(expected, 0, 'g', 10)
        .toLatin1();
}

// Two units in the last place of a float: room for the order of the double
// operations, none for a wrong constant or a second rounding to single.
bool withinTwoUlps(float actual, float expected)
{
    const float step = std::nextafter(expected, floatInf) - expected;
    return std::abs(actual - expected) <= 2 * step;
}

} // namespace

class TestAirflow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void velocityOfListedDucts_data();
    void velocityOfListedDucts();
    void velocityOfZeroDiameterIsZero();
    void velocitySignFollowsFlowOnly();
    void velocityPressure_data();
    void velocityPressure();
    void frictionOfListedDucts_data();
    void frictionOfListedDucts();
    void frictionGuardsAndUndefinedPowers_data();
    void frictionGuardsAndUndefinedPowers();
    void frictionOfZeroDiameterKeepsTheQuotient();
    void fittingLoss_data();
    void fittingLoss();
    void tooLargeResultsAreInfinite();
};

void TestAirflow::velocityOfListedDucts_data()
{
    QTest::addColumn<float>("flow");
    QTest::addColumn<float>("diameter");
    QTest::addColumn<double>("approximately");
    QTest::newRow("1000 cfm in 12 in") << 1000.0f << 12.0f << 1273.24;
    QTest::newRow("500 cfm in 8 in") << 500.0f << 8.0f << 1432.39;
    QTest::newRow("1000 cfm in 10 in") << 1000.0f << 10.0f << 1833.46;
    QTest::newRow("1 cfm in 12 in") << 1.0f << 12.0f << 1.27324;
}

void TestAirflow::velocityOfListedDucts()
{
    QFETCH(float, flow);
    QFETCH(float, diameter);
    QFETCH(double, approximately);
    const float velocity = fnVelocity(flow, diameter);
    QVERIFY2(near(velocity, approximately, approximately * 5e-6), describe(velocity, approximately).constData());
    const float exact = expectedVelocity(flow, diameter);
    QVERIFY2(withinTwoUlps(velocity, exact), describe(velocity, exact).constData());
}

void TestAirflow::velocityOfZeroDiameterIsZero()
{
    QCOMPARE(fnVelocity(1000.0f, 0.0f), 0.0f);
    QCOMPARE(fnVelocity(0.0f, 0.0f), 0.0f);
    QCOMPARE(fnVelocity(-1000.0f, 0.0f), 0.0f);
}

void TestAirflow::velocitySignFollowsFlowOnly()
{
    const float forward = fnVelocity(1000.0f, 12.0f);
    QCOMPARE(fnVelocity(1000.0f, -12.0f), forward);
    QCOMPARE(fnVelocity(-1000.0f, 12.0f), -forward);
    QCOMPARE(fnVelocity(-1000.0f, -12.0f), -forward);
    QCOMPARE(fnVelocity(0.0f, 12.0f), 0.0f);
}

void TestAirflow::velocityPressure_data()
{
    QTest::addColumn<float>("velocity");
    QTest::addColumn<double>("expected");
    QTest::newRow("zero") << 0.0f << 0.0;
    QTest::newRow("4005 fpm is one inch") << 4005.0f << 1.0;
    QTest::newRow("1273.24 fpm") << 1273.2394f << 0.10107;
    QTest::newRow("1833.46 fpm") << 1833.4647f << 0.20958;
    QTest::newRow("1432.39 fpm") << 1432.3943f << 0.12791;
    QTest::newRow("negative velocity") << -1273.2394f << 0.10107;
}

void TestAirflow::velocityPressure()
{
    QFETCH(float, velocity);
    QFETCH(double, expected);
    const float vp = fnVelocityPressure(velocity);
    QVERIFY2(near(vp, expected, 1e-5), describe(vp, expected).constData());
    const float exact = static_cast<float>(std::pow(static_cast<double>(velocity) / 4005.0, 2.0));
    QVERIFY2(withinTwoUlps(vp, exact), describe(vp, exact).constData());
}

void TestAirflow::frictionOfListedDucts_data()
{
    QTest::addColumn<int>("qty");
    QTest::addColumn<float>("length");
    QTest::addColumn<float>("flow");
    QTest::addColumn<float>("diameter");
    QTest::addColumn<double>("approximately");
    QTest::newRow("100 ft of 12 in at 1000 cfm") << 1 << 100.0f << 1000.0f << 12.0f << 0.20916;
    QTest::newRow("two runs of 50 ft") << 2 << 50.0f << 1000.0f << 12.0f << 0.20916;
    QTest::newRow("25 ft of 8 in at 500 cfm") << 1 << 25.0f << 500.0f << 8.0f << 0.10726;
    QTest::newRow("20 ft of 10 in at 1000 cfm") << 1 << 20.0f << 1000.0f << 10.0f << 0.10447;
    QTest::newRow("negative quantity") << -1 << 100.0f << 1000.0f << 12.0f << -0.20916;
    QTest::newRow("zero quantity") << 0 << 100.0f << 1000.0f << 12.0f << 0.0;
    QTest::newRow("negative length") << 1 << -100.0f << 1000.0f << 12.0f << -0.20916;
}

void TestAirflow::frictionOfListedDucts()
{
    QFETCH(int, qty);
    QFETCH(float, length);
    QFETCH(float, flow);
    QFETCH(float, diameter);
    QFETCH(double, approximately);
    const auto q = static_cast<std::int16_t>(qty);
    const float loss = fnFrictionLoss(q, length, flow, diameter);
    QVERIFY2(near(loss, approximately, 1e-5), describe(loss, approximately).constData());
    const float exact = expectedFriction(q, length, flow, diameter);
    QVERIFY2(withinTwoUlps(loss, exact), describe(loss, exact).constData());
}

void TestAirflow::frictionGuardsAndUndefinedPowers_data()
{
    QTest::addColumn<float>("length");
    QTest::addColumn<float>("flow");
    QTest::addColumn<float>("diameter");
    QTest::newRow("no length, no diameter") << 0.0f << 1000.0f << 0.0f;
    QTest::newRow("no length") << 0.0f << 1000.0f << 12.0f;
    QTest::newRow("no flow") << 100.0f << 0.0f << 12.0f;
    QTest::newRow("negative flow") << 100.0f << -1000.0f << 12.0f;
    QTest::newRow("negative diameter") << 100.0f << 1000.0f << -12.0f;
    QTest::newRow("negative both") << 100.0f << -1000.0f << -12.0f;
    QTest::newRow("negative flow, no diameter") << 100.0f << -1000.0f << 0.0f;
}

void TestAirflow::frictionGuardsAndUndefinedPowers()
{
    QFETCH(float, length);
    QFETCH(float, flow);
    QFETCH(float, diameter);
    const float loss = fnFrictionLoss(1, length, flow, diameter);
    QVERIFY2(loss == 0.0f, describe(loss, 0.0).constData());
}

void TestAirflow::frictionOfZeroDiameterKeepsTheQuotient()
{
    // Left for the calculation to show as "#DIV/0!".
    QCOMPARE(fnFrictionLoss(1, 100.0f, 1000.0f, 0.0f), floatInf);
    QCOMPARE(fnFrictionLoss(-1, 100.0f, 1000.0f, 0.0f), -floatInf);
    QCOMPARE(fnFrictionLoss(1, -100.0f, 1000.0f, 0.0f), -floatInf);
    QVERIFY(std::isnan(fnFrictionLoss(1, 100.0f, 0.0f, 0.0f)));
    QVERIFY(std::isnan(fnFrictionLoss(0, 100.0f, 1000.0f, 0.0f)));
}

void TestAirflow::fittingLoss_data()
{
    QTest::addColumn<int>("qty");
    QTest::addColumn<float>("vp");
    QTest::addColumn<float>("coef");
    QTest::addColumn<double>("approximately");
    QTest::newRow("two 45 deg branch entries") << 2 << 0.10107f << 0.28f << 0.0566;
    QTest::newRow("one") << 1 << 0.10106833f << 0.28f << 0.028299;
    QTest::newRow("zero quantity") << 0 << 0.10107f << 0.28f << 0.0;
    QTest::newRow("negative quantity") << -3 << 0.2f << 0.5f << -0.3;
    QTest::newRow("largest quantity") << 32767 << 0.10106833f << 1.0f << 3311.7058;
    QTest::newRow("smallest quantity") << -32768 << 0.5f << 1.0f << -16384.0;
}

void TestAirflow::fittingLoss()
{
    QFETCH(int, qty);
    QFETCH(float, vp);
    QFETCH(float, coef);
    QFETCH(double, approximately);
    const float loss = fnFittingLoss(static_cast<std::int16_t>(qty), vp, coef);
    QVERIFY2(near(loss, approximately, std::abs(approximately) * 1e-4 + 1e-9),
             describe(loss, approximately).constData());
    const float exact = static_cast<float>(static_cast<double>(static_cast<float>(qty))
                                           * static_cast<double>(vp) * static_cast<double>(coef));
    QVERIFY2(withinTwoUlps(loss, exact), describe(loss, exact).constData());
}

void TestAirflow::tooLargeResultsAreInfinite()
{
    QCOMPARE(fnFittingLoss(2, 3e38f, 1.0f), floatInf);
    QCOMPARE(fnFittingLoss(-2, 3e38f, 1.0f), -floatInf);
    QCOMPARE(fnFittingLoss(10, 8.383011e37f, 10.0f), floatInf);
    QCOMPARE(fnVelocity(3e38f, 0.001f), floatInf);
    QCOMPARE(fnVelocityPressure(3e38f), floatInf);
    QCOMPARE(fnFrictionLoss(1, 1e30f, 1e30f, 1.0f), floatInf);
    QCOMPARE(fnVelocity(floatInf, 12.0f), floatInf);
}

QTEST_APPLESS_MAIN(TestAirflow)
#include "tst_core_airflow.moc"
