// SPDX-License-Identifier: GPL-3.0-or-later
// What leaves the program and comes back: route files (rows as block text,
// the separator byte, the description and its line breaks, the 8-bit
// character set), the document that opens and saves them, the list for other
// programs (UTF-8, CSV), and the report with its pressure profile. The TSV
// and JSON of whole routes are read back by real parsers in the plenix-calc
// test (tests/cli).
#include "charset.h"
#include "profile.h"
#include "report.h"
#include "routefile.h"
#include "tableexport.h"

#include "coretest.h"

#include <algorithm>
#include <sstream>

using namespace plenix;
using namespace coretest;

namespace {

std::string joined(const std::vector<std::string> &parts, const char *separator)
{
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

std::string number(double value)
{
    return QString::number(value, 'g', 6).toStdString();
}

} // namespace

class TestFile final : public QObject
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
        std::string text;
        for (int row = 1; row <= 70; ++row) {
            for (int field = 1; field <= 12; ++field)
                text += std::to_string(row) + "." + std::to_string(field) + "\t";
            text.back() = row < 70 ? '\r' : '\x80';
        }
        RouteTable table, bytes;
        table.setUp();
        bytes.setUp();
        QCOMPARE(unpackRoute(table, text + "d"), std::optional("d"s));
        const std::string rows = routeText(table);
        QCOMPARE(std::ranges::count(rows, '\n'), 59);
        QCOMPARE(rows.substr(rows.rfind('\n')),
                 "\n60:60.1|60.2|60.3|60.4|60.5|60.6|60.7|60.8|60.9|60.10"s);
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

    void names_on_one_line_data() { caseRows("shown-names.cases"); }

    void names_on_one_line()
    {
        QFETCH(Case, c);
        QCOMPARE(oneLineName(c.at(1)), c.at(2));
    }

    void captionFollowsTheDocument()
    {
        RouteDocument document;
        // Control characters show as their pictures, on one line.
        document.setPath("/r/a\nb\x7F\x01.txt");
        QCOMPARE(document.caption(), "Plenix - a\u240Ab\u2421\u2401"s);
        document.table().setCellText(1, 1, "1");
        document.setDescription("old");
        document.clear();
        QVERIFY(document.isUntitled() && document.name().empty() && !document.isModified());
        QVERIFY(document.description().empty() && document.table().lastUsedRow(1) == 0);
        QCOMPARE(document.marks().firstStaleRow(), 0);
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
        QCOMPARE(log.all.refused, !made);
        QCOMPARE(document.fileTextSize(), document.fileText().size());
        QVERIFY(document.fileTextSize() <= std::max(sizeBefore, MaxFileTextBytes));
    }

    // An open that fails leaves the route, the description, the file and the
    // unsaved changes as they were, and tells no listener anything; one that
    // succeeds goes home, is unmodified and saves back the same bytes.
    void documentOpensText()
    {
        for (const std::string &text :
             {"7\t500\t\t\t\t\t\t\t\t\x80Main\r\nrun"s, "\x80N\rb"s, "1\t2\r4\t5"s, ""s}) {
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
            QCOMPARE(routeText(document.table()) == cells && log.count == 0, !opens);
            QCOMPARE(cursor(document.table()) == "1,1 1,1 top 1 left 1", opens);
            // Open brings texts that belong together: no result out of date.
            QCOMPARE(document.marks().firstStaleRow() == 0, opens);
        }
    }

    void fields_data() { caseRows("exports.cases"); }

    void fields()
    {
        QFETCH(Case, c);
        QCOMPARE(utf8FromStored(c.at(1)), c.at(2));
        QCOMPARE(csvRecord({c.at(2), "x"}), c.at(3) + ",x\r\n");
        QCOMPARE(csvRecord({c.at(2)}, {"\r\n", false, true}), c.at(4) + "\r\n");
    }

    void csvLineEndAndByteOrderMark()
    {
        const TextRows rows{{"a", "b"}, {"1", ""}};
        QCOMPARE(csvText(rows), "a,b\r\n1,\r\n"s);
        QCOMPARE(csvText(rows, {"\n", true}), "\xEF\xBB\xBF"
                                              "a,b\n1,\n"s);
    }

    void lists_the_used_rows_data() { caseRows("report-rows.cases"); }

    void lists_the_used_rows()
    {
        QFETCH(Case, c);
        const int firstStale = std::stoi(c.at(2));
        RouteDocument document;
        putRows(document.table(), c.at(1));
        // Results go out of date from a row whose input differs from the one
        // calculated.
        if (firstStale != 0)
            document.table().setCellText(firstStale, RouteTable::ColQty, "9");
        document.marks().calculated();
        if (firstStale != 0)
            document.table().setCellText(firstStale, RouteTable::ColQty, "");
        const ReportContent report = reportContent(document);
        std::vector<std::string> rows;
        for (const ReportRow &row : report.rows) {
            rows.push_back(std::to_string(row.number) +
                           (row.kind == ReportRowKind::Item ? "I" : "T") + (row.stale ? "*" : ""));
        }
        QCOMPARE(joined(rows, " "), c.at(3));
        QCOMPARE(report.total, c.at(4));
        QCOMPARE(report.outOfDate, c.at(5) == "out of date");
    }

    void names_the_route_and_splits_the_description_data() { caseRows("report-names.cases"); }

    void names_the_route_and_splits_the_description()
    {
        QFETCH(Case, c);
        RouteDocument document;
        document.setDescription(c.at(2));
        if (!c.at(1).empty())
            document.setPath(c.at(1));
        const ReportContent report = reportContent(document);
        QCOMPARE(report.routeName, c.at(3));
        QCOMPARE(report.path, c.at(1));
        QCOMPARE(joined(report.descriptionLines, "|"), c.at(4));
    }

    // At most 15 ticks, on round rows.
    void profile_row_ticks_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("interval");
        for (const auto &[rows, interval] : std::vector<std::pair<int, double>>{
                 {1, 1}, {15, 1}, {16, 2}, {30, 2}, {31, 5}, {60, 5}})
            QTest::addRow("%d rows", rows) << rows << interval;
    }

    void profile_row_ticks()
    {
        QFETCH(int, rows);
        QFETCH(double, interval);
        QCOMPARE(rowTickInterval(std::size_t(rows)), interval);
    }

    void profile_follows_the_cells_data() { caseRows("profiles.cases"); }

    void profile_follows_the_cells()
    {
        QFETCH(Case, c);
        RouteTable table;
        table.setUp();
        putRows(table, c.at(1));
        const PressureProfile profile = pressureProfile(table);
        std::vector<std::string> points;
        for (const ProfilePoint &point : profile.points) {
            const auto shown = [](const std::optional<double> &value) {
                return value ? number(*value) : "-";
            };
            points.push_back(shown(point.itemLoss) + "/" + shown(point.routeTotal) + point.marker);
        }
        QCOMPARE(joined(points, " "), c.at(2));
        for (const ProfileAxis axis : {ProfileAxis::Row, ProfileAxis::Distance}) {
            std::vector<std::string> lines;
            for (const ProfileRun &run : profile.runs) {
                std::vector<std::string> line;
                for (const auto &[x, y] : stepLine(profile, run, axis))
                    line.push_back(number(x) + "," + number(y));
                lines.push_back(joined(line, " "));
            }
            QCOMPARE(joined(lines, " | "), c.at(axis == ProfileAxis::Row ? 3 : 5));
        }
        QCOMPARE(number(profile.lowest) + ".." + number(profile.highest), c.at(4));
        // "d:100=2": the row at 100 ft; "r:1.6=2": at 1.6 on the row axis.
        std::vector<std::string> found;
        std::istringstream queries(c.at(6));
        for (std::string query; queries >> query;) {
            const auto axis = query[0] == 'd' ? ProfileAxis::Distance : ProfileAxis::Row;
            const std::string place = query.substr(2, query.find('=') - 2);
            const std::optional<Int16> row = rowAt(profile, std::stod(place), axis);
            found.push_back(query.substr(0, query.find('=') + 1) +
                            (row ? std::to_string(*row) : "-"));
        }
        QCOMPARE(joined(found, " "), c.at(6));
    }
};

QTEST_APPLESS_MAIN(TestFile)
#include "tst_core_file.moc"
