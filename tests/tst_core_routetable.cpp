// SPDX-License-Identifier: GPL-3.0-or-later
// The route grid's data (cursor, fill rule, block text, notifications) and
// the editing on it: typing, Delete, Insert Row and the list text.
#include "editing.h"
#include "routetable.h"

#include "coretest.h"

using namespace plenix;
using namespace coretest;

class TestRouteTable final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A blank is text; the fixed and spare columns do not count.
    void findsLastUsedRow()
    {
        // clang-format off
        const struct { int row, col, startRow, expected; } cases[] = {
            {7, 10, 1, 7}, {60, 1, 1, 60}, {9, 0, 1, 0}, {9, 11, 1, 0}, {3, 1, 5, 0}, {5, 10, 5, 5}};
        // clang-format on
        for (const auto &c : cases) {
            RouteTable table;
            table.setUp();
            table.setCellText(c.row, c.col, " ");
            QCOMPARE(int(table.lastUsedRow(Int16(c.startRow))), c.expected);
        }
    }

    // Selecting does not scroll; moving the current cell collapses the
    // selection onto it.
    void cursorAndSelection()
    {
        RouteTable table;
        table.setUp();
        table.setTopRow(7);
        table.setLeftCol(3);
        table.selectRows(2, 4);
        QCOMPARE(cursor(table), "2,1 4,10 top 7 left 3"s);
        table.setCurrentCell(8, 9);
        table.setSelectionEnd(2, 4);
        QCOMPARE(cursor(table), "8,9 2,4 top 7 left 3"s);
        table.setCurrentRow(4);
        QCOMPARE(cursor(table), "4,9 4,9 top 7 left 3"s);
    }

    // Written text fills the selection from its top-left cell; what lies
    // beyond is dropped, cells it does not reach keep their text.
    void readsAndWritesBlocks()
    {
        RouteTable table, expected;
        table.setUp();
        expected.setUp();
        putRows(table, "2\n||||abc");
        table.selectRows(1, 2);
        QCOMPARE(table.blockText(), "2" + tabs(9) + "\r" + tabs(4) + "abc" + tabs(5));
        table.setCurrentCell(2, 5);
        table.setSelectionEnd(1, 4);
        QCOMPARE(table.blockText(), "\t\r\tabc"s);
        fillData(table);
        fillData(expected);
        table.setCurrentCell(3, 3);
        table.setSelectionEnd(2, 2);
        table.setBlockText("A\tB\tC\rD\tE\tF\rG");
        putRows(expected, "A|B\nD|E", 2, 2);
        QVERIFY(snapshot(table) == snapshot(expected));
    }

    // One report per operation to every listener until it is removed.
    // Clearing empties the data cells only, not the spare column, and goes home.
    void notificationsAndClear()
    {
        RouteTable table, expected;
        table.setUp();
        expected.setUp();
        ChangeLog log(table);
        ChangeLog other(table);
        table.selectRows(2, 4);
        QVERIFY(log.changes.back().cursorMoved && log.changes.back().cells.isEmpty());
        table.removeListener(&other);
        table.setCurrentText("x"); // the fill rule: every selected cell
        QCOMPARE(rowText(table, 1) + rowText(table, 4) + rowText(table, 5),
                 std::string(9, '|') + "x|x|x|x|x|x|x|x|x|x" + std::string(9, '|'));
        QVERIFY(log.changes.back().cells == (CellRange{2, 1, 4, 10}));
        fillData(table);
        table.setCellText(60, RouteTable::ColSpare, "spare");
        expected.setCellText(60, RouteTable::ColSpare, "spare");
        moveAway(table);
        const std::size_t before = log.changes.size();
        table.clear();
        QCOMPARE(log.changes.size(), before + 1);
        QVERIFY(log.changes.back().cursorMoved && log.changes.back().scrolled);
        QCOMPARE(other.changes.size(), std::size_t(1));
        QVERIFY(snapshot(table) == snapshot(expected));
        QCOMPARE(cursor(table), Home);
    }

    // Letters are judged on the selection end's column; Backspace on an
    // empty current cell stores nothing anywhere.
    void typingAndDeleteKeys()
    {
        RouteTable table;
        table.setUp();
        const auto type = [&table](int col, const std::string &keys) {
            table.setCurrentCell(2, Int16(col));
            for (const char c : keys)
                typeChar(table, static_cast<unsigned char>(c));
            return table.cellText(2, col);
        };
        QCOMPARE(type(RouteTable::ColFlow, "/0@:.AYZa -~\x7f\xe9"), "0@:.AY"s);
        QCOMPARE(type(RouteTable::ColFlow, "\b\b"), "0@:."s);
        QCOMPARE(type(RouteTable::ColDescription, " Za~\r\t\x1f\x7f\xe9"), " Za~"s);
        putRows(table, "|100|7|keep|run");
        table.setCurrentCell(1, RouteTable::ColFlow);
        table.setSelectionEnd(1, RouteTable::ColLength);
        typeChar(table, U'0');
        QCOMPARE(rowText(table, 1, 1, 5), "|1000|1000|1000|run"s);
        typeChar(table, BackspaceCode);
        QCOMPARE(rowText(table, 1, 1, 5), "|100|100|100|run"s);
        deleteSelection(table);
        table.setCellText(1, RouteTable::ColDiameter, "keep");
        typeChar(table, BackspaceCode);
        QCOMPARE(rowText(table, 1, 1, 5), "||keep||run"s);
        table.setSelectionEnd(1, RouteTable::ColDescription);
        typeChar(table, U'a');
        table.setCurrentCell(1, RouteTable::ColDescription);
        table.setSelectionEnd(1, RouteTable::ColLength);
        typeChar(table, U'b');
        QCOMPARE(rowText(table, 1, 1, 5), "|a|a|a|a"s);
    }

    // The current row and the used rows below move down one, unless nothing
    // lies below or row 60 is used; home either way.
    void insertsRow()
    {
        // clang-format off
        const struct { QList<int> used; int current; bool moves; } cases[] = {
            {{1, 2, 3, 4}, 2, true}, {{1, 2, 4}, 3, true}, {{1, 59}, 59, true},
            {{1, 2, 3}, 5, false}, {{1, 60}, 1, false}};
        // clang-format on
        for (const auto &[used, current, moves] : cases) {
            RouteTable table, expected;
            table.setUp();
            expected.setUp();
            for (const int row : used) {
                const std::string text =
                    std::to_string(row) + "|x|x|x|x|x|x|x|x|" + std::to_string(row);
                putRows(table, text, row);
                putRows(expected, text, moves && row >= current ? row + 1 : row);
            }
            table.setCurrentCell(Int16(current), 3);
            table.setTopRow(20);
            insertRow(table);
            QVERIFY2(snapshot(table) == snapshot(expected), qPrintable(QString::number(current)));
            QCOMPARE(cursor(table), Home);
        }
    }

    void listTextHoldsHeadersAndUsedRows()
    {
        RouteTable table;
        table.setUp();
        QCOMPARE(listText(table), table.headerLine());
        putRows(table, "|500", 3);
        QCOMPARE(listText(table),
                 table.headerLine() + tabs(9) + "\r" + tabs(9) + "\r\t500" + tabs(8));
    }
};

QTEST_APPLESS_MAIN(TestRouteTable)
#include "tst_core_routetable.moc"
