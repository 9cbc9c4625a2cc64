// The route grid's data (shape, cursor, fill rule, block text, notifications)
// and the editing on it: typing, Delete, Insert Row and the list text.
#include "editing.h"
#include "routetable.h"

#include "coretest.h"

#include <algorithm>

using namespace plenix;
using namespace coretest;

namespace {

const std::string Headers = "Item Qty\tFlow, cfm\tDiameter, in\tLength, ft\tDescription\t"
                            "Loss Coef.\tItem SP, in wg\tVP, in wg\tVel., fpm\tRoute SP, in wg\r";

// The character filter as read off the key table: digits, ":;<=>?@", A to Y
// and the full stop anywhere, the rest of printable ASCII in "Description".
bool expectedAccepted(char32_t code, int col)
{
    return (code >= 48 && code <= 89) || code == 46 ||
           (code >= 32 && code <= 126 && col == RouteTable::ColDescription);
}

// The ten data cells of a row, all holding the same text.
std::string sameCells(const std::string &text)
{
    std::string cells = text;
    for (int col = 2; col <= RouteTable::DataCols; ++col)
        cells += "|" + text;
    return cells;
}

} // namespace

class TestRouteTable final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setupAndClear()
    {
        RouteTable table;
        QCOMPARE(table.headerLine(), ""s);
        table.setUp();
        QCOMPARE(table.headerLine(), Headers);
        std::string headerCells = "|" + Headers.substr(0, Headers.size() - 1) + "|";
        std::replace(headerCells.begin(), headerCells.end(), '\t', '|');
        QCOMPARE(rowText(table, 0, 0, 11), headerCells);
        QCOMPARE(table.cellText(1, 0) + table.cellText(12, 0) + table.cellText(60, 0), " 1 12 60"s);
        const int widths[] = {360, 750, 850, 1000, 850, 2010, 900, 1250, 900, 800, 1400, 10000};
        for (int col = 0; col < RouteTable::ColCount; ++col)
            QCOMPARE(table.colWidthTwips(col), widths[col]);
        QCOMPARE(table.gridWidthTwips(), 11400);
        QCOMPARE(cursor(table), Home);
        // Clearing empties the data cells only, and goes home.
        RouteTable expected;
        expected.setUp();
        fillData(table);
        table.setCellText(60, RouteTable::ColSpare, "spare");
        expected.setCellText(60, RouteTable::ColSpare, "spare");
        moveAway(table);
        table.clear();
        QVERIFY(snapshot(table) == snapshot(expected));
        QCOMPARE(table.headerLine(), Headers);
        QCOMPARE(cursor(table), Home);
    }

    void findsLastUsedRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("expected");
        QTest::newRow("row 7, result column") << 7 << 9 << 1 << 7;
        QTest::newRow("fixed column does not count") << 9 << 0 << 1 << 0;
        QTest::newRow("spare column does not count") << 9 << 11 << 1 << 0;
        QTest::newRow("header row does not count") << 0 << 3 << 1 << 0;
        QTest::newRow("used row above start") << 3 << 1 << 5 << 0;
        QTest::newRow("used row at start") << 5 << 10 << 5 << 5;
        QTest::newRow("start beyond 60") << 60 << 4 << 61 << 0;
    }

    void findsLastUsedRow()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, startRow);
        QFETCH(int, expected);
        RouteTable table;
        table.setUp();
        table.setCellText(row, col, " "); // a blank is text
        QCOMPARE(int(table.lastUsedRow(Int16(startRow))), expected);
    }

    void cursorAndSelection()
    {
        RouteTable table;
        table.setUp();
        table.setTopRow(7);
        table.setLeftCol(3);
        table.selectRows(2, 4); // selecting does not scroll
        QCOMPARE(cursor(table), "at 2,1 selecting 2,1-4,10 top 7 left 3"s);
        table.setCurrentCell(8, 9);
        table.setSelectionEnd(2, 4);
        QCOMPARE(cursor(table), "at 8,9 selecting 2,4-8,9 top 7 left 3"s);
        // Moving the current cell collapses the selection onto it.
        table.setCurrentRow(4);
        QCOMPARE(cursor(table), "at 4,9 selecting 4,9-4,9 top 7 left 3"s);
        table.setSelectionRow(9);
        table.setCurrentCol(5);
        table.setSelectionCol(2);
        QCOMPARE(cursor(table), "at 4,5 selecting 4,2-4,5 top 7 left 3"s);
    }

    void readsAndWritesBlocks()
    {
        RouteTable table;
        table.setUp();
        putRows(table, "2\n||||abc");
        table.selectRows(1, 2);
        QCOMPARE(table.blockText(), "2" + tabs(9) + "\r" + tabs(4) + "abc" + tabs(5));
        table.setCurrentCell(2, 5);
        table.setSelectionEnd(1, 4);
        QCOMPARE(table.blockText(), "\t\r\tabc"s);
        // Written text fills the selection from its top-left cell; what lies
        // beyond is dropped, cells it does not reach keep their text.
        fillData(table);
        table.selectRows(1, 3);
        table.setBlockText("1\t2");
        table.setCurrentCell(3, 3);
        table.setSelectionEnd(2, 2);
        table.setBlockText("A\tB\tC\rD\tE\tF\rG");
        table.selectRows(5, 6);
        table.setBlockText(tabs(10));
        RouteTable expected;
        expected.setUp();
        fillData(expected);
        putRows(expected, "1|2");
        putRows(expected, "A|B\nD|E", 2, 2);
        putRows(expected, "|||||||||", 5);
        QVERIFY(snapshot(table) == snapshot(expected));
    }

    void oneNotificationPerOperation()
    {
        RouteTable table;
        table.setUp();
        ChangeLog log(table);
        ChangeLog other(table); // every listener hears, until it is removed
        table.selectRows(2, 4);
        QCOMPARE(log.changes.size(), std::size_t(1));
        QVERIFY(log.changes.back().cursorMoved && log.changes.back().cells.isEmpty());
        table.removeListener(&other);
        QCOMPARE(other.changes.size(), std::size_t(1));
        table.setCurrentText("x"); // the fill rule: every selected cell
        QCOMPARE(rowText(table, 2) + rowText(table, 4), sameCells("x") + sameCells("x"));
        QCOMPARE(rowText(table, 1) + rowText(table, 5), std::string(18, '|'));
        QCOMPARE(log.changes.size(), std::size_t(2));
        QCOMPARE(log.changes.back().cells, (CellRange{2, 1, 4, 10}));
        table.setTopRow(20);
        table.clear();
        QCOMPARE(log.changes.size(), std::size_t(4));
        QCOMPARE(log.changes.back().cells, (CellRange{2, 1, 4, 10}));
        QVERIFY(log.changes.back().cursorMoved && log.changes.back().scrolled);
        QCOMPARE(other.changes.size(), std::size_t(1));
    }

    void filterRangesAreExact()
    {
        for (int col = 1; col <= RouteTable::ColSpare; ++col) {
            for (char32_t code = 0; code <= 0x2100; ++code) {
                if (code != BackspaceCode &&
                    isCharAccepted(code, col) != expectedAccepted(code, col))
                    QFAIL(
                        qPrintable(QStringLiteral("code %1, column %2").arg(uint(code)).arg(col)));
            }
        }
    }

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
        QCOMPARE(type(RouteTable::ColFlow, "12.5"), "12.5"s);
        QCOMPARE(type(RouteTable::ColFlow, "\b\b"), "12"s);
        QCOMPARE(type(RouteTable::ColLength, "1EYZ"), "1EY"s);
        QCOMPARE(type(RouteTable::ColDescription, "x\r\t\n\x1b\x7f\xe9"), "x"s);
        // Through the fill rule, into every selected cell.
        putRows(table, "|100|7");
        table.setCurrentCell(1, RouteTable::ColFlow);
        table.setSelectionEnd(1, RouteTable::ColLength);
        typeChar(table, U'0');
        QCOMPARE(rowText(table, 1, 1, 5), "|1000|1000|1000|"s);
        typeChar(table, BackspaceCode);
        QCOMPARE(rowText(table, 1, 1, 5), "|100|100|100|"s);
        deleteSelection(table);
        QCOMPARE(rowText(table, 1, 1, 5), "||||"s);
        // Backspace on an empty current cell stores nothing anywhere.
        table.setCellText(1, RouteTable::ColDiameter, "keep");
        typeChar(table, BackspaceCode);
        QCOMPARE(rowText(table, 1, 1, 5), "||keep||"s);
        // Letters are judged on the selection end's column: "Description" here.
        putRows(table, "|||12|run");
        table.setCurrentCell(1, RouteTable::ColLength);
        table.setSelectionEnd(1, RouteTable::ColDescription);
        typeChar(table, U'a');
        table.setCurrentCell(1, RouteTable::ColDescription);
        table.setSelectionEnd(1, RouteTable::ColLength);
        typeChar(table, U'b');
        QCOMPARE(rowText(table, 1, 4, 5), "12a|12a"s);
    }

    void insertsRow_data()
    {
        QTest::addColumn<QList<int>>("used");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("moves");
        const auto rows = [](int first, int last, int skip = 0) {
            QList<int> list;
            for (int row = first; row <= last; ++row)
                list << row;
            list.removeOne(skip);
            return list;
        };
        QTest::newRow("rows 1-10, at 4") << rows(1, 10) << 4 << true;
        QTest::newRow("row 6 empty, at 6") << rows(1, 10, 6) << 6 << true;
        QTest::newRow("rows 1-59, at 1") << rows(1, 59) << 1 << true;
        QTest::newRow("rows 1 and 59, at 59") << QList<int>{1, 59} << 59 << true;
        QTest::newRow("below the route") << rows(1, 3) << 5 << false;
        QTest::newRow("rows 1-60") << rows(1, 60) << 1 << false;
        QTest::newRow("only row 60") << QList<int>{60} << 60 << false;
    }

    void insertsRow()
    {
        QFETCH(QList<int>, used);
        QFETCH(int, current);
        QFETCH(bool, moves);
        RouteTable table;
        table.setUp();
        RouteTable expected;
        expected.setUp();
        for (const int row : used) {
            putRows(table, sameCells(std::to_string(row)), row);
            // When rows move, the current row and every row below go down one.
            putRows(expected, sameCells(std::to_string(row)),
                    moves && row >= current ? row + 1 : row);
        }
        table.setCurrentCell(Int16(current), 3);
        table.setTopRow(20);
        insertRow(table);
        QVERIFY(snapshot(table) == snapshot(expected));
        QCOMPARE(cursor(table), Home);
    }

    void listTextHoldsHeadersAndUsedRows()
    {
        RouteTable table;
        table.setUp();
        QCOMPARE(listText(table), Headers);
        putRows(table, "|500", 3);
        QCOMPARE(listText(table), Headers + tabs(9) + "\r" + tabs(9) + "\r\t500" + tabs(8));
    }
};

QTEST_APPLESS_MAIN(TestRouteTable)
#include "tst_core_routetable.moc"
