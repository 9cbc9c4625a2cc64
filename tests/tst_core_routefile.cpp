// Route files: the used rows as block text, the separator byte, the
// description; their line breaks and 8-bit character set; the document that
// opens and saves them, its caption and its unsaved changes.
#include "charset.h"
#include "editing.h"
#include "routedocument.h"
#include "routefile.h"

#include "coretest.h"

#include <algorithm>
#include <array>
#include <sstream>

using namespace plenix;
using namespace coretest;

namespace {

const std::string Sep = "\x80";

std::string emptyRows(int count)
{
    std::string rows;
    for (int row = 0; row < count; ++row)
        rows += tabs(9) + "\r";
    return rows;
}

// Bytes 0x80 to 0x9F of Windows-1252; 0 marks the five it leaves unassigned.
constexpr std::array<char32_t, 32> HighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

class TestRouteFile final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storedText_data()
    {
        QTest::addColumn<std::string>("route"); // rows of '|'-separated cells
        QTest::addColumn<std::string>("description");
        QTest::addColumn<std::string>("stored");
        // clang-format off
        QTest::newRow("empty route") << ""s << ""s << Sep;
        QTest::newRow("one-line description") << ""s << "Level 2"s << Sep + "Level 2";
        QTest::newRow("two rows, two lines") << "|500|8\n|||20"s << "First\r\nSecond"s
            << "\t500\t8" + tabs(7) + "\r" + tabs(3) + "20" + tabs(6) + Sep + "First\r\nSecond";
        QTest::newRow("a lonely 7 in row 5") << "\n\n\n\n||||||||7"s << "d"s
            << emptyRows(4) + tabs(8) + "7\t" + Sep + "d";
        QTest::newRow("row 60 stored last") << std::string(59, '\n') + "|||||||||0.5" << ""s
            << emptyRows(59) + tabs(9) + "0.5" + Sep;
        QTest::newRow("separators in the description") << "1"s << "cost \x80 5 \x80"s
            << "1" + tabs(9) + Sep + "cost \x80 5 \x80";
        // clang-format on
    }

    void storedText()
    {
        QFETCH(std::string, route);
        QFETCH(std::string, description);
        QFETCH(std::string, stored);
        RouteTable source;
        source.setUp();
        putRows(source, route);
        source.setCellText(5, RouteTable::ColSpare, "never stored");
        moveAway(source);
        QCOMPARE(packRoute(source, description), stored);
        // Read back over another route, of which nothing survives.
        RouteTable target;
        target.setUp();
        fillData(target);
        target.setCellText(5, RouteTable::ColSpare, "never stored");
        moveAway(target);
        QCOMPARE(unpackRoute(target, stored), std::optional(description));
        QVERIFY(snapshot(target) == snapshot(source));
        QCOMPARE(cursor(target), Home);
    }

    void unpackDropsRowsBeyondSixtyAndFieldsBeyondTen()
    {
        std::string text;
        for (int row = 1; row <= 70; ++row) {
            for (int field = 1; field <= 12; ++field)
                text += std::to_string(row) + "." + std::to_string(field) + "\t";
            text.back() = row < 70 ? '\r' : '\x80';
        }
        RouteTable table;
        table.setUp();
        QCOMPARE(unpackRoute(table, text + "d"), std::optional("d"s));
        RouteTable expected;
        expected.setUp();
        fillData(expected);
        QVERIFY(snapshot(table) == snapshot(expected));
        // Rows ended by CR LF: the LF starts the next row's first cell.
        QVERIFY(unpackRoute(table, "1\t2\r\n3\t4\r\n5" + Sep).has_value());
        QCOMPARE(rowText(table, 1, 1, 2) + "/" + rowText(table, 2, 1, 2) + "/" +
                     rowText(table, 3, 1, 2),
                 "1|2/\n3|4/\n5|"s);
    }

    void everyByteRoundTrips()
    {
        // In cells every byte but TAB, CR and the separator, which structure
        // the text; in the description every byte, the separator twice.
        RouteTable source;
        source.setUp();
        std::string description;
        int index = 0;
        for (int value = 0; value < 256; ++value) {
            const char byte = static_cast<char>(value);
            description += byte;
            if (value == '\t' || value == '\r' || value == 0x80)
                continue;
            source.setCellText(1 + index / 10, 1 + index % 10, std::string(1, byte) + "x" + byte);
            ++index;
        }
        description += description;
        const std::string text = packRoute(source, description);
        RouteTable target;
        target.setUp();
        QCOMPARE(unpackRoute(target, text), std::optional(description));
        QVERIFY(snapshot(target) == snapshot(source));
        QCOMPARE(packRoute(target, description), text);
    }

    void charsetIsWindows1252()
    {
        for (int byte = 0; byte < 256; ++byte) {
            const char32_t high =
                byte >= 0x80 && byte < 0xA0 ? HighControls[std::size_t(byte - 0x80)] : 0;
            const char32_t expected = high != 0 ? high : char32_t(byte);
            QCOMPARE(uint(charFromByte(static_cast<unsigned char>(byte))), uint(expected));
            const auto back = byteFromChar(expected);
            QCOMPARE(back.has_value() ? int(*back) : -1, byte);
        }
        // C1 controls whose bytes carry printable characters, and characters
        // the code page lacks, have no byte.
        for (const char32_t ch : {U'\x80', U'\x82', U'\x9F', U'\u0100', U'\u2015', U'\uFFFD',
                                  U'\U0001F600', char32_t(0x110000)})
            QVERIFY2(!byteFromChar(ch).has_value(), qPrintable(QString::number(uint(ch), 16)));
    }

    void descriptionLineBreaks_data()
    {
        // As stored, as the box shows it, as the box writes it back: CR LF
        // pairs come back as they were, lone breaks as CR LF.
        QTest::addColumn<std::string>("stored");
        QTest::addColumn<std::string>("box");
        QTest::addColumn<std::string>("written");
        // clang-format off
        QTest::newRow("CR LF") << "a\r\nb"s << "a\nb"s << "a\r\nb"s;
        QTest::newRow("lone CR") << "a\rb"s << "a\nb"s << "a\r\nb"s;
        QTest::newRow("lone LF") << "a\nb"s << "a\nb"s << "a\r\nb"s;
        QTest::newRow("CR then CR LF") << "a\r\r\nb"s << "a\n\nb"s << "a\r\n\r\nb"s;
        QTest::newRow("LF CR") << "a\n\rb"s << "a\n\nb"s << "a\r\n\r\nb"s;
        QTest::newRow("high bytes") << "\260C\r\n\x80"s << "\260C\n\x80"s << "\260C\r\n\x80"s;
        // clang-format on
    }

    void descriptionLineBreaks()
    {
        QFETCH(std::string, stored);
        QFETCH(std::string, box);
        QFETCH(std::string, written);
        QCOMPARE(descriptionForBox(stored), box);
        QCOMPARE(descriptionForFile(box), written);
    }

    void namesFileFromPath_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<std::string>("name");
        // clang-format off
        QTest::newRow("route file") << "/home/ann/Routes/Level 2.txt"s << "Level 2"s;
        QTest::newRow("upper case extension") << "/tmp/A.TXT"s << "A"s;
        QTest::newRow("no extension") << "/home/ann/Routes/Main"s << "Main"s;
        QTest::newRow("other extension") << "/tmp/route.csv"s << "route.csv"s;
        QTest::newRow("txt not last") << "/tmp/notes.txt.bak"s << "notes.txt.bak"s;
        QTest::newRow("only an extension") << "/tmp/.txt"s << ".txt"s;
        QTest::newRow("only the final txt") << "/tmp/x.txt.txt"s << "x.txt"s;
        QTest::newRow("txt without dot") << "/tmp/atxt"s << "atxt"s;
        QTest::newRow("txt in a folder only") << "/data.txt/route"s << "route"s;
        QTest::newRow("no folder") << "Level 2.txt"s << "Level 2"s;
        QTest::newRow("short") << "ab"s << "ab"s;
        QTest::newRow("empty") << ""s << ""s;
        QTest::newRow("backslash is part of the name") << "/tmp/C:\\R\\L 2.txt"s << "C:\\R\\L 2"s;
        // clang-format on
    }

    void namesFileFromPath()
    {
        QFETCH(std::string, path);
        QFETCH(std::string, name);
        QCOMPARE(fileNameFromPath(path), name);
    }

    void captionFollowsTheDocument()
    {
        RouteDocument document;
        QCOMPARE(document.caption(), "Plenix - Untitled"s);
        document.setPath("/home/ann/Routes/A.txt");
        QVERIFY(!document.isUntitled() && document.path() == "/home/ann/Routes/A.txt");
        QCOMPARE(document.caption(), "Plenix - A"s);
        // Control characters show as their pictures, on one line.
        document.setPath("/r/a\nb\x7F\x01.txt");
        QCOMPARE(document.caption(), "Plenix - a\u240Ab\u2421\u2401"s);
        document.clear();
        QVERIFY(document.isUntitled() && document.name().empty());
        QCOMPARE(document.caption(), "Plenix - Untitled"s);
    }

    void editsBeyondTheFileLimitAreRefused_data()
    {
        QTest::addColumn<std::string>("route"); // rows of '|'-separated cells
        QTest::addColumn<int>("room");          // bytes the description leaves the rows
        QTest::addColumn<std::string>("edit");
        QTest::addColumn<bool>("made");
        const std::string megabyte(1 << 20, '7');
        // clang-format off
        QTest::newRow("fill up to the limit") << ""s << 20 << "type 11"s << true;
        QTest::newRow("fill one byte beyond") << ""s << 20 << "type 12"s << false;
        QTest::newRow("digit on 1 MB in all cells") << megabyte << (64 << 20) - 2 << "all 1"s << false;
        QTest::newRow("paste up to the limit") << ""s << 20 << "paste 1\t2\t345678901"s << true;
        QTest::newRow("paste beyond, in a later row") << ""s << 20 << "paste 1\r2"s << false;
        QTest::newRow("insert row at the limit") << "12345678901"s << 20 << "insert"s << false;
        QTest::newRow("insert row with room") << "12345678901"s << 30 << "insert"s << true;
        QTest::newRow("delete while beyond") << "1|2\n3"s << 5 << "delete"s << true;
        QTest::newRow("shorter while beyond") << "12345678"s << 5 << "type 1"s << true;
        // clang-format on
    }

    // The rows' share of the file is counted without building it, and an
    // edit that would let the file outgrow its limit changes nothing and
    // says so.
    void editsBeyondTheFileLimitAreRefused()
    {
        QFETCH(std::string, route);
        QFETCH(int, room);
        QFETCH(std::string, edit);
        QFETCH(bool, made);
        RouteDocument document;
        RouteTable &table = document.table();
        putRows(table, route);
        document.setDescription(std::string(MaxFileTextBytes - 1 - std::size_t(room), 'd'));
        table.setCurrentCell(1, 1);
        if (!edit.starts_with("type"))
            table.setSelectionEnd(RouteTable::DataRows, RouteTable::DataCols);
        const auto before = snapshot(table);
        ChangeLog log(table);

        const std::string argument = edit.substr(edit.find(' ') + 1);
        if (edit.starts_with("type"))
            table.setCurrentText(std::string(std::stoul(argument), 'x'));
        if (edit.starts_with("all"))
            typeChar(table, U'1');
        if (edit.starts_with("paste"))
            table.setBlockText(argument);
        if (edit == "insert")
            insertRow(table);
        if (edit == "delete")
            deleteSelection(table);

        QCOMPARE(snapshot(table) != before, made);
        QCOMPARE(std::ranges::none_of(log.changes, [](const auto &c) { return c.refused; }), made);
        QCOMPARE(document.fileTextSize(), document.fileText().size());
        if (made && edit != "delete" && edit != "type 1")
            QVERIFY(document.fileTextSize() <= MaxFileTextBytes);
    }

    void documentOpensText_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<std::string>("description");
        // clang-format off
        QTest::newRow("route") << "7\t500" + tabs(8) + Sep + "Main\r\nrun" << true << "Main\r\nrun"s;
        QTest::newRow("separator only") << Sep << true << ""s;
        QTest::newRow("lone CR kept as read") << Sep + "a\rb" << true << "a\rb"s;
        QTest::newRow("no separator") << "1\t2\t3\r4\t5"s << false << ""s;
        QTest::newRow("empty") << ""s << false << ""s;
        // clang-format on
    }

    // An open that fails leaves the route, the description, the file and the
    // unsaved changes as they were, and tells no listener anything; one that
    // succeeds goes home and has no unsaved changes.
    void documentOpensText()
    {
        QFETCH(std::string, text);
        QFETCH(bool, opens);
        QFETCH(std::string, description);
        RouteDocument document;
        fillData(document.table());
        document.setDescription("old");
        document.setPath("/tmp/old.txt");
        moveAway(document.table());
        const auto cells = snapshot(document.table());
        ChangeLog log(document.table());
        QCOMPARE(document.openText(text), opens);
        QCOMPARE(document.path(), "/tmp/old.txt"s);
        QCOMPARE(document.isModified(), !opens);
        if (!opens) {
            QVERIFY(snapshot(document.table()) == cells && log.changes.empty());
            QCOMPARE(document.description(), "old"s);
            return;
        }
        QCOMPARE(document.description(), description);
        QCOMPARE(document.fileText(), text);
        QCOMPARE(cursor(document.table()), Home);
    }

    void documentKnowsItsUnsavedChanges_data()
    {
        QTest::addColumn<std::string>("steps");
        QTest::addColumn<bool>("modified");
        QTest::newRow("fresh") << ""s << false;
        QTest::newRow("cell typed") << "cell"s << true;
        QTest::newRow("cell set to what it holds") << "cell saved cell"s << false;
        QTest::newRow("cursor moved") << "cursor"s << false;
        QTest::newRow("description typed") << "description"s << true;
        QTest::newRow("description unchanged") << "description saved description"s << false;
        QTest::newRow("saved") << "cell description saved"s << false;
        QTest::newRow("opened") << "cell open"s << false;
        QTest::newRow("edited after opening") << "open cell"s << true;
        QTest::newRow("failed open") << "description badOpen"s << true;
        QTest::newRow("cleared") << "cell clear"s << false;
    }

    void documentKnowsItsUnsavedChanges()
    {
        QFETCH(std::string, steps);
        QFETCH(bool, modified);
        RouteDocument document;
        std::istringstream words(steps);
        for (std::string step; words >> step;) {
            if (step == "cell")
                document.table().setCellText(4, RouteTable::ColFlow, "500");
            else if (step == "cursor")
                moveAway(document.table());
            else if (step == "description")
                document.setDescription("Main");
            else if (step == "saved")
                document.markSaved();
            else if (step == "open" || step == "badOpen")
                QCOMPARE(document.openText(step == "open" ? "1" + Sep : "1"), step == "open");
            else if (step == "clear")
                document.clear();
        }
        QCOMPARE(document.isModified(), modified);
    }
};

QTEST_APPLESS_MAIN(TestRouteFile)
#include "tst_core_routefile.moc"
