// The route grid's data: shape, headers, cursor, fill rule and block text.
#include "routetable.h"

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

std::string tabs(int count)
{
    return std::string(static_cast<std::size_t>(count), '\t');
}

// Every cell's text, to prove that an operation touched nothing else.
std::vector<std::string> snapshot(const RouteTable &table)
{
    std::vector<std::string> cells;
    for (int row = 0; row < RouteTable::RowCount; ++row) {
        for (int col = 0; col < RouteTable::ColCount; ++col)
            cells.push_back(table.CellText(row, col));
    }
    return cells;
}

void fillData(RouteTable &table)
{
    for (int row = 1; row <= RouteTable::DataRows; ++row) {
        for (int col = 1; col <= RouteTable::DataCols; ++col)
            table.setCellText(row, col, "r" + std::to_string(row) + "c" + std::to_string(col));
    }
}

struct ChangeLog
{
    std::vector<TableChange> changes;
    void attach(RouteTable &table)
    {
        table.setObserver([this](const TableChange &change) { changes.push_back(change); });
    }
};

const char *const headers[] = {"Item Qty",   "Flow, cfm",      "Diameter, in", "Length, ft",
                               "Description", "Loss Coef.",    "Item SP, in wg", "VP, in wg",
                               "Vel., fpm",   "Route SP, in wg"};

} // namespace

class TestRouteTable final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setupWritesHeadersAndRowNumbers();
    void setupBuildsHeaderLine();
    void setupSetsColumnWidthsAndGridWidth();
    void setupGoesHome();
    void lastUsedRow_data();
    void lastUsedRow();
    void lastUsedRowMovesCurrentColumnToOne();
    void clearEmptiesDataCellsOnly();
    void clearGoesHome();
    void rowsSelectCoversTenColumns();
    void fillRuleWritesEverySelectedCell();
    void movingTheCurrentCellCollapsesTheSelection();
    void selectionIsNormalised();
    void blockTextReadsSelection();
    void blockTextReadsReversedSelection();
    void blockTextWriteFillsFromTopLeft();
    void blockTextWriteDropsWhatLiesBeyond();
    void blockTextWriteEmptiesCellsGivenEmptyFields();
    void cellTextReachesFixedCells();
    void oneNotificationPerOperation();
    void batchJoinsNotifications();
    void cellRangeUnite();
};

void TestRouteTable::setupWritesHeadersAndRowNumbers()
{
    RouteTable table;
    table.sbGridSetup();
    QCOMPARE(table.CellText(0, 7), std::string("Item SP, in wg"));
    for (int col = 1; col <= 10; ++col)
        QCOMPARE(table.CellText(0, col), std::string(headers[col - 1]));
    QCOMPARE(table.CellText(0, 0), std::string());
    QCOMPARE(table.CellText(0, 11), std::string());
    QCOMPARE(table.CellText(12, 0), std::string(" 12"));
    QCOMPARE(table.CellText(1, 0), std::string(" 1"));
    QCOMPARE(table.CellText(60, 0), std::string(" 60"));
    for (int row = 1; row <= 60; ++row) {
        for (int col = 1; col <= 11; ++col)
            QCOMPARE(table.CellText(row, col), std::string());
    }
}

void TestRouteTable::setupBuildsHeaderLine()
{
    RouteTable table;
    QCOMPARE(table.HeaderLine(), std::string());
    table.sbGridSetup();
    QCOMPARE(table.HeaderLine(),
             std::string("Item Qty\tFlow, cfm\tDiameter, in\tLength, ft\tDescription\tLoss Coef."
                         "\tItem SP, in wg\tVP, in wg\tVel., fpm\tRoute SP, in wg\r"));
}

void TestRouteTable::setupSetsColumnWidthsAndGridWidth()
{
    RouteTable table;
    table.sbGridSetup();
    const int widths[] = {360, 750, 850, 1000, 850, 2010, 900, 1250, 900, 800, 1400, 10000};
    for (int col = 0; col < RouteTable::ColCount; ++col)
        QCOMPARE(table.colWidthTwips(col), widths[col]);
    QCOMPARE(table.gridWidthTwips(), 11400);
}

void TestRouteTable::setupGoesHome()
{
    RouteTable table;
    table.sbGridSetup();
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selection(), (CellRange{1, 1, 1, 1}));
    QCOMPARE(table.topRow(), Int16(1));
    QCOMPARE(table.leftCol(), Int16(1));
}

void TestRouteTable::lastUsedRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty table") << 0 << 0 << QByteArray() << 1 << 0;
    QTest::newRow("row 7, result column") << 7 << 9 << QByteArray("5") << 1 << 7;
    QTest::newRow("a blank counts") << 4 << 5 << QByteArray(" ") << 1 << 4;
    QTest::newRow("fixed column does not count") << 9 << 0 << QByteArray("x") << 1 << 0;
    QTest::newRow("spare column does not count") << 9 << 11 << QByteArray("x") << 1 << 0;
    QTest::newRow("header row does not count") << 0 << 3 << QByteArray("x") << 1 << 0;
    QTest::newRow("used row above start") << 3 << 1 << QByteArray("2") << 5 << 0;
    QTest::newRow("used row at start") << 5 << 10 << QByteArray("2") << 5 << 5;
    QTest::newRow("row 60") << 60 << 1 << QByteArray("2") << 1 << 60;
    QTest::newRow("row 60 from 60") << 60 << 4 << QByteArray("2") << 60 << 60;
    QTest::newRow("start beyond 60") << 60 << 4 << QByteArray("2") << 61 << 0;
}

void TestRouteTable::lastUsedRow()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QByteArray, text);
    QFETCH(int, startRow);
    QFETCH(int, expected);
    RouteTable table;
    table.sbGridSetup();
    if (!text.isEmpty())
        table.setCellText(row, col, bytes(text));
    QCOMPARE(int(table.fnLastUsedRow(Int16(startRow))), expected);
}

void TestRouteTable::lastUsedRowMovesCurrentColumnToOne()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(3, 2, "a");
    table.setCellText(8, 6, "b");
    table.setCurrentCell(5, 7);
    table.setSelectionEnd(9, 9);
    table.setTopRow(4);
    QCOMPARE(int(table.fnLastUsedRow(3)), 8);
    QCOMPARE(table.currentRow(), Int16(5));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selection(), (CellRange{5, 1, 5, 1}));
    QCOMPARE(table.topRow(), Int16(4));
    QCOMPARE(int(table.fnLastUsedRow(9)), 0);
}

void TestRouteTable::clearEmptiesDataCellsOnly()
{
    RouteTable table;
    table.sbGridSetup();
    fillData(table);
    for (int row = 1; row <= 60; ++row)
        table.setCellText(row, 11, "spare");
    const std::string headerLine = table.HeaderLine();
    table.sbGridClear();
    for (int row = 1; row <= 60; ++row) {
        for (int col = 1; col <= 10; ++col)
            QCOMPARE(table.CellText(row, col), std::string());
        QCOMPARE(table.CellText(row, 0), " " + std::to_string(row));
        QCOMPARE(table.CellText(row, 11), std::string("spare"));
    }
    for (int col = 1; col <= 10; ++col)
        QCOMPARE(table.CellText(0, col), std::string(headers[col - 1]));
    QCOMPARE(table.HeaderLine(), headerLine);
}

void TestRouteTable::clearGoesHome()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(30, 6);
    table.setSelectionEnd(40, 8);
    table.setTopRow(25);
    table.setLeftCol(4);
    table.sbGridClear();
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selection(), (CellRange{1, 1, 1, 1}));
    QCOMPARE(table.topRow(), Int16(1));
    QCOMPARE(table.leftCol(), Int16(1));
}

void TestRouteTable::rowsSelectCoversTenColumns()
{
    RouteTable table;
    table.sbGridSetup();
    table.setTopRow(7);
    table.setLeftCol(3);
    table.sbRowsSelect(2, 4);
    QCOMPARE(table.currentRow(), Int16(2));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selectionRow(), Int16(4));
    QCOMPARE(table.selectionCol(), Int16(10));
    QCOMPARE(table.selection(), (CellRange{2, 1, 4, 10}));
    // Selecting does not scroll.
    QCOMPARE(table.topRow(), Int16(7));
    QCOMPARE(table.leftCol(), Int16(3));
}

void TestRouteTable::fillRuleWritesEverySelectedCell()
{
    RouteTable table;
    table.sbGridSetup();
    table.sbRowsSelect(2, 4);
    table.setCurrentText("x");
    for (int row = 1; row <= 60; ++row) {
        for (int col = 0; col <= 11; ++col) {
            const bool selected = row >= 2 && row <= 4 && col >= 1 && col <= 10;
            if (selected)
                QCOMPARE(table.CellText(row, col), std::string("x"));
            else if (col >= 1 && col <= 11)
                QCOMPARE(table.CellText(row, col), std::string());
        }
    }
    QCOMPARE(table.CurrentText(), std::string("x"));

    // A single cell is the smallest selection.
    table.setCurrentCell(10, 3);
    table.setCurrentText("12.5");
    QCOMPARE(table.CellText(10, 3), std::string("12.5"));
    QCOMPARE(table.CellText(10, 4), std::string());
    QCOMPARE(table.CellText(2, 1), std::string("x"));
}

void TestRouteTable::movingTheCurrentCellCollapsesTheSelection()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(3, 3);
    table.setSelectionEnd(6, 8);
    QCOMPARE(table.selection(), (CellRange{3, 3, 6, 8}));
    table.setCurrentRow(4);
    QCOMPARE(table.selection(), (CellRange{4, 3, 4, 3}));
    table.setSelectionRow(9);
    QCOMPARE(table.selection(), (CellRange{4, 3, 9, 3}));
    table.setCurrentCol(5);
    QCOMPARE(table.selection(), (CellRange{4, 5, 4, 5}));
    table.setSelectionCol(2);
    QCOMPARE(table.selection(), (CellRange{4, 2, 4, 5}));
    QCOMPARE(table.currentCol(), Int16(5));
    table.sbGridHome();
    QCOMPARE(table.selection(), (CellRange{1, 1, 1, 1}));
}

void TestRouteTable::selectionIsNormalised()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(8, 9);
    table.setSelectionEnd(2, 4);
    QCOMPARE(table.selection(), (CellRange{2, 4, 8, 9}));
    QCOMPARE(table.currentRow(), Int16(8));
    QCOMPARE(table.selectionRow(), Int16(2));
}

void TestRouteTable::blockTextReadsSelection()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(1, 1, "2");
    table.setCellText(2, 5, "abc");
    table.sbRowsSelect(1, 2);
    QCOMPARE(table.BlockText(), "2" + tabs(9) + "\r" + tabs(4) + "abc" + tabs(5));

    table.setCurrentCell(2, 5);
    QCOMPARE(table.BlockText(), std::string("abc"));
}

void TestRouteTable::blockTextReadsReversedSelection()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(2, 2, "a");
    table.setCellText(2, 3, "b");
    table.setCellText(3, 2, "c");
    table.setCellText(3, 3, "d");
    table.setCurrentCell(3, 3);
    table.setSelectionEnd(2, 2);
    QCOMPARE(table.BlockText(), std::string("a\tb\rc\td"));
}

void TestRouteTable::blockTextWriteFillsFromTopLeft()
{
    RouteTable table;
    table.sbGridSetup();
    fillData(table);
    const auto before = snapshot(table);
    table.sbRowsSelect(1, 3);
    table.setBlockText("1\t2");
    QCOMPARE(table.CellText(1, 1), std::string("1"));
    QCOMPARE(table.CellText(1, 2), std::string("2"));
    auto expected = before;
    expected[1 * RouteTable::ColCount + 1] = "1";
    expected[1 * RouteTable::ColCount + 2] = "2";
    QVERIFY(snapshot(table) == expected);
}

void TestRouteTable::blockTextWriteDropsWhatLiesBeyond()
{
    RouteTable table;
    table.sbGridSetup();
    fillData(table);
    const auto before = snapshot(table);
    // Reversed corners: the top-left of the rectangle is where filling starts.
    table.setCurrentCell(3, 3);
    table.setSelectionEnd(2, 2);
    table.setBlockText("a\tb\tc\rd\te\tf\rg");
    QCOMPARE(table.CellText(2, 2), std::string("a"));
    QCOMPARE(table.CellText(2, 3), std::string("b"));
    QCOMPARE(table.CellText(3, 2), std::string("d"));
    QCOMPARE(table.CellText(3, 3), std::string("e"));
    auto expected = before;
    expected[2 * RouteTable::ColCount + 2] = "a";
    expected[2 * RouteTable::ColCount + 3] = "b";
    expected[3 * RouteTable::ColCount + 2] = "d";
    expected[3 * RouteTable::ColCount + 3] = "e";
    QVERIFY(snapshot(table) == expected);
}

void TestRouteTable::blockTextWriteEmptiesCellsGivenEmptyFields()
{
    RouteTable table;
    table.sbGridSetup();
    fillData(table);
    table.sbRowsSelect(4, 5);
    // Ten empty fields for row 4; row 5 gets no text and keeps its own.
    table.setBlockText(tabs(10));
    for (int col = 1; col <= 10; ++col) {
        QCOMPARE(table.CellText(4, col), std::string());
        QCOMPARE(table.CellText(5, col), "r5c" + std::to_string(col));
    }
    // A line feed is an ordinary byte of a cell.
    table.sbRowsSelect(6, 7);
    table.setBlockText("a\r\nb\tc");
    QCOMPARE(table.CellText(6, 1), std::string("a"));
    QCOMPARE(table.CellText(6, 2), std::string("r6c2"));
    QCOMPARE(table.CellText(7, 1), std::string("\nb"));
    QCOMPARE(table.CellText(7, 2), std::string("c"));
}

void TestRouteTable::cellTextReachesFixedCells()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(0, 0, "corner");
    table.setCellText(7, 11, "spare");
    QCOMPARE(table.CellText(0, 0), std::string("corner"));
    QCOMPARE(table.CellText(7, 11), std::string("spare"));
    QCOMPARE(int(table.fnLastUsedRow(1)), 0);
}

void TestRouteTable::oneNotificationPerOperation()
{
    RouteTable table;
    table.sbGridSetup();
    ChangeLog log;
    log.attach(table);

    table.sbRowsSelect(2, 4);
    QCOMPARE(log.changes.size(), std::size_t(1));
    QVERIFY(log.changes.back().cursorMoved);
    QVERIFY(log.changes.back().cells.isEmpty());

    log.changes.clear();
    table.setCurrentText("x");
    QCOMPARE(log.changes.size(), std::size_t(1));
    QCOMPARE(log.changes.back().cells, (CellRange{2, 1, 4, 10}));

    log.changes.clear();
    table.sbRowsSelect(1, 60);
    table.setBlockText("1\t2\r3\t4");
    QCOMPARE(log.changes.size(), std::size_t(2));
    QVERIFY(log.changes.back().cells.contains(1, 1));
    QVERIFY(log.changes.back().cells.contains(2, 2));

    log.changes.clear();
    table.setTopRow(20);
    QCOMPARE(log.changes.size(), std::size_t(1));
    QVERIFY(log.changes.back().scrolled);

    log.changes.clear();
    table.sbGridClear();
    QCOMPARE(log.changes.size(), std::size_t(1));
    QVERIFY(log.changes.back().cells.contains(1, 1));
    QVERIFY(log.changes.back().cells.contains(4, 10));
    QVERIFY(log.changes.back().cursorMoved);
    QVERIFY(log.changes.back().scrolled);
}

void TestRouteTable::batchJoinsNotifications()
{
    RouteTable table;
    table.sbGridSetup();
    ChangeLog log;
    log.attach(table);
    {
        RouteTable::Batch outer(table);
        table.setCellText(3, 2, "a");
        {
            RouteTable::Batch inner(table);
            table.setCellText(9, 7, "b");
        }
        table.setCurrentCell(5, 5);
        QCOMPARE(log.changes.size(), std::size_t(0));
    }
    QCOMPARE(log.changes.size(), std::size_t(1));
    QCOMPARE(log.changes.back().cells, (CellRange{3, 2, 9, 7}));
    QVERIFY(log.changes.back().cursorMoved);
}

void TestRouteTable::cellRangeUnite()
{
    CellRange range{1, 1, 1, 1};
    range.unite(CellRange{3, 4, 5, 6});
    QCOMPARE(range, (CellRange{1, 1, 5, 6}));
    range.unite(CellRange{});
    QCOMPARE(range, (CellRange{1, 1, 5, 6}));
    CellRange empty;
    QVERIFY(empty.isEmpty());
    empty.unite(CellRange{2, 7, 2, 9});
    QCOMPARE(empty, (CellRange{2, 7, 2, 9}));
    QVERIFY(empty.contains(2, 8));
    QVERIFY(!empty.contains(3, 8));
}

QTEST_APPLESS_MAIN(TestRouteTable)
#include "tst_core_routetable.moc"
