// Standard fitting coefficients: branch entries, elbow bands and angles,
// the radius reply, the diameter search and the insertion into a row.
#include "fittings.h"

#include "numbertext.h"

#include "coretest.h"

#include <QByteArray>

#include <string>
#include <vector>

using namespace plenix;

namespace {

std::string bytes(const QByteArray &text)
{
    return std::string(text.constData(), static_cast<std::size_t>(text.size()));
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

// What reaches the "Loss Coef." cell of a fresh row for a coefficient text.
std::string inCell(const std::string &coefficient)
{
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(1, RouteTable::ColLossCoef);
    sbFittingInsert(table, coefficient, "d");
    return table.CellText(1, RouteTable::ColLossCoef);
}

const char *const angles[] = {"30", "45", "60", "90"};

} // namespace

class TestFittings final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandsAreListedInPopupOrder();
    void angleFactors_data();
    void angleFactors();
    void elbowBands_data();
    void elbowBands();
    void zeroRadiusGivesOnePointTwoFiveAtEveryAngle_data();
    void zeroRadiusGivesOnePointTwoFiveAtEveryAngle();
    void singleDiameterJustBelowBoundary();
    void rejectedRepliesGiveNoCoefficient_data();
    void rejectedRepliesGiveNoCoefficient();
    void numericReply_data();
    void numericReply();
    void diameterSearch_data();
    void diameterSearch();
    void elbowDescription_data();
    void elbowDescription();
    void branchEntriesReachCellFormatted_data();
    void branchEntriesReachCellFormatted();
    void insertWritesTwoCellsOfCurrentRowOnly();
    void elbowBelowDuctOfDiameterTen();
};

void TestFittings::commandsAreListedInPopupOrder()
{
    const char *const captions[] = {"Elbow 90 deg",        "Elbow 60 deg",        "Elbow 45 deg",
                                    "Elbow 30 deg",        "Branch Entry 90 deg", "Branch Entry 60 deg",
                                    "Branch Entry 45 deg", "Branch Entry 30 deg"};
    const char *const coefficients[] = {"", "", "", "", "1.00", "0.44", "0.28", "0.18"};
    const char *const commandAngles[] = {"90", "60", "45", "30", "90", "60", "45", "30"};
    for (std::size_t i = 0; i < FittingCommands.size(); ++i) {
        const FittingCommand &command = FittingCommands[i];
        QCOMPARE(std::string(command.caption), std::string(captions[i]));
        QCOMPARE(std::string(command.coefficient), std::string(coefficients[i]));
        QCOMPARE(std::string(command.angle), std::string(commandAngles[i]));
        QCOMPARE(command.kind == FittingCommand::Kind::Elbow, i < 4);
    }
    QCOMPARE(std::string(ElbowRadiusPrompt), std::string("Enter elbow center line radius, in"));
    QCOMPARE(std::string(ElbowRadiusDefault), std::string("0"));
}

void TestFittings::angleFactors_data()
{
    QTest::addColumn<QByteArray>("angle");
    QTest::addColumn<float>("factor");
    QTest::newRow("30") << QByteArray("30") << 0.29f;
    QTest::newRow("45") << QByteArray("45") << 0.50f;
    QTest::newRow("60") << QByteArray("60") << 0.67f;
    QTest::newRow("90") << QByteArray("90") << 1.00f;
    QTest::newRow("15") << QByteArray("15") << 0.0f;
    QTest::newRow("empty") << QByteArray("") << 0.0f;
    QTest::newRow("90.0") << QByteArray("90.0") << 0.0f;
}

void TestFittings::angleFactors()
{
    QFETCH(QByteArray, angle);
    QFETCH(float, factor);
    QVERIFY(fnAngleFactor(bytes(angle)) == factor);
}

void TestFittings::elbowBands_data()
{
    // D = 10 in; the radius picks the band, the columns are 30, 45, 60 and 90
    // degrees, as they reach the cell.
    QTest::addColumn<QByteArray>("radius");
    QTest::addColumn<QByteArray>("at30");
    QTest::addColumn<QByteArray>("at45");
    QTest::addColumn<QByteArray>("at60");
    QTest::addColumn<QByteArray>("at90");
    const QByteArray band1[] = {"0.16", "0.28", "0.37", "0.55"};
    const QByteArray band2[] = {"0.11", "0.2", "0.26", "0.39"};
    const QByteArray band3[] = {"0.09", "0.16", "0.21", "0.32"};
    const QByteArray band4[] = {"0.08", "0.14", "0.18", "0.27"};
    const QByteArray band5[] = {"0.08", "0.13", "0.17", "0.26"};
    const QByteArray band6[] = {"0.06", "0.11", "0.15", "0.22"};
    const QByteArray band7[] = {"0.08", "0.13", "0.17", "0.26"};
    auto add = [](const char *name, const char *radius, const QByteArray(&band)[4]) {
        QTest::newRow(name) << QByteArray(radius) << band[0] << band[1] << band[2] << band[3];
    };
    add("R 1 (small)", "1", band1);
    add("R 12.5 = 1.25 D", "12.5", band1);
    add("R 12.51", "12.51", band2);
    add("R 15 = 1.5 D", "15", band2);
    add("R 15.01", "15.01", band3);
    add("R 17.5 = 1.75 D", "17.5", band3);
    add("R 17.51", "17.51", band4);
    add("R 20 = 2 D", "20", band4);
    add("R 20.01", "20.01", band5);
    add("R 22.5 = 2.25 D", "22.5", band5);
    add("R 22.51", "22.51", band6);
    add("R 25 = 2.5 D", "25", band6);
    add("R 25.01", "25.01", band7);
    add("R 30", "30", band7);
    add("R 1000", "1000", band7);
    add("R -3 (negative)", "-3", band1);
    add("R with blanks", "  12  ", band1);
    add("R 1.5E1", "1.5E1", band2);
}

void TestFittings::elbowBands()
{
    QFETCH(QByteArray, radius);
    QFETCH(QByteArray, at30);
    QFETCH(QByteArray, at45);
    QFETCH(QByteArray, at60);
    QFETCH(QByteArray, at90);
    const QByteArray wanted[] = {at30, at45, at60, at90};
    for (int i = 0; i < 4; ++i) {
        const std::string coefficient = fnElbowCoefficient(angles[i], 10.0f, bytes(radius));
        QVERIFY2(!coefficient.empty(), angles[i]);
        QCOMPARE(inCell(coefficient), bytes(wanted[i]));
    }
}

void TestFittings::zeroRadiusGivesOnePointTwoFiveAtEveryAngle_data()
{
    QTest::addColumn<QByteArray>("radius");
    QTest::newRow("the offered 0") << QByteArray("0");
    QTest::newRow("0.0") << QByteArray("0.0");
    QTest::newRow("blanks around 0") << QByteArray(" 0 ");
    QTest::newRow("-0") << QByteArray("-0");
}

void TestFittings::zeroRadiusGivesOnePointTwoFiveAtEveryAngle()
{
    QFETCH(QByteArray, radius);
    for (const char *angle : angles) {
        const std::string coefficient = fnElbowCoefficient(angle, 10.0f, bytes(radius));
        QVERIFY(NumberFromText(coefficient) == 1.25);
        QCOMPARE(inCell(coefficient), std::string("1.25"));
    }
}

void TestFittings::singleDiameterJustBelowBoundary()
{
    // 9.9 is held a little below 9.9, so 12.375 lies above 1.25 D.
    QCOMPARE(inCell(fnElbowCoefficient("90", 9.9f, "12.375")), std::string("0.39"));
    // 10.1 is held a little above, so 12.625 stays in the first band.
    QCOMPARE(inCell(fnElbowCoefficient("90", 10.1f, "12.625")), std::string("0.55"));
}

void TestFittings::rejectedRepliesGiveNoCoefficient_data()
{
    QTest::addColumn<float>("diameter");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("cancel or empty") << 10.0f << QByteArray("");
    QTest::newRow("units after number") << 10.0f << QByteArray("12 in");
    QTest::newRow("letters") << 10.0f << QByteArray("abc");
    QTest::newRow("blanks only") << 10.0f << QByteArray("   ");
    QTest::newRow("two points") << 10.0f << QByteArray("1.2.3");
    QTest::newRow("comma") << 10.0f << QByteArray("1,5");
    QTest::newRow("no diameter") << 0.0f << QByteArray("12");
    QTest::newRow("no diameter, zero radius") << 0.0f << QByteArray("0");
}

void TestFittings::rejectedRepliesGiveNoCoefficient()
{
    QFETCH(float, diameter);
    QFETCH(QByteArray, reply);
    for (const char *angle : angles)
        QCOMPARE(fnElbowCoefficient(angle, diameter, bytes(reply)), std::string());
}

void TestFittings::numericReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("integer") << QByteArray("12") << true;
    QTest::newRow("blanks around") << QByteArray("  12  ") << true;
    QTest::newRow("trailing blank") << QByteArray("12 ") << true;
    QTest::newRow("negative") << QByteArray("-3") << true;
    QTest::newRow("plus") << QByteArray("+3") << true;
    QTest::newRow("decimal") << QByteArray("1.5") << true;
    QTest::newRow("leading point") << QByteArray(".5") << true;
    QTest::newRow("exponent") << QByteArray("1E3") << true;
    QTest::newRow("negative exponent") << QByteArray("1.5e-1") << true;
    QTest::newRow("zero") << QByteArray("0") << true;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("blanks") << QByteArray("   ") << false;
    QTest::newRow("units") << QByteArray("12 in") << false;
    QTest::newRow("blank inside") << QByteArray("1 2") << false;
    QTest::newRow("two points") << QByteArray("1.2.3") << false;
    QTest::newRow("comma") << QByteArray("1,5") << false;
    QTest::newRow("letters") << QByteArray("abc") << false;
    QTest::newRow("point only") << QByteArray(".") << false;
    QTest::newRow("sign only") << QByteArray("-") << false;
    QTest::newRow("exponent only") << QByteArray("E5") << false;
    QTest::newRow("two signs") << QByteArray("--3") << false;
    QTest::newRow("currency") << QByteArray("$5") << false;
}

void TestFittings::numericReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, numeric);
    QCOMPARE(fnIsNumericReply(bytes(reply)), numeric);
}

void TestFittings::diameterSearch_data()
{
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<QByteArray>("diameters"); // one per row from row 1, '|' between
    QTest::addColumn<float>("expected");
    QTest::newRow("own row") << 3 << QByteArray("8||10") << 10.0f;
    QTest::newRow("row above") << 5 << QByteArray("||8||") << 8.0f;
    QTest::newRow("nearest above wins") << 4 << QByteArray("12|8||") << 8.0f;
    QTest::newRow("letters stop the search") << 4 << QByteArray("8|abc||") << 0.0f;
    QTest::newRow("a blank stops the search") << 4 << QByteArray("8| ||") << 0.0f;
    QTest::newRow("row 1 empty") << 1 << QByteArray("") << 0.0f;
    QTest::newRow("nothing above") << 6 << QByteArray("|||||") << 0.0f;
    QTest::newRow("below does not count") << 2 << QByteArray("||12") << 0.0f;
    QTest::newRow("single precision") << 2 << QByteArray("9.9|") << 9.9f;
    QTest::newRow("number with units") << 2 << QByteArray("12 in|") << 12.0f;
}

void TestFittings::diameterSearch()
{
    QFETCH(int, currentRow);
    QFETCH(QByteArray, diameters);
    QFETCH(float, expected);
    RouteTable table;
    table.sbGridSetup();
    const QList<QByteArray> cells = diameters.split('|');
    for (int i = 0; i < cells.size(); ++i)
        table.setCellText(i + 1, RouteTable::ColDiameter, bytes(cells.at(i)));
    table.setCurrentCell(Int16(currentRow), RouteTable::ColLossCoef);
    QVERIFY(fnElbowDiameter(table) == expected);
}

void TestFittings::elbowDescription_data()
{
    QTest::addColumn<QByteArray>("angle");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("90, 18") << QByteArray("90") << QByteArray("18") << QByteArray("Elbow 90 deg 18 in clr");
    QTest::newRow("90, 12") << QByteArray("90") << QByteArray("12") << QByteArray("Elbow 90 deg 12 in clr");
    QTest::newRow("45, 0") << QByteArray("45") << QByteArray("0") << QByteArray("Elbow 45 deg 0 in clr");
    QTest::newRow("blanks kept") << QByteArray("30") << QByteArray(" 15 ")
                                 << QByteArray("Elbow 30 deg  15  in clr");
}

void TestFittings::elbowDescription()
{
    QFETCH(QByteArray, angle);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, expected);
    QCOMPARE(fnElbowDescription(bytes(angle), bytes(reply)), bytes(expected));
}

void TestFittings::branchEntriesReachCellFormatted_data()
{
    QTest::addColumn<QByteArray>("coefficient");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("90") << QByteArray("1.00") << QByteArray("1.0");
    QTest::newRow("60") << QByteArray("0.44") << QByteArray("0.44");
    QTest::newRow("45") << QByteArray("0.28") << QByteArray("0.28");
    QTest::newRow("30") << QByteArray("0.18") << QByteArray("0.18");
}

void TestFittings::branchEntriesReachCellFormatted()
{
    QFETCH(QByteArray, coefficient);
    QFETCH(QByteArray, expected);
    QCOMPARE(inCell(bytes(coefficient)), bytes(expected));
}

void TestFittings::insertWritesTwoCellsOfCurrentRowOnly()
{
    RouteTable table;
    table.sbGridSetup();
    for (int row = 1; row <= 4; ++row) {
        for (int col = 1; col <= 10; ++col)
            table.setCellText(row, col, "old");
    }
    table.setCellText(2, RouteTable::ColLength, "20");
    // Three rows selected, current cell in the top one.
    table.setCurrentCell(2, RouteTable::ColLossCoef);
    table.setSelectionEnd(4, RouteTable::ColLossCoef);
    auto expected = snapshot(table);
    sbFittingInsert(table, "0.28", "Branch Entry 45 deg");
    expected[2 * RouteTable::ColCount + RouteTable::ColLossCoef] = "0.28";
    expected[2 * RouteTable::ColCount + RouteTable::ColDescription] = "Branch Entry 45 deg";
    QVERIFY(snapshot(table) == expected);
    QCOMPARE(table.CellText(2, RouteTable::ColLength), std::string("20"));
}

void TestFittings::elbowBelowDuctOfDiameterTen()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(1, RouteTable::ColFlow, "1000");
    table.setCellText(1, RouteTable::ColDiameter, "10");
    table.setCellText(1, RouteTable::ColLength, "20");
    table.setCellText(2, RouteTable::ColDescription, "typed");
    table.setCurrentCell(2, RouteTable::ColLossCoef);
    const float diameter = fnElbowDiameter(table);
    QVERIFY(diameter == 10.0f);
    const std::string coefficient = fnElbowCoefficient("90", diameter, "15");
    sbFittingInsert(table, coefficient, fnElbowDescription("90", "15"));
    QCOMPARE(table.CellText(2, RouteTable::ColLossCoef), std::string("0.39"));
    QCOMPARE(table.CellText(2, RouteTable::ColDescription), std::string("Elbow 90 deg 15 in clr"));
}

QTEST_APPLESS_MAIN(TestFittings)
#include "tst_core_fittings.moc"
