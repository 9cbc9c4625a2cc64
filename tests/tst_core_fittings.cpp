// SPDX-License-Identifier: GPL-3.0-or-later
// Standard fitting coefficients: branch entries, elbow bands and angles, the
// radius reply, the diameter search and the insertion into a row.
#include "fittings.h"

#include "coretest.h"

using namespace plenix;
using namespace coretest;

Q_DECLARE_METATYPE(std::optional<std::string>)
Q_DECLARE_METATYPE(plenix::FittingOutcome)

namespace {

// What reaches the "Loss Coef." cell of a fresh row for a coefficient text.
std::string inCell(std::string_view coefficient)
{
    RouteTable table;
    table.setUp();
    table.setCurrentCell(1, RouteTable::ColLossCoef);
    writeFitting(table, coefficient, "d");
    return table.cellText(1, RouteTable::ColLossCoef);
}

} // namespace

class TestFittings final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fittingRows_data()
    {
        // Each row of the pop-up's table run in row 2, below a duct of
        // diameter 10, with the reply " 15 " (R = 1.5 D) where it asks.
        QTest::addColumn<int>("item");
        QTest::addColumn<std::string>("cells"); // description|coefficient
        const char *const expected[] = {
            "Elbow 90 deg  15  in clr|0.39", "Elbow 60 deg  15  in clr|0.26",
            "Elbow 45 deg  15  in clr|0.2",  "Elbow 30 deg  15  in clr|0.11",
            "Branch Entry 90 deg|1.0",       "Branch Entry 60 deg|0.44",
            "Branch Entry 45 deg|0.28",      "Branch Entry 30 deg|0.18"};
        static_assert(std::size(expected) == Fittings.size());
        for (int item = 0; item < int(Fittings.size()); ++item)
            QTest::newRow(expected[item]) << item << std::string(expected[item]);
    }

    void fittingRows()
    {
        QFETCH(int, item);
        QFETCH(std::string, cells);
        const Fitting &fitting = Fittings[std::size_t(item)];
        RouteTable table;
        table.setUp();
        table.setCellText(1, RouteTable::ColDiameter, "10");
        table.setCurrentCell(2, RouteTable::ColLossCoef);
        // A reply that is no number inserts no elbow; branch entries ask nothing.
        QCOMPARE(insertFitting(table, fitting, 10, "12 in") == FittingOutcome::Inserted,
                 !fitting.asksForRadius());
        QCOMPARE(rowText(table, 2) == std::string(9, '|'), fitting.asksForRadius());
        QCOMPARE(insertFitting(table, fitting, elbowDiameter(table), " 15 "),
                 FittingOutcome::Inserted);
        QCOMPARE(rowText(table, 2, RouteTable::ColDescription, RouteTable::ColLossCoef), cells);
    }

    void elbowCoefficients_data()
    {
        // What reaches the cell at 30|45|60|90 degrees; empty for no coefficient.
        QTest::addColumn<float>("diameter");
        QTest::addColumn<std::string>("radius");
        QTest::addColumn<std::string>("expected");
        const std::string band1 = "0.16|0.28|0.37|0.55", band2 = "0.11|0.2|0.26|0.39",
                          band3 = "0.09|0.16|0.21|0.32", band4 = "0.08|0.14|0.18|0.27",
                          band5 = "0.08|0.13|0.17|0.26", band6 = "0.06|0.11|0.15|0.22",
                          beyond = band5, mitred = "1.25|1.25|1.25|1.25", none = "|||";
        // clang-format off
        QTest::newRow("R = 1.25 D") << 10.f << "12.5"s << band1; QTest::newRow("R just above 1.25 D") << 10.f << "12.51"s << band2;
        QTest::newRow("R = 1.5 D") << 10.f << "15"s << band2; QTest::newRow("R just above 1.5 D") << 10.f << "15.01"s << band3;
        QTest::newRow("R = 1.75 D") << 10.f << "17.5"s << band3; QTest::newRow("R just above 1.75 D") << 10.f << "17.51"s << band4;
        QTest::newRow("R = 2 D") << 10.f << "20"s << band4; QTest::newRow("R just above 2 D") << 10.f << "20.01"s << band5;
        QTest::newRow("R = 2.25 D") << 10.f << "22.5"s << band5; QTest::newRow("R just above 2.25 D") << 10.f << "22.51"s << band6;
        QTest::newRow("R = 2.5 D") << 10.f << "25"s << band6; QTest::newRow("R just above 2.5 D") << 10.f << "25.01"s << beyond;
        QTest::newRow("R = 3 D") << 10.f << "30"s << beyond; QTest::newRow("negative R") << 10.f << "-3"s << band1;
        QTest::newRow("blanks around R") << 10.f << "  12  "s << band1;
        // 9.9 is held a little below 9.9, so 12.375 lies above 1.25 D; 10.1
        // a little above, so 12.625 does not.
        QTest::newRow("D 9.9, R 12.375") << 9.9f << "12.375"s << band2; QTest::newRow("D 10.1, R 12.625") << 10.1f << "12.625"s << band1;
        QTest::newRow("the offered 0") << 10.f << "0"s << mitred; QTest::newRow("cancel or empty") << 10.f << ""s << none;
        QTest::newRow("units after R") << 10.f << "12 in"s << none; QTest::newRow("no diameter") << 0.f << "12"s << none;
        QTest::newRow("no diameter, R 0") << 0.f << "0"s << none;
        // clang-format on
    }

    void elbowCoefficients()
    {
        QFETCH(float, diameter);
        QFETCH(std::string, radius);
        QFETCH(std::string, expected);
        std::string actual;
        for (const char *angle : {"30", "45", "60", "90"}) {
            const std::string coefficient = elbowCoefficient(angle, diameter, radius);
            actual += (coefficient.empty() ? "" : inCell(coefficient)) + "|";
        }
        actual.pop_back();
        QCOMPARE(actual, expected);
    }

    // Why an elbow command writes nothing, and what its prompt shows as the
    // reply is typed.
    void elbowOutcomes_data()
    {
        QTest::addColumn<float>("diameter");
        QTest::addColumn<std::optional<std::string>>("reply"); // nothing: cancelled
        QTest::addColumn<FittingOutcome>("outcome");
        QTest::addColumn<std::string>("preview");
        using enum FittingOutcome;
        QTest::newRow("R = 1.5 D") << 10.f << std::optional("15"s) << Inserted << "R/D = 1.5, coefficient 0.39"s;
        QTest::newRow("R = 2 D") << 12.f << std::optional("24"s) << Inserted << "R/D = 2, coefficient 0.27"s;
        QTest::newRow("R = 0") << 8.f << std::optional("0"s) << Inserted << "R/D = 0, coefficient 1.25"s;
        QTest::newRow("no diameter") << 0.f << std::optional("15"s) << NoDiameter << ""s;
        QTest::newRow("cancelled") << 10.f << std::optional<std::string>() << Cancelled << ""s;
        QTest::newRow("empty reply") << 10.f << std::optional(""s) << NotANumber << ""s;
        QTest::newRow("reply with a unit") << 10.f << std::optional("12 in"s) << NotANumber << "Not a number"s;
    }

    void elbowOutcomes()
    {
        QFETCH(float, diameter);
        QFETCH(std::optional<std::string>, reply);
        QFETCH(FittingOutcome, outcome);
        QFETCH(std::string, preview);
        RouteTable table;
        table.setUp();
        QCOMPARE(insertFitting(table, Fittings[0], diameter, reply), outcome);
        QCOMPARE(fittingOutcomeText(outcome).empty(), outcome == FittingOutcome::Inserted);
        QCOMPARE(elbowPreview("90", diameter, reply.value_or("")), preview);
    }

    void numericReply_data()
    {
        QTest::addColumn<std::string>("reply");
        QTest::addColumn<bool>("numeric");
        for (const char *yes : {"12", "  12  ", "-3", "+3", ".5", "0", "1.5e-1"})
            QTest::newRow(yes) << std::string(yes) << true;
        for (const char *no :
             {"", "   ", "12 in", "1 2", "1.2.3", "1,5", ".", "-", "E5", "--3", "1E", "$5"})
            QTest::newRow(no) << std::string(no) << false;
    }

    void numericReply()
    {
        QFETCH(std::string, reply);
        QFETCH(bool, numeric);
        QCOMPARE(isNumericReply(reply), numeric);
    }

    void diameterSearch_data()
    {
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<std::string>("diameters"); // one line per row from row 1
        QTest::addColumn<float>("expected");
        QTest::newRow("own row") << 3 << "8\n\n10"s << 10.f;
        QTest::newRow("row above") << 5 << "\n\n8\n\n"s << 8.f;
        QTest::newRow("nearest above wins") << 4 << "12\n8\n\n"s << 8.f;
        QTest::newRow("letters stop the search") << 4 << "8\nabc\n\n"s << 0.f;
        QTest::newRow("a blank stops the search") << 4 << "8\n \n\n"s << 0.f;
        QTest::newRow("row 1 empty") << 1 << ""s << 0.f;
        QTest::newRow("below does not count") << 2 << "\n\n12"s << 0.f;
        QTest::newRow("number with units") << 2 << "12 in\n"s << 12.f;
    }

    void diameterSearch()
    {
        QFETCH(int, currentRow);
        QFETCH(std::string, diameters);
        QFETCH(float, expected);
        RouteTable table;
        table.setUp();
        putRows(table, diameters, 1, RouteTable::ColDiameter);
        table.setCurrentCell(Int16(currentRow), RouteTable::ColLossCoef);
        QVERIFY(elbowDiameter(table) == expected);
    }

    void insertWritesTwoCellsOfCurrentRowOnly()
    {
        RouteTable table;
        table.setUp();
        putRows(table, "o|o|o|20|o|o|o|o|o|o\no|o|o|o|o|o|o|o|o|o\no|o|o|o|o|o|o|o|o|o");
        // Three rows selected, current cell in the top one.
        table.setCurrentCell(1, RouteTable::ColLossCoef);
        table.setSelectionEnd(3, RouteTable::ColLossCoef);
        writeFitting(table, "0.28", "Branch Entry 45 deg");
        QCOMPARE(rowText(table, 1), "o|o|o|20|Branch Entry 45 deg|0.28|o|o|o|o"s);
        QCOMPARE(rowText(table, 2), "o|o|o|o|o|o|o|o|o|o"s);
        QCOMPARE(rowText(table, 3), "o|o|o|o|o|o|o|o|o|o"s);
    }
};

QTEST_APPLESS_MAIN(TestFittings)
#include "tst_core_fittings.moc"
