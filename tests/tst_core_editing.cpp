// Typing into the grid, Delete, Insert Row and the list for the clipboard.
#include "editing.h"

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

std::vector<std::string> snapshot(const RouteTable &table)
{
    std::vector<std::string> cells;
    for (int row = 0; row < RouteTable::RowCount; ++row) {
        for (int col = 0; col < RouteTable::ColCount; ++col)
            cells.push_back(table.CellText(row, col));
    }
    return cells;
}

std::string cellName(int row, int col)
{
    return "r" + std::to_string(row) + "c" + std::to_string(col);
}

void fillRow(RouteTable &table, int row, int nameRow)
{
    for (int col = 1; col <= 10; ++col)
        table.setCellText(row, col, cellName(nameRow, col));
}

// The character filter as an engineer reads it off the key table: digits,
// ":;<=>?@", A to Y and the full stop anywhere; the rest of the printable
// ASCII only into "Description".
bool expectedAccepted(char32_t code, int col)
{
    if ((code >= 48 && code <= 89) || code == 46)
        return true;
    const bool descriptionOnly = (code >= 90 && code <= 126) || code == 32 || (code >= 33 && code <= 45)
                                 || code == 47;
    return descriptionOnly && col == RouteTable::ColDescription;
}

void typeText(RouteTable &table, const char *text)
{
    for (const char *c = text; *c != '\0'; ++c)
        sbTypeChar(table, static_cast<unsigned char>(*c));
}

} // namespace

class TestEditing final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filterRangesAreExact();
    void filterIsJudgedOnSelectionEndColumn();
    void typingAppends_data();
    void typingAppends();
    void typingFillsTheSelection();
    void typingIntoAWholeColumn();
    void enterAndTabAddNothing();
    void backspaceDropsTheLastCharacter();
    void backspaceOnEmptyCellStoresNothing();
    void deleteEmptiesTheSelection();
    void oneNotificationPerKey();
    void insertRowMovesRowsDown();
    void insertRowAtEmptyRowInsideRoute();
    void insertRowBelowTheRouteMovesNothing();
    void insertRowWithFiftyNineRowsUsed();
    void insertRowWithRowSixtyUsedMovesNothing_data();
    void insertRowWithRowSixtyUsedMovesNothing();
    void insertRowAtRowFiftyNine();
    void listTextOfEmptyTableIsHeaderLine();
    void listTextOfRowThree();
    void listTextGoesHome();
};

void TestEditing::filterRangesAreExact()
{
    for (int col = 1; col <= RouteTable::ColSpare; ++col) {
        for (char32_t code = 0; code <= 0x2100; ++code) {
            if (code == BackspaceCode)
                continue;
            if (fnCharAccepted(code, col) != expectedAccepted(code, col)) {
                const std::string what = "code " + std::to_string(code) + " column " + std::to_string(col);
                QFAIL(what.c_str());
            }
        }
    }
    QVERIFY(fnCharAccepted(U'Y', RouteTable::ColFlow));
    QVERIFY(!fnCharAccepted(U'Z', RouteTable::ColFlow));
    QVERIFY(fnCharAccepted(U'Z', RouteTable::ColDescription));
    QVERIFY(!fnCharAccepted(U'-', RouteTable::ColLength));
    QVERIFY(!fnCharAccepted(0x7F, RouteTable::ColDescription));
    QVERIFY(!fnCharAccepted(0xE9, RouteTable::ColDescription));
}

void TestEditing::filterIsJudgedOnSelectionEndColumn()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(3, RouteTable::ColLength, "12");
    table.setCellText(3, RouteTable::ColDescription, "run");
    // From "Length, ft" to "Description": small letters pass, and the fill
    // rule writes the current cell's text plus the letter into both.
    table.setCurrentCell(3, RouteTable::ColLength);
    table.setSelectionEnd(3, RouteTable::ColDescription);
    sbTypeChar(table, U'a');
    QCOMPARE(table.CellText(3, RouteTable::ColLength), std::string("12a"));
    QCOMPARE(table.CellText(3, RouteTable::ColDescription), std::string("12a"));

    // The reverse selection rejects them.
    table.setCurrentCell(3, RouteTable::ColDescription);
    table.setSelectionEnd(3, RouteTable::ColLength);
    sbTypeChar(table, U'b');
    QCOMPARE(table.CellText(3, RouteTable::ColLength), std::string("12a"));
    QCOMPARE(table.CellText(3, RouteTable::ColDescription), std::string("12a"));
}

void TestEditing::typingAppends_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("flow 12.5") << int(RouteTable::ColFlow) << QByteArray("12.5") << QByteArray("12.5");
    QTest::newRow("small letter in diameter") << int(RouteTable::ColDiameter) << QByteArray("8a") << QByteArray("8");
    QTest::newRow("space in diameter") << int(RouteTable::ColDiameter) << QByteArray("8 ") << QByteArray("8");
    QTest::newRow("hyphen in diameter") << int(RouteTable::ColDiameter) << QByteArray("-8") << QByteArray("8");
    QTest::newRow("E and Y in length") << int(RouteTable::ColLength) << QByteArray("1E2Y") << QByteArray("1E2Y");
    QTest::newRow("Z in length") << int(RouteTable::ColLength) << QByteArray("Z1") << QByteArray("1");
    QTest::newRow("description") << int(RouteTable::ColDescription) << QByteArray("Elbow -a Z/b!")
                                 << QByteArray("Elbow -a Z/b!");
    QTest::newRow("tilde in description") << int(RouteTable::ColDescription) << QByteArray("~") << QByteArray("~");
    QTest::newRow("punctuation in coefficient") << int(RouteTable::ColLossCoef) << QByteArray("0,5%")
                                                << QByteArray("05");
    QTest::newRow("high byte nowhere") << int(RouteTable::ColDescription) << QByteArray("a\xE9") << QByteArray("a");
    QTest::newRow("spare column") << int(RouteTable::ColSpare) << QByteArray("7x") << QByteArray("7");
}

void TestEditing::typingAppends()
{
    QFETCH(int, col);
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, expected);
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(2, Int16(col));
    typeText(table, typed.constData());
    QCOMPARE(table.CellText(2, col), bytes(expected));
}

void TestEditing::typingFillsTheSelection()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(2, RouteTable::ColFlow, "100");
    table.setCellText(3, RouteTable::ColFlow, "7");
    table.setCurrentCell(2, RouteTable::ColFlow);
    table.setSelectionEnd(4, RouteTable::ColFlow);
    sbTypeChar(table, U'0');
    for (int row = 2; row <= 4; ++row)
        QCOMPARE(table.CellText(row, RouteTable::ColFlow), std::string("1000"));
    QCOMPARE(table.CellText(1, RouteTable::ColFlow), std::string());
    QCOMPARE(table.CellText(5, RouteTable::ColFlow), std::string());
    sbDeleteSelection(table);
    for (int row = 2; row <= 4; ++row)
        QCOMPARE(table.CellText(row, RouteTable::ColFlow), std::string());
}

void TestEditing::typingIntoAWholeColumn()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(1, RouteTable::ColQty, "1");
    table.setCellText(30, RouteTable::ColQty, "99");
    table.setCurrentCell(1, RouteTable::ColQty);
    table.setSelectionEnd(60, RouteTable::ColQty);
    sbTypeChar(table, U'2');
    for (int row = 1; row <= 60; ++row)
        QCOMPARE(table.CellText(row, RouteTable::ColQty), std::string("12"));
    QCOMPARE(table.CellText(0, RouteTable::ColQty), std::string("Item Qty"));
}

void TestEditing::enterAndTabAddNothing()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(1, RouteTable::ColDescription);
    table.setCurrentText("x");
    const auto before = snapshot(table);
    for (char32_t code : {U'\r', U'\t', U'\n', char32_t(27), char32_t(0), char32_t(127), char32_t(0x20AC)})
        sbTypeChar(table, code);
    QVERIFY(snapshot(table) == before);
}

void TestEditing::backspaceDropsTheLastCharacter()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(2, RouteTable::ColFlow, "100");
    table.setCellText(3, RouteTable::ColFlow, "abc");
    table.setCurrentCell(2, RouteTable::ColFlow);
    table.setSelectionEnd(3, RouteTable::ColFlow);
    sbTypeChar(table, BackspaceCode);
    QCOMPARE(table.CellText(2, RouteTable::ColFlow), std::string("10"));
    QCOMPARE(table.CellText(3, RouteTable::ColFlow), std::string("10"));
    table.setCurrentCell(2, RouteTable::ColFlow);
    sbTypeChar(table, BackspaceCode);
    sbTypeChar(table, BackspaceCode);
    QCOMPARE(table.CellText(2, RouteTable::ColFlow), std::string());
}

void TestEditing::backspaceOnEmptyCellStoresNothing()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(3, RouteTable::ColFlow, "keep");
    table.setCurrentCell(2, RouteTable::ColFlow);
    table.setSelectionEnd(4, RouteTable::ColFlow);
    const auto before = snapshot(table);
    sbTypeChar(table, BackspaceCode);
    QVERIFY(snapshot(table) == before);
}

void TestEditing::deleteEmptiesTheSelection()
{
    RouteTable table;
    table.sbGridSetup();
    for (int row = 1; row <= 5; ++row)
        fillRow(table, row, row);
    table.setCurrentCell(4, 6);
    table.setSelectionEnd(2, 3);
    auto expected = snapshot(table);
    sbDeleteSelection(table);
    for (int row = 2; row <= 4; ++row) {
        for (int col = 3; col <= 6; ++col)
            expected[static_cast<std::size_t>(row * RouteTable::ColCount + col)].clear();
    }
    QVERIFY(snapshot(table) == expected);
}

void TestEditing::oneNotificationPerKey()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(2, RouteTable::ColFlow);
    table.setSelectionEnd(4, RouteTable::ColDiameter);
    std::vector<TableChange> changes;
    table.setObserver([&changes](const TableChange &change) { changes.push_back(change); });
    sbTypeChar(table, U'5');
    QCOMPARE(changes.size(), std::size_t(1));
    QCOMPARE(changes.back().cells, (CellRange{2, 2, 4, 3}));
    sbDeleteSelection(table);
    QCOMPARE(changes.size(), std::size_t(2));
    QCOMPARE(changes.back().cells, (CellRange{2, 2, 4, 3}));
}

void TestEditing::insertRowMovesRowsDown()
{
    RouteTable table;
    table.sbGridSetup();
    for (int row = 1; row <= 10; ++row)
        fillRow(table, row, row);
    table.setCurrentCell(4, 7);
    sbInsertRow(table);
    for (int row = 1; row <= 3; ++row) {
        for (int col = 1; col <= 10; ++col)
            QCOMPARE(table.CellText(row, col), cellName(row, col));
    }
    for (int col = 1; col <= 10; ++col)
        QCOMPARE(table.CellText(4, col), std::string());
    for (int row = 5; row <= 11; ++row) {
        for (int col = 1; col <= 10; ++col)
            QCOMPARE(table.CellText(row, col), cellName(row - 1, col));
    }
    for (int row = 12; row <= 60; ++row) {
        for (int col = 1; col <= 10; ++col)
            QCOMPARE(table.CellText(row, col), std::string());
    }
    QCOMPARE(table.CellText(11, 0), std::string(" 11"));
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selection(), (CellRange{1, 1, 1, 1}));
    QCOMPARE(table.topRow(), Int16(1));
    QCOMPARE(table.leftCol(), Int16(1));
}

void TestEditing::insertRowAtEmptyRowInsideRoute()
{
    RouteTable table;
    table.sbGridSetup();
    for (int row = 1; row <= 10; ++row) {
        if (row != 6)
            fillRow(table, row, row);
    }
    table.setCurrentCell(6, 2);
    sbInsertRow(table);
    for (int col = 1; col <= 10; ++col) {
        QCOMPARE(table.CellText(5, col), cellName(5, col));
        QCOMPARE(table.CellText(6, col), std::string());
        QCOMPARE(table.CellText(7, col), std::string());
        for (int row = 8; row <= 11; ++row)
            QCOMPARE(table.CellText(row, col), cellName(row - 1, col));
        QCOMPARE(table.CellText(12, col), std::string());
    }
}

void TestEditing::insertRowBelowTheRouteMovesNothing()
{
    RouteTable table;
    table.sbGridSetup();
    for (int row = 1; row <= 3; ++row)
        fillRow(table, row, row);
    table.setCurrentCell(5, 4);
    table.setTopRow(3);
    const auto before = snapshot(table);
    sbInsertRow(table);
    QVERIFY(snapshot(table) == before);
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.topRow(), Int16(1));
}

void TestEditing::insertRowWithFiftyNineRowsUsed()
{
    RouteTable table;
    table.sbGridSetup();
    for (int row = 1; row <= 59; ++row)
        fillRow(table, row, row);
    table.setCurrentCell(1, 5);
    sbInsertRow(table);
    for (int col = 1; col <= 10; ++col) {
        QCOMPARE(table.CellText(1, col), std::string());
        for (int row = 2; row <= 60; ++row)
            QCOMPARE(table.CellText(row, col), cellName(row - 1, col));
    }
}

void TestEditing::insertRowWithRowSixtyUsedMovesNothing_data()
{
    QTest::addColumn<int>("firstUsed");
    QTest::addColumn<int>("currentRow");
    QTest::newRow("rows 1 to 60, row 1") << 1 << 1;
    QTest::newRow("rows 1 to 60, row 30") << 1 << 30;
    QTest::newRow("only row 60, row 60") << 60 << 60;
    QTest::newRow("only row 60, row 10") << 60 << 10;
}

void TestEditing::insertRowWithRowSixtyUsedMovesNothing()
{
    QFETCH(int, firstUsed);
    QFETCH(int, currentRow);
    RouteTable table;
    table.sbGridSetup();
    for (int row = firstUsed; row <= 60; ++row)
        fillRow(table, row, row);
    table.setCurrentCell(Int16(currentRow), 3);
    const auto before = snapshot(table);
    sbInsertRow(table);
    QVERIFY(snapshot(table) == before);
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
}

void TestEditing::insertRowAtRowFiftyNine()
{
    // The last row that may move: row 59 into row 60.
    RouteTable table;
    table.sbGridSetup();
    fillRow(table, 1, 1);
    fillRow(table, 59, 59);
    table.setCurrentCell(59, 1);
    sbInsertRow(table);
    for (int col = 1; col <= 10; ++col) {
        QCOMPARE(table.CellText(1, col), cellName(1, col));
        QCOMPARE(table.CellText(59, col), std::string());
        QCOMPARE(table.CellText(60, col), cellName(59, col));
    }

    // With row 60 itself current and empty, nothing lies at or below it.
    RouteTable other;
    other.sbGridSetup();
    for (int row = 1; row <= 59; ++row)
        fillRow(other, row, row);
    other.setCurrentCell(60, 1);
    const auto before = snapshot(other);
    sbInsertRow(other);
    QVERIFY(snapshot(other) == before);
}

void TestEditing::listTextOfEmptyTableIsHeaderLine()
{
    RouteTable table;
    table.sbGridSetup();
    QCOMPARE(fnListText(table), std::string("Item Qty\tFlow, cfm\tDiameter, in\tLength, ft\tDescription\t"
                                            "Loss Coef.\tItem SP, in wg\tVP, in wg\tVel., fpm\t"
                                            "Route SP, in wg\r"));
}

void TestEditing::listTextOfRowThree()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(3, RouteTable::ColFlow, "500");
    const std::string header = table.HeaderLine();
    QCOMPARE(fnListText(table), header + tabs(9) + "\r" + tabs(9) + "\r\t500" + tabs(8));
}

void TestEditing::listTextGoesHome()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(1, 1, "2");
    table.setCurrentCell(9, 6);
    table.setSelectionEnd(12, 8);
    table.setTopRow(5);
    table.setLeftCol(3);
    const auto before = snapshot(table);
    QCOMPARE(fnListText(table), table.HeaderLine() + "2" + tabs(9));
    QVERIFY(snapshot(table) == before);
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selection(), (CellRange{1, 1, 1, 1}));
    QCOMPARE(table.topRow(), Int16(1));
    QCOMPARE(table.leftCol(), Int16(1));
}

QTEST_APPLESS_MAIN(TestEditing)
#include "tst_core_editing.moc"
