// The airflow formulas and the Calculate pass: results, running totals, the
// validation stop, markers.
#include "airflow.h"
#include "calculation.h"

#include "coretest.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace plenix;
using namespace coretest;

namespace {

// A 12 in main with two branch entries around a text line, then a 10 in duct
// and a fitting of coefficient 1; its results as the worked example gives them.
const char *const WorkedExample =
    "|1000|12|100\n|||||0.28\n||||Supply\n2|||||0.28\n||10|20\n|||||1.00";
const char *const WorkedResults = "0.21|0.1|1273|0.21\n0.03|0.1|1273|0.24\n|||0.24\n"
                                  "0.06|0.1|1273|0.3\n0.1|0.21|1833|0.4\n0.21|0.21|1833|0.61";
const char *const DivZero = "#DIV/0!|0.||#DIV/0!\n0.21|0.1|1273|#DIV/0!\n|||#DIV/0!";

// Routes as typed and the results Calculate gives them, row by row:
// "Item SP|VP|Vel.|Route SP".
// clang-format off
const struct { const char *tag, *route, *expected; } Routes[] = {
    {"worked example", WorkedExample, WorkedResults},
    // Flow typed into a text row is in force for the duct below it.
    {"flow and diameter carry down", "|1000|12||Main\n|500\n||8|25\n\n|||25",
     "|||0.\n|||0.\n0.11|0.13|1432|0.11\n|||0.11\n0.11|0.13|1432|0.22"},
    {"quantity does not carry", "2|1000|12|50\n|||100\n|||||0.28",
     "0.21|0.1|1273|0.21\n0.21|0.1|1273|0.42\n0.03|0.1|1273|0.45"},
    // A fitting of coefficient 1 at 0.10107 in wg shows the quantity used.
    {"qty 2.5 is 2", "2.5|1000|12|||1", "0.2|0.1|1273|0.2"},
    {"qty 3.5 is 4", "3.5|1000|12|||1", "0.4|0.1|1273|0.4"},
    {"qty -2.5 is -2", "-2.5|1000|12|||1", "-0.2|0.1|1273|-0.2"},
    {"qty 32767", "32767|1000|12|||1", "3311.71|0.1|1273|3311.71"},
    {"qty -32768", "-32768|1000|12|||1", "-3311.81|0.1|1273|-3311.81"},
    // Out of the 16-bit range: velocity and pressure still show.
    {"qty 40000 in a duct row", "|1000|12|100\n40000|||100\n|||100\n||||Tail",
     "0.21|0.1|1273|0.21\n#NUM!|0.1|1273|#NUM!\n0.21|0.1|1273|#NUM!\n|||#NUM!"},
    {"qty 32767.5 rounds out of range", "|1000|12|100\n32767.5|||||1\n|||100",
     "0.21|0.1|1273|0.21\n#NUM!|0.1|1273|#NUM!\n0.21|0.1|1273|#NUM!"},
    {"qty out of range in a text row", "|1000|12|100\n40000||||Note\n|||100",
     "0.21|0.1|1273|0.21\n|||0.21\n0.21|0.1|1273|0.42"},
    // Row 2 lost its length after an earlier pass: its results stay and count.
    {"text row keeps stale results", "|1000|12|100\n||||||0.5|x|y|old\n||||Note",
     "0.21|0.1|1273|0.21\n0.5|x|y|0.71\n|||0.71"},
    {"row used only by stale results", "|1000|12|100\n\n||||||0.1\n\n||||||||999",
     "0.21|0.1|1273|0.21\n|||0.21\n0.1|||0.31\n|||0.31\n||999|0.31\n|||"},
    {"coefficient 0 runs friction", "|1000|12|||0", "0.|0.1|1273|0."},
    {"coefficient negative", "|1000|12|||-0.5", "0.|0.1|1273|0."},
    {"fitting without diameter", "|1000||||0.5", "0.|0.||0."},
    {"zero length without diameter", "|1000||0", "0.|0.||0."},
    {"no diameter", "|1000||100\n|1000|12|100\n||||After", DivZero},
    {"diameter 0", "|1000|0|100\n|1000|12|100\n||||After", DivZero},
    {"no diameter, no flow", "|||10\n|1000|12|100\n||||After", DivZero},
    {"no diameter, negative length", "|1000||-10\n|1000|12|100\n||||After", DivZero},
    {"no diameter, negative flow", "|-1000||100\n|1000|12|100", "0.|0.||0.\n0.21|0.1|1273|0.21"},
    {"stale marker in a text row", "|1000|12|100\n||||||#DIV/0!\n|||100",
     "0.21|0.1|1273|0.21\n#DIV/0!|||#DIV/0!\n0.21|0.1|1273|#DIV/0!"},
    // As in a spreadsheet's sum, the route shows its first failure.
    {"the first marker of the route wins", "|1000||100\n40000|1000|12|100",
     "#DIV/0!|0.||#DIV/0!\n#NUM!|0.1|1273|#DIV/0!"},
    {"flow 1E39", "|1E39|12|100\n||||After", "#NUM!|#NUM!|#NUM!|#NUM!\n|||#NUM!"},
    {"length 1E39", "|1000|12|1E39\n||||After", "#NUM!|0.1|1273|#NUM!\n|||#NUM!"},
    {"coefficient 1E39", "|1000|12|||1E39\n||||After", "#NUM!|0.1|1273|#NUM!\n|||#NUM!"},
    // A finite but enormous pressure whose product with 10 overflows; the
    // stale 0.55 must not stay and enter the total.
    {"fitting product overflows", "|2E20|1|||10|0.55\n|1000|12|100",
     "#NUM!|83830110000000000000000000000000000000.|36669290000000000000000|#NUM!\n"
     "0.21|0.1|1273|#NUM!"},
};
// clang-format on

// "Item SP|VP|Vel.|Route SP" of as many rows as `like` has lines.
std::string results(const RouteTable &table, const std::string &like)
{
    std::string text = rowText(table, 1, 7, 10);
    for (int row = 2; row <= 1 + int(std::count(like.begin(), like.end(), '\n')); ++row)
        text += '\n' + rowText(table, row, 7, 10);
    return text;
}

constexpr float Inf = std::numeric_limits<float>::infinity();

const std::string SeparateRows =
    "Length and Loss Coef. entries should be on separate rows.\rInspect row: ";

} // namespace

class TestCalculation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formulasGiveListedValues()
    {
        // The formulas worked out in double and rounded to single once; one
        // unit in the last place leaves room for the order of operations but
        // none for a wrong constant or a second rounding.
        // clang-format off
        const struct { float actual, expected; } values[] = {
            {velocity(1000, 12), 1273.2394f}, {velocity(500, 8), 1432.3943f},
            {velocity(1000, 10), 1833.4647f}, {velocityPressure(4005), 1},
            {velocityPressure(1273.2394f), 0.10106833f},
            {velocityPressure(-1273.2394f), 0.10106833f},
            {frictionLoss(1, 100, 1000, 12), 0.20915978f},
            {frictionLoss(2, 50, 1000, 12), 0.20915978f},
            {frictionLoss(1, 25, 500, 8), 0.10726038f},
            {frictionLoss(-1, 100, 1000, 12), -0.20915978f},
            {fittingLoss(2, 0.10107f, 0.28f), 0.0565992f},
            {fittingLoss(32767, 0.10106833f, 1), 3311.7061f}};
        // clang-format on
        for (const auto &v : values) {
            QVERIFY2(std::abs(v.actual - v.expected) <=
                         std::nextafter(v.expected, Inf) - v.expected,
                     qPrintable(QString::number(double(v.actual), 'g', 9)));
        }
    }

    void guardsAndUndefinedValues()
    {
        QVERIFY(velocity(1000, 0) == 0 && velocity(-1000, 0) == 0);
        // A negative diameter turns nothing round; a negative flow does.
        QVERIFY(velocity(1000, -12) == velocity(1000, 12));
        QVERIFY(velocity(-1000, 12) == -velocity(1000, 12));
        // length, flow, diameter: a zero guard, or a negative base under a
        // fractional power, loses nothing.
        const float noLoss[][3] = {{0, 1000, 0},     {0, 1000, 12},    {100, 0, 12},
                                   {100, -1000, 12}, {100, 1000, -12}, {100, -1000, 0}};
        for (const auto &run : noLoss)
            QVERIFY(frictionLoss(1, run[0], run[1], run[2]) == 0);
        // A zero diameter under a length keeps the quotient, for "#DIV/0!".
        QCOMPARE(frictionLoss(1, 100, 1000, 0), Inf);
        QCOMPARE(frictionLoss(-1, 100, 1000, 0), -Inf);
        QVERIFY(std::isnan(frictionLoss(1, 100, 0, 0)));
        // Beyond the single range: infinities, not undefined conversions.
        for (const float large : {fittingLoss(2, 3e38f, 1), velocity(3e38f, 0.001f),
                                  velocityPressure(3e38f), frictionLoss(1, 1e30f, 1e30f, 1)})
            QCOMPARE(large, Inf);
        QCOMPARE(fittingLoss(-2, 3e38f, 1), -Inf);
    }

    void calculates_data()
    {
        QTest::addColumn<std::string>("route");
        QTest::addColumn<std::string>("expected");
        for (const auto &[tag, route, expected] : Routes)
            QTest::newRow(tag) << std::string(route) << std::string(expected);
    }

    void calculates()
    {
        QFETCH(std::string, route);
        QFETCH(std::string, expected);
        RouteTable table;
        table.setUp();
        putRows(table, route);
        QVERIFY(!calculate(table).stopped);
        QCOMPARE(results(table, expected), expected);
    }

    void workedExampleTouchesOnlyResultsAndGoesHome()
    {
        RouteTable table;
        table.setUp();
        putRows(table, WorkedExample);
        table.setCellText(2, RouteTable::ColSpare, "spare");
        RouteTable expected;
        expected.setUp();
        putRows(expected, WorkedExample);
        putRows(expected, WorkedResults, 1, RouteTable::ColItemSP);
        expected.setCellText(2, RouteTable::ColSpare, "spare");
        moveAway(table);
        ChangeLog log(table);
        calculate(table);
        QVERIFY(snapshot(table) == snapshot(expected));
        QCOMPARE(cursor(table), Home);
        // One report for the whole pass.
        QCOMPARE(log.changes.size(), std::size_t(1));
        QCOMPARE(log.changes.front().cells, (CellRange{1, 7, 6, 10}));
        QVERIFY(log.changes.front().cursorMoved);
        calculate(table);
        QVERIFY(snapshot(table) == snapshot(expected));
    }

    void validationStopsBeforeAnyCell_data()
    {
        QTest::addColumn<std::string>("route");
        QTest::addColumn<int>("row");
        QTest::newRow("length and coefficient in row 3")
            << "|1000|12|100||||0.99|||9\n|||||0.28\n|||10||0.5\n|||10"s << 3;
        QTest::newRow("a blank length counts")
            << "|1000|12|100||||0.99|||9\n|||||0.28\n||| ||0.5\n|||10"s << 3;
        QTest::newRow("the upper of two rows") << "|1000|12|100\n|||5||0.28\n\n|||7||1"s << 2;
        QTest::newRow("row 60") << std::string(59, '\n') + "|1000|12|1||1" << 60;
    }

    void validationStopsBeforeAnyCell()
    {
        QFETCH(std::string, route);
        QFETCH(int, row);
        RouteTable table;
        table.setUp();
        putRows(table, route);
        moveAway(table);
        const auto before = snapshot(table);
        const CalculationOutcome outcome = calculate(table);
        QVERIFY(outcome.stopped);
        QCOMPARE(int(outcome.row), row);
        QCOMPARE(outcome.message, SeparateRows + std::to_string(row));
        QVERIFY(snapshot(table) == before);
        // Only the search for the last row moved the cursor: no going home.
        QCOMPARE(cursor(table), "at 30,1 selecting 30,1-30,1 top 28 left 5"s);
    }

    void markersClearOnceDiameterIsEntered()
    {
        RouteTable table;
        table.setUp();
        putRows(table, "|1000||100\n|||100\n|||||0.28");
        calculate(table);
        QCOMPARE(rowText(table, 3, 7, 10), "0.|0.||#DIV/0!"s);
        table.setCellText(1, RouteTable::ColDiameter, "12");
        calculate(table);
        QCOMPARE(results(table, "\n\n"),
                 "0.21|0.1|1273|0.21\n0.21|0.1|1273|0.42\n0.03|0.1|1273|0.45"s);
    }
};

QTEST_APPLESS_MAIN(TestCalculation)
#include "tst_core_calculation.moc"
