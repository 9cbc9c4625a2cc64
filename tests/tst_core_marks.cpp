// SPDX-License-Identifier: GPL-3.0-or-later
// The marks drawn over the route: results out of date since the last
// Calculate, and input texts that do not say plainly what Calculate reads.
#include "marks.h"

#include "coretest.h"
#include "editing.h"
#include "routedocument.h"

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
    void readings_data() { caseRows("marks-readings.cases"); }

    // The window asks the marks, which ask the same rule of numeric inputs only.
    void readings()
    {
        QFETCH(Case, c);
        const int col = std::stoi(c.at(1));
        const InputReading reading = readInput(c.at(0), col);
        QCOMPARE(reading.doubtful, c.at(2) == "doubtful");
        QCOMPARE(reading.value, c.at(3));
        RouteTable table;
        table.setUp();
        RouteMarks marks(table);
        for (int column : {col, int(RouteTable::ColDescription)}) {
            table.setCellText(3, column, c.at(0));
            QCOMPARE(marks.isDoubtful(3, column), reading.doubtful && column == col);
        }
    }

    void stale_data() { caseRows("marks-stale.cases"); }

    void stale()
    {
        QFETCH(Case, c);
        RouteDocument document;
        RouteMarks &marks = document.marks();
        CellRange reported;
        marks.setListener([&](const CellRange &cells) { reported.unite(cells); });
        putRows(document.table(), Route);
        QCOMPARE(staleRows(marks), "1..4"s);
        document.calculate();
        QCOMPARE(staleRows(marks), "none"s);
        // The grid is told to redraw what is no longer stale.
        QVERIFY(reported.contains(1, RouteTable::ColItemSP) &&
                reported.contains(4, RouteTable::ColRouteSP));
        run(document, c.at(1));
        QCOMPARE(staleRows(marks), c.at(2));
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
