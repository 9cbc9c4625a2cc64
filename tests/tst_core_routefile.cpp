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

using namespace plenix;
using namespace coretest;

class TestRouteFile final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storedText_data() { caseRows("route-files.cases"); }

    // Read back over another route, of which nothing survives, not even the
    // cursor.
    void storedText()
    {
        QFETCH(Case, c);
        RouteTable source, target;
        source.setUp();
        target.setUp();
        putRows(source, c.at(1));
        source.setCellText(5, RouteTable::ColSpare, "never stored");
        QCOMPARE(packRoute(source, c.at(2)), c.at(3));
        putRows(target, "1|2|3|4|5|6|7|8|9|10\n\n\n\n||||||||||never stored");
        place(target, "30,7 35,9 top 28 left 5");
        QCOMPARE(unpackRoute(target, c.at(3)), std::optional(c.at(2)));
        QCOMPARE(routeText(target), routeText(source));
        QCOMPARE(cursor(target), "1,1 1,1 top 1 left 1"s);
    }

    // Rows beyond 60 and fields beyond 10 are dropped; in cells every byte
    // but TAB, CR and the separator comes back.
    void unpackKeepsWhatFits()
    {
        std::string text, expected;
        for (int row = 1; row <= 70; ++row) {
            for (int field = 1; field <= 12; ++field) {
                const std::string cell = std::to_string(row) + "." + std::to_string(field);
                text += cell + "\t";
                if (row <= RouteTable::DataRows && field <= RouteTable::DataCols)
                    expected += (field == 1 ? std::to_string(row) + ":" : "|") + cell;
            }
            text.back() = row < 70 ? '\r' : '\x80';
            expected += row < RouteTable::DataRows ? "\n" : "";
        }
        RouteTable table, bytes;
        table.setUp();
        bytes.setUp();
        QCOMPARE(unpackRoute(table, text + "d"), std::optional("d"s));
        QCOMPARE(routeText(table), expected);
        for (int value = 0, index = 0; value < 256; ++value) {
            if (value != '\t' && value != '\r' && value != 0x80) {
                bytes.setCellText(1 + index / 10, 1 + index % 10, std::string(2, char(value)));
                ++index;
            }
        }
        QVERIFY(unpackRoute(table, packRoute(bytes, "")).has_value());
        QCOMPARE(routeText(table), routeText(bytes));
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
        for (const Case &c : caseFile("description-breaks.cases")) {
            QCOMPARE(descriptionForBox(c.at(0)), c.at(1));
            QCOMPARE(descriptionForFile(c.at(1)), c.at(2));
        }
    }

    void namesFileFromPath()
    {
        for (const Case &c : caseFile("file-names.cases"))
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
        document.table().setCellText(1, 1, "1");
        document.clear();
        QVERIFY(document.isUntitled() && document.name().empty() && !document.isModified());
        QCOMPARE(document.caption(), "Plenix - Untitled"s);
    }

    void editsBeyondTheFileLimitAreRefused_data() { caseRows("file-limit.cases"); }

    // The rows' share of the file is counted without building it.
    void editsBeyondTheFileLimitAreRefused()
    {
        QFETCH(Case, c);
        RouteDocument document;
        putRows(document.table(), c.at(1));
        document.setDescription(std::string(MaxFileTextBytes - 1 - std::stoul(c.at(2)), 'd'));
        const std::string before = routeText(document.table());
        const std::size_t sizeBefore = document.fileTextSize();
        ChangeLog log(document.table());
        run(document, c.at(3));
        const bool made = c.at(4) == "made";
        QCOMPARE(routeText(document.table()) != before, made);
        QCOMPARE(std::ranges::none_of(log.changes, [](const auto &c) { return c.refused; }), made);
        QCOMPARE(document.fileTextSize(), document.fileText().size());
        QVERIFY(document.fileTextSize() <= std::max(sizeBefore, MaxFileTextBytes));
    }

    // An open that fails leaves the route, the description, the file and the
    // unsaved changes as they were, and tells no listener anything; one that
    // succeeds goes home, is unmodified and saves back the same bytes.
    void documentOpensText()
    {
        for (const std::string &text :
             {"7\t500\t\t\t\t\t\t\t\t\x80Main\r\nrun"s, "\x80a\rb"s, "1\t2\r4\t5"s, ""s}) {
            const bool opens = text.find('\x80') != std::string::npos;
            RouteDocument document;
            putRows(document.table(), "1|2|3|4|5|6|7|8|9|10\n\n\n||||||||||11");
            document.setDescription("old");
            document.setPath("/tmp/old.txt");
            place(document.table(), "30,7 35,9 top 28 left 5");
            const std::string cells = routeText(document.table());
            ChangeLog log(document.table());
            QCOMPARE(document.openText(text), opens);
            QCOMPARE(document.path(), "/tmp/old.txt"s);
            QCOMPARE(document.isModified(), !opens);
            QCOMPARE(document.fileText(), opens ? text : packRoute(document.table(), "old"));
            QCOMPARE(routeText(document.table()) == cells && log.changes.empty(), !opens);
            QCOMPARE(cursor(document.table()) == "1,1 1,1 top 1 left 1", opens);
        }
    }
};

QTEST_APPLESS_MAIN(TestRouteFile)
#include "tst_core_routefile.moc"
