// SPDX-License-Identifier: GPL-3.0-or-later
// The marks drawn over the route: results out of date since the last
// Calculate, and input texts that do not say plainly what Calculate reads.
#include "marks.h"

#include "coretest.h"
#include "editing.h"
#include "routedocument.h"

#include <sstream>

using namespace plenix;
using namespace coretest;

namespace {

constexpr std::string_view Route = "|1000|12|100\n||10|50\n||||elbow|0.39\n|||20";

// The rows whose results are drawn out of date, as "first..last", or "none".
std::string staleRows(const RouteMarks &marks)
{
    std::string rows;
    for (int row = 1; row <= RouteTable::DataRows; ++row) {
        if (marks.isStale(row, RouteTable::ColItemSP) != marks.isStale(row, RouteTable::ColRouteSP))
            return "columns differ in row " + std::to_string(row);
        if (marks.isStale(row, RouteTable::ColItemSP) && rows.empty())
            rows = std::to_string(row);
        if (!rows.empty() && !marks.isStale(row, RouteTable::ColItemSP) &&
            rows.find('.') == std::string::npos)
            rows += ".." + std::to_string(row - 1);
    }
    return rows.empty() ? "none" : rows;
}

} // namespace

class TestMarks final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readings_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("doubtful");
        QTest::addColumn<std::string>("value");
        const auto flow = [](const char *text, bool doubtful, const char *value) {
            QTest::newRow(text) << std::string(text) << int(RouteTable::ColFlow) << doubtful
                                << std::string(value);
        };
        flow("", false, "");
        flow("12", false, "12");
        flow(" 12 ", false, "12");
        flow("12.5", false, "12.5");
        flow("0", false, "0");
        flow("1E3", false, "1000");
        flow("-1200", false, "-1200");
        flow("12in", true, "12");
        flow("12 IN", true, "12");
        flow("3 5", true, "35");
        flow("O.5", true, "0");
        flow(".5.5", true, "0.5");
        flow("1,200", true, "1");
        flow(" ", true, "0");
        flow("&H10", true, "16");
        flow("1E-400", true, "0");
        flow("1E400", true, "#NUM!");
        QTest::newRow("a count is whole") << "2.5"s << int(RouteTable::ColQty) << false << "2"s;
        QTest::newRow("a count with a unit") << "3.6x"s << int(RouteTable::ColQty) << true << "4"s;
    }

    void readings()
    {
        QFETCH(std::string, text);
        QFETCH(int, col);
        QFETCH(bool, doubtful);
        QFETCH(std::string, value);
        const InputReading reading = readInput(text, col);
        QCOMPARE(reading.doubtful, doubtful);
        QCOMPARE(reading.value, value);
        // The window asks the marks, which ask the same rule of numeric inputs only.
        RouteTable table;
        table.setUp();
        RouteMarks marks(table);
        for (int column : {col, int(RouteTable::ColDescription)}) {
            table.setCellText(3, column, text);
            QCOMPARE(marks.isDoubtful(3, column), doubtful && column == col);
        }
    }

    void stale_data()
    {
        // Edits after a Calculate of a four-row route: "row,col=text", "insert
        // row" or "calculate", separated by ';'.
        QTest::addColumn<std::string>("edits");
        QTest::addColumn<std::string>("expected");
        // clang-format off
        QTest::newRow("a flow") << "3,2=900"s << "3..4"s;
        QTest::newRow("a description") << "2,5=note"s << "none"s;
        QTest::newRow("a result typed over") << "2,8=1"s << "none"s;
        QTest::newRow("the higher change counts") << "3,6=0.5;2,1=2"s << "2..4"s;
        QTest::newRow("a new row below the route") << "6,4=10"s << "6..6"s;
        QTest::newRow("an input emptied") << "4,4="s << "4..4"s;
        QTest::newRow("a row inserted") << "insert 2"s << "2..5"s;
        QTest::newRow("a length next to a coefficient") << "3,4=5;calculate"s << "3..4"s;
        QTest::newRow("calculated again") << "3,2=900;calculate"s << "none"s;
        // clang-format on
    }

    void stale()
    {
        QFETCH(std::string, edits);
        QFETCH(std::string, expected);
        RouteDocument document;
        RouteTable &table = document.table();
        RouteMarks &marks = document.marks();
        CellRange reported;
        marks.setListener([&](const CellRange &cells) { reported.unite(cells); });
        putRows(table, Route);
        QCOMPARE(staleRows(marks), "1..4"s);
        document.calculate();
        QCOMPARE(staleRows(marks), "none"s);
        // The grid is told to redraw what is no longer stale.
        QVERIFY(reported.contains(1, RouteTable::ColItemSP) &&
                reported.contains(4, RouteTable::ColRouteSP));

        std::istringstream steps(edits);
        for (std::string step; std::getline(steps, step, ';');) {
            int row = 0, col = 0;
            if (step == "calculate") {
                document.calculate();
            } else if (std::sscanf(step.c_str(), "insert %d", &row) == 1) {
                table.setCurrentCell(Int16(row), 1);
                insertRow(table);
            } else if (std::sscanf(step.c_str(), "%d,%d=", &row, &col) == 2) {
                table.setCellText(row, col, step.substr(step.find('=') + 1));
            } else {
                QFAIL(step.c_str());
            }
        }
        QCOMPARE(staleRows(marks), expected);
    }

    // Open and New bring texts that belong together.
    void opened_and_new_routes_are_not_stale()
    {
        RouteDocument document;
        putRows(document.table(), Route);
        const std::string file = document.fileText();
        QVERIFY(document.marks().firstStaleRow() > 0);
        QVERIFY(document.openText(file));
        QCOMPARE(staleRows(document.marks()), "none"s);
        document.table().setCellText(2, RouteTable::ColFlow, "5");
        document.clear();
        QCOMPARE(document.marks().firstStaleRow(), 0);
    }

    // "-1200" and "12in" typed into a numeric column hold "1200" and "12",
    // which read cleanly: the cell remembers what the filter left out.
    void characters_the_filter_drops()
    {
        RouteTable table;
        table.setUp();
        RouteMarks marks(table);
        table.setCurrentCell(2, RouteTable::ColFlow);
        table.setSelectionEnd(3, RouteTable::ColFlow);
        for (const char32_t code : std::u32string_view(U"-12in"))
            marks.typeChar(code);
        QCOMPARE(table.cellText(3, RouteTable::ColFlow), "12"s);
        QVERIFY(marks.isDoubtful(3, RouteTable::ColFlow));
        QCOMPARE(marks.droppedChars(2, RouteTable::ColFlow), std::u32string(U"-in"));
        marks.typeChar(BackspaceCode);
        QCOMPARE(marks.droppedChars(2, RouteTable::ColFlow), std::u32string(U"-in"));
        // A new text, or an emptied cell, forgets it.
        table.setCellText(2, RouteTable::ColFlow, "5");
        QVERIFY(!marks.isDoubtful(2, RouteTable::ColFlow));
        deleteSelection(table);
        QVERIFY(!marks.isDoubtful(3, RouteTable::ColFlow));
        // The description takes them all.
        table.setCurrentCell(2, RouteTable::ColDescription);
        marks.typeChar(U'-');
        QCOMPARE(table.cellText(2, RouteTable::ColDescription), "-"s);
        QVERIFY(marks.droppedChars(2, RouteTable::ColDescription).empty());
    }
};

QTEST_APPLESS_MAIN(TestMarks)
#include "tst_core_marks.moc"
