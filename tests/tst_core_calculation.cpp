// The Calculate pass: results, running totals, the validation stop, markers.
#include "calculation.h"

#include "coretest.h"

#include <QByteArray>

#include <array>
#include <string>
#include <vector>

using namespace plenix;

namespace {

using Row = std::array<const char *, 10>; // columns 1..10, nullptr leaves a cell alone

std::string bytes(const QByteArray &text)
{
    return std::string(text.constData(), static_cast<std::size_t>(text.size()));
}

void putRows(RouteTable &table, std::initializer_list<Row> rows, int firstRow = 1)
{
    int row = firstRow;
    for (const Row &cells : rows) {
        for (int col = 1; col <= 10; ++col) {
            const char *text = cells[static_cast<std::size_t>(col - 1)];
            if (text != nullptr)
                table.setCellText(row, col, text);
        }
        ++row;
    }
}

std::vector<std::string> snapshot(const RouteTable &table)
{
    std::vector<std::string> cells;
    for (int row = 0; row < RouteTable::RowCount; ++row) {
        for (int col = 0; col < RouteTable::ColCount; ++col)
            cells.push_back(table.CellText(row, col));
    }
    return cells;
}

// The four result cells of a row: Item SP, VP, Vel., Route SP.
struct Results
{
    std::string item, vp, velocity, total;
};

Results results(const RouteTable &table, int row)
{
    return {table.CellText(row, RouteTable::ColItemSP), table.CellText(row, RouteTable::ColVP),
            table.CellText(row, RouteTable::ColVelocity), table.CellText(row, RouteTable::ColRouteSP)};
}

#define COMPARE_RESULTS(table, row, wantItem, wantVp, wantVelocity, wantTotal)                 \
    do {                                                                                          \
        const Results actual_ = results(table, row);                                              \
        QCOMPARE(actual_.item, std::string(wantItem));                                            \
        QCOMPARE(actual_.vp, std::string(wantVp));                                                \
        QCOMPARE(actual_.velocity, std::string(wantVelocity));                                    \
        QCOMPARE(actual_.total, std::string(wantTotal));                                          \
    } while (false)

const std::string separateRows = "Length and Loss Coef. entries should be on separate rows.\r"
                                 "Inspect row: ";

// The worked example: a 12 in main with a branch entry, a text line, two
// entries, then a 10 in duct and a fitting of coefficient 1.
void putWorkedExample(RouteTable &table)
{
    putRows(table, {
                       Row{"", "1000", "12", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "", "", "0.28", "", "", "", ""},
                       Row{"", "", "", "", "Supply", "", "", "", "", ""},
                       Row{"2", "", "", "", "", "0.28", "", "", "", ""},
                       Row{"", "", "10", "20", "", "", "", "", "", ""},
                       Row{"", "", "", "", "", "1.00", "", "", "", ""},
                   });
}

void checkWorkedExample(const RouteTable &table)
{
    const char *const expected[6][4] = {
        {"0.21", "0.1", "1273", "0.21"}, {"0.03", "0.1", "1273", "0.24"},
        {"", "", "", "0.24"},            {"0.06", "0.1", "1273", "0.3"},
        {"0.1", "0.21", "1833", "0.4"},  {"0.21", "0.21", "1833", "0.61"},
    };
    for (int row = 1; row <= 6; ++row) {
        const auto &cells = expected[row - 1];
        COMPARE_RESULTS(table, row, cells[0], cells[1], cells[2], cells[3]);
    }
}

} // namespace

class TestCalculation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample();
    void workedExampleTwiceGivesTheSameTexts();
    void workedExampleLeavesInputsAndOtherRowsAlone();
    void calculateGoesHome();
    void emptyTableWritesNothing();
    void validationStopsBeforeAnyCell_data();
    void validationStopsBeforeAnyCell();
    void validationReportsTheUpperRow();
    void separateRowsMessageText();
    void totalsAddDisplayedItems();
    void totalsOverSixtyRowsDoNotDrift();
    void flowAndDiameterCarryDown();
    void quantityDoesNotCarry();
    void quantityRoundsHalfToEven_data();
    void quantityRoundsHalfToEven();
    void quantityOutOfRangeGivesNumMarker_data();
    void quantityOutOfRangeGivesNumMarker();
    void quantityOutOfRangeInTextRowIsIgnored();
    void textRowKeepsStaleResultsAndTheirTotal();
    void rowUsedOnlyByStaleResultCounts();
    void zeroOrTextCoefficientRunsFrictionWithNoLength_data();
    void zeroOrTextCoefficientRunsFrictionWithNoLength();
    void fittingWithoutDiameterLosesNothing();
    void ductWithoutDiameterShowsDivZero_data();
    void ductWithoutDiameterShowsDivZero();
    void divZeroRecoversOnceDiameterIsEntered();
    void zeroLengthWithoutDiameterIsNotDivZero();
    void inputsBeyondSingleRangeShowNumMarker_data();
    void inputsBeyondSingleRangeShowNumMarker();
    void fittingOverflowShowsNumMarker();
    void staleMarkerInTextRowPropagates();
    void oneNotificationPerCalculate();
};

void TestCalculation::workedExample()
{
    RouteTable table;
    table.sbGridSetup();
    putWorkedExample(table);
    const CalculationOutcome outcome = sbCalculate(table);
    QVERIFY(!outcome.stopped);
    QVERIFY(outcome.message.empty());
    checkWorkedExample(table);
}

void TestCalculation::workedExampleTwiceGivesTheSameTexts()
{
    RouteTable table;
    table.sbGridSetup();
    putWorkedExample(table);
    sbCalculate(table);
    const auto first = snapshot(table);
    sbCalculate(table);
    QVERIFY(snapshot(table) == first);
    checkWorkedExample(table);
}

void TestCalculation::workedExampleLeavesInputsAndOtherRowsAlone()
{
    RouteTable table;
    table.sbGridSetup();
    putWorkedExample(table);
    table.setCellText(2, 11, "spare");
    auto expected = snapshot(table);
    sbCalculate(table);
    const auto after = snapshot(table);
    // Only columns 7 to 10 of rows 1 to 6 may differ.
    for (int row = 0; row < RouteTable::RowCount; ++row) {
        for (int col = 0; col < RouteTable::ColCount; ++col) {
            const auto at = static_cast<std::size_t>(row * RouteTable::ColCount + col);
            if (row >= 1 && row <= 6 && col >= 7 && col <= 10)
                continue;
            QCOMPARE(after[at], expected[at]);
        }
    }
}

void TestCalculation::calculateGoesHome()
{
    RouteTable table;
    table.sbGridSetup();
    putWorkedExample(table);
    table.setCurrentCell(5, 6);
    table.setSelectionEnd(9, 9);
    table.setTopRow(4);
    table.setLeftCol(3);
    sbCalculate(table);
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selection(), (CellRange{1, 1, 1, 1}));
    QCOMPARE(table.topRow(), Int16(1));
    QCOMPARE(table.leftCol(), Int16(1));
}

void TestCalculation::emptyTableWritesNothing()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(7, 4);
    const auto before = snapshot(table);
    const CalculationOutcome outcome = sbCalculate(table);
    QVERIFY(!outcome.stopped);
    QVERIFY(snapshot(table) == before);
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
}

void TestCalculation::validationStopsBeforeAnyCell_data()
{
    QTest::addColumn<QByteArray>("length");
    QTest::newRow("length 10") << QByteArray("10");
    QTest::newRow("a single blank") << QByteArray(" ");
}

void TestCalculation::validationStopsBeforeAnyCell()
{
    QFETCH(QByteArray, length);
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "12", "100", "", "", "0.99", "", "", "9"},
                       Row{"", "", "", "", "", "0.28", "", "", "", ""},
                       Row{"", "", "", "", "", "0.5", "", "", "", ""},
                       Row{"", "", "", "10", "", "", "", "", "", ""},
                   });
    table.setCellText(3, RouteTable::ColLength, bytes(length));
    table.setCurrentCell(5, 4);
    table.setTopRow(2);
    const auto before = snapshot(table);

    const CalculationOutcome outcome = sbCalculate(table);
    QVERIFY(outcome.stopped);
    QCOMPARE(int(outcome.row), 3);
    QCOMPARE(outcome.message, separateRows + "3");
    QVERIFY(snapshot(table) == before);
    // The pass ends without going home.
    QCOMPARE(table.currentRow(), Int16(5));
    QCOMPARE(table.topRow(), Int16(2));
}

void TestCalculation::validationReportsTheUpperRow()
{
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "12", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "5", "", "0.28", "", "", "", ""},
                       Row{"", "", "", "", "", "", "", "", "", ""},
                       Row{"", "", "", "7", "", "1", "", "", "", ""},
                   });
    const CalculationOutcome outcome = sbCalculate(table);
    QVERIFY(outcome.stopped);
    QCOMPARE(int(outcome.row), 2);
    QCOMPARE(outcome.message, separateRows + "2");

    table.setCellText(60, 4, "1");
    table.setCellText(60, 6, "1");
    table.setCellText(2, 4, "");
    table.setCellText(4, 4, "");
    const CalculationOutcome last = sbCalculate(table);
    QVERIFY(last.stopped);
    QCOMPARE(last.message, separateRows + "60");
}

void TestCalculation::separateRowsMessageText()
{
    QCOMPARE(fnSeparateRowsMessage(3), separateRows + "3");
    QCOMPARE(fnSeparateRowsMessage(60), separateRows + "60");
}

void TestCalculation::totalsAddDisplayedItems()
{
    // Each branch entry loses 0.0283, shown as 0.03: the total follows the
    // texts (0.09), not the exact sum (0.0849).
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "12", "", "", "0.28", "", "", "", ""},
                       Row{"", "", "", "", "", "0.28", "", "", "", ""},
                       Row{"", "", "", "", "", "0.28", "", "", "", ""},
                   });
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.03", "0.1", "1273", "0.03");
    COMPARE_RESULTS(table, 2, "0.03", "0.1", "1273", "0.06");
    COMPARE_RESULTS(table, 3, "0.03", "0.1", "1273", "0.09");
}

void TestCalculation::totalsOverSixtyRowsDoNotDrift()
{
    // Sixty text rows, each holding an old item loss of 0.01.
    RouteTable table;
    table.sbGridSetup();
    for (int row = 1; row <= 60; ++row)
        table.setCellText(row, RouteTable::ColItemSP, "0.01");
    sbCalculate(table);
    for (int row = 1; row <= 60; ++row) {
        std::string expected = std::to_string(row / 100) + ".";
        const int hundredths = row % 100;
        if (hundredths != 0) {
            expected += std::to_string(hundredths / 10);
            if (hundredths % 10 != 0)
                expected += std::to_string(hundredths % 10);
        }
        QCOMPARE(table.CellText(row, RouteTable::ColRouteSP), expected);
    }
}

void TestCalculation::flowAndDiameterCarryDown()
{
    // The flow typed into a text row is in force for the duct below it.
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "12", "", "Main", "", "", "", "", ""},
                       Row{"", "500", "", "", "", "", "", "", "", ""},
                       Row{"", "", "8", "25", "", "", "", "", "", ""},
                       Row{"", "", "", "", "", "", "", "", "", ""},
                       Row{"", "", "", "25", "", "", "", "", "", ""},
                   });
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "", "", "", "0.");
    COMPARE_RESULTS(table, 2, "", "", "", "0.");
    COMPARE_RESULTS(table, 3, "0.11", "0.13", "1432", "0.11");
    COMPARE_RESULTS(table, 5, "0.11", "0.13", "1432", "0.22");
}

void TestCalculation::quantityDoesNotCarry()
{
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"2", "1000", "12", "50", "", "", "", "", "", ""},
                       Row{"", "", "", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "", "", "0.28", "", "", "", ""},
                   });
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.21", "0.1", "1273", "0.21");
    COMPARE_RESULTS(table, 2, "0.21", "0.1", "1273", "0.42");
    COMPARE_RESULTS(table, 3, "0.03", "0.1", "1273", "0.45");
}

void TestCalculation::quantityRoundsHalfToEven_data()
{
    // A fitting of coefficient 1 at 0.10107 in wg: the item loss shows the
    // quantity used.
    QTest::addColumn<QByteArray>("qty");
    QTest::addColumn<QByteArray>("item");
    QTest::newRow("blank is one") << QByteArray("") << QByteArray("0.1");
    QTest::newRow("2.5 is 2") << QByteArray("2.5") << QByteArray("0.2");
    QTest::newRow("3.5 is 4") << QByteArray("3.5") << QByteArray("0.4");
    QTest::newRow("1.5 is 2") << QByteArray("1.5") << QByteArray("0.2");
    QTest::newRow("0.5 is 0") << QByteArray("0.5") << QByteArray("0.");
    QTest::newRow("2.6 is 3") << QByteArray("2.6") << QByteArray("0.3");
    QTest::newRow("2.4999 is 2") << QByteArray("2.4999") << QByteArray("0.2");
    QTest::newRow("-2.5 is -2") << QByteArray("-2.5") << QByteArray("-0.2");
    QTest::newRow("-1") << QByteArray("-1") << QByteArray("-0.1");
    QTest::newRow("letters are 0") << QByteArray("abc") << QByteArray("0.");
    QTest::newRow("a blank is 0") << QByteArray(" ") << QByteArray("0.");
    QTest::newRow("largest") << QByteArray("32767") << QByteArray("3311.71");
    QTest::newRow("32767.4") << QByteArray("32767.4") << QByteArray("3311.71");
    QTest::newRow("smallest") << QByteArray("-32768") << QByteArray("-3311.81");
}

void TestCalculation::quantityRoundsHalfToEven()
{
    QFETCH(QByteArray, qty);
    QFETCH(QByteArray, item);
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {Row{"", "1000", "12", "", "", "1", "", "", "", ""}});
    table.setCellText(1, RouteTable::ColQty, bytes(qty));
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, bytes(item), "0.1", "1273", bytes(item));
}

void TestCalculation::quantityOutOfRangeGivesNumMarker_data()
{
    QTest::addColumn<QByteArray>("qty");
    QTest::addColumn<QByteArray>("length");
    QTest::addColumn<QByteArray>("coef");
    QTest::newRow("40000 in a duct row") << QByteArray("40000") << QByteArray("100") << QByteArray("");
    QTest::newRow("40000 in a fitting row") << QByteArray("40000") << QByteArray("") << QByteArray("1");
    QTest::newRow("32768") << QByteArray("32768") << QByteArray("") << QByteArray("1");
    QTest::newRow("32767.5 rounds out") << QByteArray("32767.5") << QByteArray("") << QByteArray("1");
    QTest::newRow("-32769") << QByteArray("-32769") << QByteArray("100") << QByteArray("");
    QTest::newRow("1E39") << QByteArray("1E39") << QByteArray("100") << QByteArray("");
}

void TestCalculation::quantityOutOfRangeGivesNumMarker()
{
    QFETCH(QByteArray, qty);
    QFETCH(QByteArray, length);
    QFETCH(QByteArray, coef);
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "12", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "", "", "", "", "", "", ""},
                       Row{"", "", "", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "", "Tail", "", "", "", "", ""},
                   });
    table.setCellText(2, RouteTable::ColQty, bytes(qty));
    table.setCellText(2, RouteTable::ColLength, bytes(length));
    table.setCellText(2, RouteTable::ColLossCoef, bytes(coef));
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.21", "0.1", "1273", "0.21");
    // The quantity does not enter velocity or velocity pressure.
    COMPARE_RESULTS(table, 2, "#NUM!", "0.1", "1273", "#NUM!");
    // Row 3 has its own quantity of 1, but no finite route total follows.
    COMPARE_RESULTS(table, 3, "0.21", "0.1", "1273", "#NUM!");
    COMPARE_RESULTS(table, 4, "", "", "", "#NUM!");
}

void TestCalculation::quantityOutOfRangeInTextRowIsIgnored()
{
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "12", "100", "", "", "", "", "", ""},
                       Row{"40000", "", "", "", "Note", "", "", "", "", ""},
                       Row{"", "", "", "100", "", "", "", "", "", ""},
                   });
    sbCalculate(table);
    COMPARE_RESULTS(table, 2, "", "", "", "0.21");
    COMPARE_RESULTS(table, 3, "0.21", "0.1", "1273", "0.42");
}

void TestCalculation::textRowKeepsStaleResultsAndTheirTotal()
{
    // Row 2 lost its length after an earlier Calculate: its old results stay
    // and its old item loss still counts.
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "12", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "", "", "", "0.5", "x", "y", "old"},
                       Row{"", "", "", "", "Note", "", "", "", "", ""},
                   });
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.21", "0.1", "1273", "0.21");
    COMPARE_RESULTS(table, 2, "0.5", "x", "y", "0.71");
    COMPARE_RESULTS(table, 3, "", "", "", "0.71");
}

void TestCalculation::rowUsedOnlyByStaleResultCounts()
{
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {Row{"", "1000", "12", "100", "", "", "", "", "", ""}});
    table.setCellText(3, RouteTable::ColItemSP, "0.1");
    table.setCellText(5, RouteTable::ColVelocity, "999");
    sbCalculate(table);
    COMPARE_RESULTS(table, 2, "", "", "", "0.21");
    COMPARE_RESULTS(table, 3, "0.1", "", "", "0.31");
    COMPARE_RESULTS(table, 4, "", "", "", "0.31");
    COMPARE_RESULTS(table, 5, "", "", "999", "0.31");
    COMPARE_RESULTS(table, 6, "", "", "", "");
}

void TestCalculation::zeroOrTextCoefficientRunsFrictionWithNoLength_data()
{
    QTest::addColumn<QByteArray>("coef");
    QTest::newRow("0") << QByteArray("0");
    QTest::newRow("letter") << QByteArray("X");
    QTest::newRow("negative") << QByteArray("-0.5");
    QTest::newRow("blank") << QByteArray(" ");
}

void TestCalculation::zeroOrTextCoefficientRunsFrictionWithNoLength()
{
    QFETCH(QByteArray, coef);
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {Row{"", "1000", "12", "", "", "", "", "", "", ""}});
    table.setCellText(1, RouteTable::ColLossCoef, bytes(coef));
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.", "0.1", "1273", "0.");
}

void TestCalculation::fittingWithoutDiameterLosesNothing()
{
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {Row{"", "1000", "", "", "", "0.5", "", "", "", ""}});
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.", "0.", "", "0.");
}

void TestCalculation::ductWithoutDiameterShowsDivZero_data()
{
    QTest::addColumn<QByteArray>("flow");
    QTest::addColumn<QByteArray>("diameter");
    QTest::addColumn<QByteArray>("length");
    QTest::newRow("no diameter entered") << QByteArray("1000") << QByteArray("") << QByteArray("100");
    QTest::newRow("diameter 0") << QByteArray("1000") << QByteArray("0") << QByteArray("100");
    QTest::newRow("diameter letters") << QByteArray("1000") << QByteArray("abc") << QByteArray("100");
    QTest::newRow("no flow either") << QByteArray("") << QByteArray("") << QByteArray("10");
    QTest::newRow("negative length") << QByteArray("1000") << QByteArray("") << QByteArray("-10");
}

void TestCalculation::ductWithoutDiameterShowsDivZero()
{
    QFETCH(QByteArray, flow);
    QFETCH(QByteArray, diameter);
    QFETCH(QByteArray, length);
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(1, RouteTable::ColFlow, bytes(flow));
    table.setCellText(1, RouteTable::ColDiameter, bytes(diameter));
    table.setCellText(1, RouteTable::ColLength, bytes(length));
    putRows(table,
            {
                Row{"", "1000", "12", "100", "", "", "", "", "", ""},
                Row{"", "", "", "", "After", "", "", "", "", ""},
            },
            2);
    const CalculationOutcome outcome = sbCalculate(table);
    QVERIFY(!outcome.stopped);
    COMPARE_RESULTS(table, 1, "#DIV/0!", "0.", "", "#DIV/0!");
    COMPARE_RESULTS(table, 2, "0.21", "0.1", "1273", "#DIV/0!");
    COMPARE_RESULTS(table, 3, "", "", "", "#DIV/0!");
}

void TestCalculation::divZeroRecoversOnceDiameterIsEntered()
{
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "", "", "0.28", "", "", "", ""},
                   });
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "#DIV/0!", "0.", "", "#DIV/0!");
    COMPARE_RESULTS(table, 2, "#DIV/0!", "0.", "", "#DIV/0!");
    COMPARE_RESULTS(table, 3, "0.", "0.", "", "#DIV/0!");

    table.setCellText(1, RouteTable::ColDiameter, "12");
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.21", "0.1", "1273", "0.21");
    COMPARE_RESULTS(table, 2, "0.21", "0.1", "1273", "0.42");
    COMPARE_RESULTS(table, 3, "0.03", "0.1", "1273", "0.45");
}

void TestCalculation::zeroLengthWithoutDiameterIsNotDivZero()
{
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {Row{"", "1000", "", "0", "", "", "", "", "", ""}});
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.", "0.", "", "0.");
}

void TestCalculation::inputsBeyondSingleRangeShowNumMarker_data()
{
    QTest::addColumn<QByteArray>("flow");
    QTest::addColumn<QByteArray>("length");
    QTest::addColumn<QByteArray>("coef");
    QTest::addColumn<QByteArray>("item");
    QTest::addColumn<QByteArray>("vp");
    QTest::addColumn<QByteArray>("velocity");
    QTest::newRow("flow 1E39 in a duct")
        << QByteArray("1E39") << QByteArray("100") << QByteArray("") << QByteArray("#NUM!")
        << QByteArray("#NUM!") << QByteArray("#NUM!");
    QTest::newRow("length 1E39")
        << QByteArray("1000") << QByteArray("1E39") << QByteArray("") << QByteArray("#NUM!")
        << QByteArray("0.1") << QByteArray("1273");
    QTest::newRow("length -1E39")
        << QByteArray("1000") << QByteArray("-1E39") << QByteArray("") << QByteArray("#NUM!")
        << QByteArray("0.1") << QByteArray("1273");
    QTest::newRow("coefficient 1E39")
        << QByteArray("1000") << QByteArray("") << QByteArray("1E39") << QByteArray("#NUM!")
        << QByteArray("0.1") << QByteArray("1273");
    QTest::newRow("flow 1E39 at a fitting")
        << QByteArray("1E39") << QByteArray("") << QByteArray("1") << QByteArray("#NUM!")
        << QByteArray("#NUM!") << QByteArray("#NUM!");
}

void TestCalculation::inputsBeyondSingleRangeShowNumMarker()
{
    QFETCH(QByteArray, flow);
    QFETCH(QByteArray, length);
    QFETCH(QByteArray, coef);
    QFETCH(QByteArray, item);
    QFETCH(QByteArray, vp);
    QFETCH(QByteArray, velocity);
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(1, RouteTable::ColFlow, bytes(flow));
    table.setCellText(1, RouteTable::ColDiameter, "12");
    table.setCellText(1, RouteTable::ColLength, bytes(length));
    table.setCellText(1, RouteTable::ColLossCoef, bytes(coef));
    table.setCellText(2, RouteTable::ColDescription, "After");
    const CalculationOutcome outcome = sbCalculate(table);
    QVERIFY(!outcome.stopped);
    COMPARE_RESULTS(table, 1, bytes(item), bytes(vp), bytes(velocity), "#NUM!");
    COMPARE_RESULTS(table, 2, "", "", "", "#NUM!");
}

void TestCalculation::fittingOverflowShowsNumMarker()
{
    // 2E20 cfm through a 1 in duct: a finite but enormous velocity pressure,
    // whose product with the coefficient 10 leaves the single range.
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(1, RouteTable::ColItemSP, "0.55");
    putRows(table, {Row{"", "2E20", "1", "", "", "10", nullptr, "", "", ""}});
    putRows(table, {Row{"", "1000", "12", "100", "", "", "", "", "", ""}}, 2);
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "#NUM!", "83830110000000000000000000000000000000.",
                    "36669290000000000000000", "#NUM!");
    COMPARE_RESULTS(table, 2, "0.21", "0.1", "1273", "#NUM!");
}

void TestCalculation::staleMarkerInTextRowPropagates()
{
    RouteTable table;
    table.sbGridSetup();
    putRows(table, {
                       Row{"", "1000", "12", "100", "", "", "", "", "", ""},
                       Row{"", "", "", "", "", "", "#DIV/0!", "", "", ""},
                       Row{"", "", "", "100", "", "", "", "", "", ""},
                   });
    sbCalculate(table);
    COMPARE_RESULTS(table, 1, "0.21", "0.1", "1273", "0.21");
    COMPARE_RESULTS(table, 2, "#DIV/0!", "", "", "#DIV/0!");
    COMPARE_RESULTS(table, 3, "0.21", "0.1", "1273", "#DIV/0!");

    table.setCellText(2, RouteTable::ColItemSP, "#NUM!");
    sbCalculate(table);
    COMPARE_RESULTS(table, 2, "#NUM!", "", "", "#NUM!");
    COMPARE_RESULTS(table, 3, "0.21", "0.1", "1273", "#NUM!");

    table.setCellText(2, RouteTable::ColItemSP, "");
    sbCalculate(table);
    COMPARE_RESULTS(table, 2, "", "", "", "0.21");
    COMPARE_RESULTS(table, 3, "0.21", "0.1", "1273", "0.42");
}

void TestCalculation::oneNotificationPerCalculate()
{
    RouteTable table;
    table.sbGridSetup();
    putWorkedExample(table);
    table.setCurrentCell(4, 4);
    std::vector<TableChange> changes;
    table.setObserver([&changes](const TableChange &change) { changes.push_back(change); });

    sbCalculate(table);
    QCOMPARE(changes.size(), std::size_t(1));
    QCOMPARE(changes.front().cells, (CellRange{1, 7, 6, 10}));
    QVERIFY(changes.front().cursorMoved);

    // A stopped pass writes no cell; at most the cursor moved.
    table.setCellText(3, RouteTable::ColLength, "1");
    table.setCellText(3, RouteTable::ColLossCoef, "1");
    table.setCurrentCell(4, 4);
    changes.clear();
    QVERIFY(sbCalculate(table).stopped);
    QVERIFY(changes.size() <= 1);
    for (const TableChange &change : changes)
        QVERIFY(change.cells.isEmpty());
}

QTEST_APPLESS_MAIN(TestCalculation)
#include "tst_core_calculation.moc"
