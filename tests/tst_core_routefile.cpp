// The route file text: used rows as block text, the separator byte, the
// description; packing, unpacking and the description's line breaks.
#include "routefile.h"

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

const std::string separator(1, '\x80');

std::vector<std::string> snapshot(const RouteTable &table)
{
    std::vector<std::string> cells;
    for (int row = 0; row < RouteTable::RowCount; ++row) {
        for (int col = 0; col < RouteTable::ColCount; ++col)
            cells.push_back(table.CellText(row, col));
    }
    return cells;
}

void fillRows(RouteTable &table, int lastRow)
{
    for (int row = 1; row <= lastRow; ++row) {
        for (int col = 1; col <= 10; ++col)
            table.setCellText(row, col, "r" + std::to_string(row) + "c" + std::to_string(col));
    }
}

void checkEmptyData(const RouteTable &table)
{
    for (int row = 1; row <= 60; ++row) {
        for (int col = 1; col <= 10; ++col)
            QCOMPARE(table.CellText(row, col), std::string());
    }
}

} // namespace

class TestRouteFile final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyRouteIsTheSeparatorAlone();
    void emptyRouteWithOneLineDescription();
    void twoRowsWithTwoLineDescription();
    void lonelySevenInRowFive();
    void rowSixtyIsStoredLast();
    void packGoesHome();
    void unpackRestoresWhatPackWrote();
    void unpackDropsRowsBeyondSixtyAndFieldsBeyondTen();
    void unpackReplacesTheWholeTable();
    void unpackLeavesFixedCellsAndGoesHome();
    void onlyTheFirstSeparatorDivides();
    void crLfRowsKeepTheirLineFeeds();
    void textWithoutSeparatorChangesNothing_data();
    void textWithoutSeparatorChangesNothing();
    void everyCellByteRoundTrips();
    void everyDescriptionByteRoundTrips();
    void canonicalTextComesBackIdentical_data();
    void canonicalTextComesBackIdentical();
    void descriptionLineBreaks_data();
    void descriptionLineBreaks();
    void descriptionForFileAndBackIsLossless();
};

void TestRouteFile::emptyRouteIsTheSeparatorAlone()
{
    RouteTable table;
    table.sbGridSetup();
    QCOMPARE(sbRoutePack(table, ""), separator);
}

void TestRouteFile::emptyRouteWithOneLineDescription()
{
    RouteTable table;
    table.sbGridSetup();
    const std::string text = sbRoutePack(table, "Supply to level 2");
    QCOMPARE(text, separator + "Supply to level 2");

    fillRows(table, 5);
    const auto description = sbRouteUnpack(table, text);
    QVERIFY(description.has_value());
    QCOMPARE(*description, std::string("Supply to level 2"));
    checkEmptyData(table);
}

void TestRouteFile::twoRowsWithTwoLineDescription()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(1, RouteTable::ColFlow, "500");
    table.setCellText(1, RouteTable::ColDiameter, "8");
    table.setCellText(2, RouteTable::ColLength, "20");
    const std::string text = sbRoutePack(table, "First line\r\nSecond line");
    QCOMPARE(text, "\t500\t8" + tabs(7) + "\r" + tabs(3) + "20" + tabs(6) + separator
                       + "First line\r\nSecond line");
}

void TestRouteFile::lonelySevenInRowFive()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(5, 9, "7");
    std::string expected;
    for (int row = 1; row <= 4; ++row)
        expected += tabs(9) + "\r";
    expected += tabs(8) + "7\t" + separator + "d";
    QCOMPARE(sbRoutePack(table, "d"), expected);
}

void TestRouteFile::rowSixtyIsStoredLast()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(60, 10, "0.5");
    std::string expected;
    for (int row = 1; row <= 59; ++row)
        expected += tabs(9) + "\r";
    expected += tabs(9) + "0.5" + separator;
    QCOMPARE(sbRoutePack(table, ""), expected);

    // Text in the spare column is never stored.
    table.setCellText(60, 11, "spare");
    QCOMPARE(sbRoutePack(table, ""), expected);
}

void TestRouteFile::packGoesHome()
{
    RouteTable table;
    table.sbGridSetup();
    fillRows(table, 3);
    table.setCurrentCell(30, 7);
    table.setSelectionEnd(35, 9);
    table.setTopRow(28);
    table.setLeftCol(5);
    const auto before = snapshot(table);
    sbRoutePack(table, "x");
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selection(), (CellRange{1, 1, 1, 1}));
    QCOMPARE(table.topRow(), Int16(1));
    QCOMPARE(table.leftCol(), Int16(1));
    QVERIFY(snapshot(table) == before);
}

void TestRouteFile::unpackRestoresWhatPackWrote()
{
    RouteTable source;
    source.sbGridSetup();
    fillRows(source, 12);
    source.setCellText(4, 3, "");
    for (int col = 1; col <= 10; ++col)
        source.setCellText(7, col, ""); // an empty row inside the route
    const std::string text = sbRoutePack(source, "Two\r\nlines");

    RouteTable target;
    target.sbGridSetup();
    fillRows(target, 60);
    target.setCurrentCell(20, 4);
    const auto description = sbRouteUnpack(target, text);
    QVERIFY(description.has_value());
    QCOMPARE(*description, std::string("Two\r\nlines"));
    QVERIFY(snapshot(target) == snapshot(source));
    QCOMPARE(target.currentRow(), Int16(1));
    QCOMPARE(target.currentCol(), Int16(1));
}

void TestRouteFile::unpackDropsRowsBeyondSixtyAndFieldsBeyondTen()
{
    std::string text;
    for (int row = 1; row <= 70; ++row) {
        if (row > 1)
            text += '\r';
        for (int field = 1; field <= 12; ++field) {
            if (field > 1)
                text += '\t';
            text += std::to_string(row) + "." + std::to_string(field);
        }
    }
    text += separator + "desc";
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(5, 11, "spare");
    const auto description = sbRouteUnpack(table, text);
    QVERIFY(description.has_value());
    QCOMPARE(*description, std::string("desc"));
    for (int row = 1; row <= 60; ++row) {
        for (int col = 1; col <= 10; ++col)
            QCOMPARE(table.CellText(row, col), std::to_string(row) + "." + std::to_string(col));
    }
    QCOMPARE(table.CellText(5, 11), std::string("spare"));
}

void TestRouteFile::unpackReplacesTheWholeTable()
{
    RouteTable table;
    table.sbGridSetup();
    fillRows(table, 20);
    // A short row: the cells it does not reach are empty afterwards.
    const auto description = sbRouteUnpack(table, "1\t2\r\t\t3" + separator);
    QVERIFY(description.has_value());
    QCOMPARE(*description, std::string());
    RouteTable expected;
    expected.sbGridSetup();
    expected.setCellText(1, 1, "1");
    expected.setCellText(1, 2, "2");
    expected.setCellText(2, 3, "3");
    QVERIFY(snapshot(table) == snapshot(expected));
}

void TestRouteFile::unpackLeavesFixedCellsAndGoesHome()
{
    RouteTable table;
    table.sbGridSetup();
    table.setCurrentCell(40, 8);
    table.setTopRow(35);
    table.setLeftCol(6);
    QVERIFY(sbRouteUnpack(table, "a\tb" + separator).has_value());
    QCOMPARE(table.CellText(0, 7), std::string("Item SP, in wg"));
    QCOMPARE(table.CellText(12, 0), std::string(" 12"));
    QCOMPARE(table.currentRow(), Int16(1));
    QCOMPARE(table.currentCol(), Int16(1));
    QCOMPARE(table.selection(), (CellRange{1, 1, 1, 1}));
    QCOMPARE(table.topRow(), Int16(1));
    QCOMPARE(table.leftCol(), Int16(1));
}

void TestRouteFile::onlyTheFirstSeparatorDivides()
{
    RouteTable table;
    table.sbGridSetup();
    const std::string description = "cost \x80 5 \x80";
    const std::string text = sbRoutePack(table, description);
    QCOMPARE(text, separator + description);
    table.setCellText(3, 3, "x");
    const auto back = sbRouteUnpack(table, "1" + separator + description);
    QVERIFY(back.has_value());
    QCOMPARE(*back, description);
    QCOMPARE(table.CellText(1, 1), std::string("1"));
    QCOMPARE(table.CellText(3, 3), std::string());
}

void TestRouteFile::crLfRowsKeepTheirLineFeeds()
{
    RouteTable table;
    table.sbGridSetup();
    QVERIFY(sbRouteUnpack(table, "1\t2\r\n3\t4\r\n5" + separator + "d\r\n").has_value());
    QCOMPARE(table.CellText(1, 1), std::string("1"));
    QCOMPARE(table.CellText(1, 2), std::string("2"));
    QCOMPARE(table.CellText(2, 1), std::string("\n3"));
    QCOMPARE(table.CellText(2, 2), std::string("4"));
    QCOMPARE(table.CellText(3, 1), std::string("\n5"));
}

void TestRouteFile::textWithoutSeparatorChangesNothing_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("Just some notes\r\nwith two lines");
    QTest::newRow("looks like rows") << QByteArray("1\t2\t3\r4\t5");
}

void TestRouteFile::textWithoutSeparatorChangesNothing()
{
    QFETCH(QByteArray, text);
    RouteTable table;
    table.sbGridSetup();
    fillRows(table, 6);
    table.setCurrentCell(4, 5);
    table.setSelectionEnd(5, 7);
    table.setTopRow(3);
    table.setLeftCol(2);
    const auto before = snapshot(table);
    std::vector<TableChange> changes;
    table.setObserver([&changes](const TableChange &change) { changes.push_back(change); });

    QVERIFY(!sbRouteUnpack(table, bytes(text)).has_value());
    QVERIFY(snapshot(table) == before);
    QCOMPARE(table.currentRow(), Int16(4));
    QCOMPARE(table.currentCol(), Int16(5));
    QCOMPARE(table.selection(), (CellRange{4, 5, 5, 7}));
    QCOMPARE(table.topRow(), Int16(3));
    QCOMPARE(table.leftCol(), Int16(2));
    for (const TableChange &change : changes)
        QVERIFY(change.cells.isEmpty());
    QCOMPARE(std::string(NotARouteFileMessage),
             std::string("the file is not a route file (no separator byte found)"));
}

void TestRouteFile::everyCellByteRoundTrips()
{
    // Every byte but the three that structure the text: TAB, CR and the
    // separator itself. One byte per cell, in row 1 onwards, ten per row.
    RouteTable source;
    source.sbGridSetup();
    int index = 0;
    for (int value = 0; value < 256; ++value) {
        if (value == '\t' || value == '\r' || value == 0x80)
            continue;
        const int row = 1 + index / 10;
        const int col = 1 + index % 10;
        const char byte = static_cast<char>(value);
        source.setCellText(row, col, std::string(1, byte) + "x" + std::string(1, byte));
        ++index;
    }
    QCOMPARE(index, 253);
    const std::string text = sbRoutePack(source, "");
    RouteTable target;
    target.sbGridSetup();
    QVERIFY(sbRouteUnpack(target, text).has_value());
    QVERIFY(snapshot(target) == snapshot(source));
    QCOMPARE(sbRoutePack(target, ""), text);
}

void TestRouteFile::everyDescriptionByteRoundTrips()
{
    std::string description;
    for (int value = 0; value < 256; ++value)
        description += static_cast<char>(value);
    description += description; // the separator twice, and a NUL inside
    RouteTable table;
    table.sbGridSetup();
    table.setCellText(2, 2, "500");
    const std::string text = sbRoutePack(table, description);
    QCOMPARE(text.substr(text.size() - description.size()), description);
    const auto back = sbRouteUnpack(table, text);
    QVERIFY(back.has_value());
    QCOMPARE(*back, description);
    QCOMPARE(table.CellText(2, 2), std::string("500"));
}

void TestRouteFile::canonicalTextComesBackIdentical_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("separator only") << QByteArray("\x80");
    QTest::newRow("two rows") << (QByteArray("\t500\t8") + QByteArray(7, '\t') + "\r" + QByteArray(3, '\t')
                                  + "20" + QByteArray(6, '\t') + "\x80" + "a\r\nb");
    QTest::newRow("trailing line end kept") << (QByteArray("1") + QByteArray(9, '\t') + "\x80" + "desc\r\n");
    QTest::newRow("line feed in a cell") << (QByteArray("\n1") + QByteArray(9, '\t') + "\x80");
}

void TestRouteFile::canonicalTextComesBackIdentical()
{
    QFETCH(QByteArray, text);
    RouteTable table;
    table.sbGridSetup();
    const auto description = sbRouteUnpack(table, bytes(text));
    QVERIFY(description.has_value());
    QCOMPARE(sbRoutePack(table, *description), bytes(text));
}

void TestRouteFile::descriptionLineBreaks_data()
{
    // A stored description, how the box shows it, and what the box writes
    // back: CR LF pairs come back as they were, lone breaks as CR LF.
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("one line") << QByteArray("abc") << QByteArray("abc") << QByteArray("abc");
    QTest::newRow("empty") << QByteArray("") << QByteArray("") << QByteArray("");
    QTest::newRow("CR LF") << QByteArray("a\r\nb") << QByteArray("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("blank line") << QByteArray("a\r\n\r\nb") << QByteArray("a\n\nb")
                                << QByteArray("a\r\n\r\nb");
    QTest::newRow("closing line end") << QByteArray("a\r\n") << QByteArray("a\n") << QByteArray("a\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb") << QByteArray("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("lone LF") << QByteArray("a\nb") << QByteArray("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("CR then CR LF") << QByteArray("a\r\r\nb") << QByteArray("a\n\nb")
                                   << QByteArray("a\r\n\r\nb");
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << QByteArray("a\n\nb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("high bytes") << QByteArray("\xB0" "C\r\n\x80") << QByteArray("\xB0" "C\n\x80")
                                << QByteArray("\xB0" "C\r\n\x80");
}

void TestRouteFile::descriptionLineBreaks()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, box);
    QFETCH(QByteArray, written);
    QCOMPARE(fnDescriptionForBox(bytes(stored)), bytes(box));
    QCOMPARE(fnDescriptionForFile(bytes(box)), bytes(written));
}

void TestRouteFile::descriptionForFileAndBackIsLossless()
{
    const std::string box = "Main supply\n\nLevel 2, zone \xB0" "A\n";
    const std::string stored = fnDescriptionForFile(box);
    QCOMPARE(stored, std::string("Main supply\r\n\r\nLevel 2, zone \xB0" "A\r\n"));
    QCOMPARE(fnDescriptionForBox(stored), box);
}

QTEST_APPLESS_MAIN(TestRouteFile)
#include "tst_core_routefile.moc"
