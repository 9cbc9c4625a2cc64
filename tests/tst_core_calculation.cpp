// SPDX-License-Identifier: GPL-3.0-or-later
// The airflow formulas and the edges of the Calculate pass that the golden
// routes leave out: the 16-bit quantity, guards, overflow, stale markers,
// and what the pass leaves alone.
#include "airflow.h"
#include "calculation.h"

#include "coretest.h"

#include <cmath>
#include <limits>

using namespace plenix;
using namespace coretest;

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();

} // namespace

class TestCalculation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Worked out in double and rounded to single once; one unit in the last
    // place leaves room for the order of operations but none for a wrong
    // constant or a second rounding.
    void formulasGiveListedValues()
    {
        // clang-format off
        const struct { float actual, expected; } values[] = {
            {velocity(1000, 12), 1273.2394f}, {velocity(500, 8), 1432.3943f},
            {velocityPressure(4005), 1}, {velocityPressure(-1273.2394f), 0.10106833f},
            {frictionLoss(2, 50, 1000, 12), 0.20915978f}, {frictionLoss(1, 25, 500, 8), 0.10726038f},
            {frictionLoss(-1, 100, 1000, 12), -0.20915978f}, {fittingLoss(32767, 0.10106833f, 1), 3311.7061f}};
        // clang-format on
        for (const auto &v : values) {
            QVERIFY2(std::abs(v.actual - v.expected) <=
                         std::nextafter(v.expected, Inf) - v.expected,
                     qPrintable(QString::number(double(v.actual), 'g', 9)));
        }
    }

    void calculates_data()
    {
        QTest::addColumn<std::vector<std::string>>("route");
        for (const std::vector<std::string> &c : caseFile("calculation.cases"))
            QTest::newRow(c.at(0).c_str()) << c;
    }

    void calculates()
    {
        QFETCH(std::vector<std::string>, route);
        RouteTable table;
        table.setUp();
        putRows(table, route.at(1));
        QVERIFY(!calculate(table).stopped);
        std::string results = rowText(table, 1, 7, 10);
        for (int row = 2; row <= 1 + int(std::ranges::count(route.at(2), '\n')); ++row)
            results += '\n' + rowText(table, row, 7, 10);
        QCOMPARE(results, route.at(2));
    }

    // Only the result columns change, in one report, and the cursor goes home.
    void touchesOnlyResultsAndGoesHome()
    {
        RouteTable table, expected;
        table.setUp();
        expected.setUp();
        putRows(table, "|1000|12|100\n|||||0.28|||||spare");
        putRows(expected, "|1000|12|100|||0.21|0.1|1273|0.21\n|||||0.28|0.03|0.1|1273|0.24|spare");
        moveAway(table);
        ChangeLog log(table);
        calculate(table);
        QVERIFY(snapshot(table) == snapshot(expected));
        QCOMPARE(cursor(table), Home);
        QCOMPARE(log.changes.size(), std::size_t(1));
        QVERIFY(log.changes.front().cells == (CellRange{1, 7, 2, 10}));
    }

    // The upper of two rows that hold both a length and a coefficient stops
    // the pass; only the search for the last row moved the cursor.
    void validationStopsWithoutGoingHome()
    {
        RouteTable table;
        table.setUp();
        putRows(table, "|1000|12|100\n|||5||0.28\n\n|||7||1");
        moveAway(table);
        const CalculationOutcome outcome = calculate(table);
        QVERIFY(outcome.stopped);
        QCOMPARE(int(outcome.row), 2);
        QCOMPARE(rowText(table, 1, 7, 10), "|||"s);
        QCOMPARE(cursor(table), "30,1 30,1 top 28 left 5"s);
    }
};

QTEST_APPLESS_MAIN(TestCalculation)
#include "tst_core_calculation.moc"
