// SPDX-License-Identifier: GPL-3.0-or-later
// Route files: the used rows as block text, the separator byte, the
// description and its line breaks, the 8-bit character set; the document
// that opens and saves them, its caption and its unsaved changes.
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
} // namespace

class TestRouteFile final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Read back over another route, of which nothing survives, not even the
    // cursor; the spare column is never stored.
    void storedText()
    {
        // clang-format off
        const struct { std::string route, description, stored; } cases[] = {
            {"", "", Sep},
            {"|500|8\n|||20", "First\r\nSecond", "\t500\t8" + tabs(7) + "\r" + tabs(3) + "20" + tabs(6) + Sep + "First\r\nSecond"},
            {"\n\n||||||||7", "d", tabs(9) + "\r" + tabs(9) + "\r" + tabs(8) + "7\t" + Sep + "d"},
            {"1", "cost \x80 5 \x80", "1" + tabs(9) + Sep + "cost \x80 5 \x80"}};
        // clang-format on
        for (const auto &[route, description, stored] : cases) {
            RouteTable source, target;
            source.setUp();
            target.setUp();
            putRows(source, route);
            source.setCellText(5, RouteTable::ColSpare, "never stored");
            QCOMPARE(packRoute(source, description), stored);
            fillData(target);
            target.setCellText(5, RouteTable::ColSpare, "never stored");
            moveAway(target);
            QCOMPARE(unpackRoute(target, stored), std::optional(description));
            QVERIFY(snapshot(target) == snapshot(source));
            QCOMPARE(cursor(target), Home);
        }
    }

    // Rows beyond 60 and fields beyond 10 are dropped; in cells every byte
    // but TAB, CR and the separator comes back.
    void unpackKeepsWhatFits()
    {
        std::string text;
        for (int row = 1; row <= 70; ++row) {
            for (int field = 1; field <= 12; ++field)
                text += std::to_string(row) + "." + std::to_string(field) + "\t";
            text.back() = row < 70 ? '\r' : '\x80';
        }
        RouteTable table, expected;
        table.setUp();
        expected.setUp();
        QCOMPARE(unpackRoute(table, text + "d"), std::optional("d"s));
        fillData(expected);
        QVERIFY(snapshot(table) == snapshot(expected));
        for (int value = 0, index = 0; value < 256; ++value) {
            if (value != '\t' && value != '\r' && value != 0x80) {
                expected.setCellText(1 + index / 10, 1 + index % 10, std::string(2, char(value)));
                ++index;
            }
        }
        QVERIFY(unpackRoute(table, packRoute(expected, "")).has_value());
        QVERIFY(snapshot(table) == snapshot(expected));
    }

    // Windows-1252 with its five unassigned bytes kept as the controls of
    // their code; C1 controls whose bytes carry printable characters, and
    // characters the code page lacks, have no byte.
    void charsetIsWindows1252()
    {
        for (int byte = 0; byte < 256; ++byte) {
            const auto back = byteFromChar(charFromByte(static_cast<unsigned char>(byte)));
            QCOMPARE(back.has_value() ? int(*back) : -1, byte);
        }
        const std::pair<int, char32_t> known[] = {{0x7F, 0x7F}, {0x80, 0x20AC}, {0x81, 0x81},
                                                  {0x9D, 0x9D}, {0x9E, 0x017E}, {0x9F, 0x0178},
                                                  {0xA0, 0xA0}, {0xFF, 0xFF}};
        for (const auto &[byte, ch] : known)
            QCOMPARE(uint(charFromByte(static_cast<unsigned char>(byte))), uint(ch));
        for (const char32_t ch : {U'\x80', U'\x9F', U'\u0100', U'\uFFFD', char32_t(0x110000)})
            QVERIFY2(!byteFromChar(ch).has_value(), qPrintable(QString::number(uint(ch), 16)));
    }

    void descriptionLineBreaks()
    {
        for (const std::vector<std::string> &c : caseFile("description-breaks.cases")) {
            QCOMPARE(descriptionForBox(c.at(0)), c.at(1));
            QCOMPARE(descriptionForFile(c.at(1)), c.at(2));
        }
    }

    void namesFileFromPath()
    {
        for (const std::vector<std::string> &c : caseFile("file-names.cases"))
            QCOMPARE(fileNameFromPath(c.at(0)), c.at(1));
    }

    void captionFollowsTheDocument()
    {
        RouteDocument document;
        QCOMPARE(document.caption(), "Plenix - Untitled"s);
        document.setPath("/home/ann/Routes/A.txt");
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
    // succeeds goes home, is unmodified and saves back the same bytes.
    void documentOpensText()
    {
        for (const std::string &text :
             {"7\t500" + tabs(8) + Sep + "Main\r\nrun", Sep + "a\rb", "1\t2\r4\t5"s, ""s}) {
            const bool opens = text.find(Sep) != std::string::npos;
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
            QCOMPARE(document.fileText(), opens ? text : packRoute(document.table(), "old"));
            QCOMPARE(snapshot(document.table()) == cells && log.changes.empty(), !opens);
            QCOMPARE(cursor(document.table()) == Home, opens);
        }
    }

    // Set by a change to a cell's text or to the description, not by moving
    // or by writing what is there; cleared by Save, a successful Open and Clear.
    void documentKnowsItsUnsavedChanges()
    {
        RouteDocument document;
        const auto cell = [&document] {
            document.table().setCellText(4, RouteTable::ColFlow, "500");
        };
        QVERIFY(!document.isModified());
        cell();
        QVERIFY(document.isModified());
        document.markSaved();
        cell();
        moveAway(document.table());
        document.setDescription("");
        QVERIFY(!document.isModified());
        document.setDescription("Main");
        QVERIFY(!document.openText("1"));
        QVERIFY(document.isModified());
        QVERIFY(document.openText("1" + Sep));
        QVERIFY(!document.isModified());
        cell();
        QVERIFY(document.isModified());
        document.clear();
        QVERIFY(!document.isModified());
    }
};

QTEST_APPLESS_MAIN(TestRouteFile)
#include "tst_core_routefile.moc"
