// SPDX-License-Identifier: GPL-3.0-or-later
// What the route report lists and how, the rows its figures are out of date
// from, and the pressure profile the chart draws.
#include "profile.h"
#include "report.h"
#include "routedocument.h"

#include "coretest.h"

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
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

class ReportTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lists_the_used_rows_data()
    {
        QTest::addColumn<std::string>("route");
        QTest::addColumn<int>("firstStale");
        // Each listed row: its number, I (item) or T (text), * when stale.
        QTest::addColumn<std::string>("rows");
        QTest::addColumn<std::string>("total");
        QTest::addColumn<bool>("outOfDate");
        // clang-format off
        const auto row = [](const char *tag, const char *route, int stale, const char *rows,
                            const char *total, bool outOfDate) {
            QTest::newRow(tag) << std::string(route) << stale << std::string(rows)
                               << std::string(total) << outOfDate;
        };
        const char *const calculated = "|1000|12|100||||||0.21\n|||||0.28||||0.24\n||||Supply|||||0.24";
        row("empty route", "", 0, "", "", false);
        row("calculated", calculated, 0, "1I 2I 3T", "0.24", false);
        row("stale from row 2", calculated, 2, "1I 2I* 3T*", "0.24", true);
        row("stale below the route", calculated, 4, "1I 2I 3T", "0.24", false);
        row("empty rows inside are left out", "|1000|12|100\n\n|||||0.5", 0, "1I 3I", "", false);
        row("flow alone makes a text row", "|1000|12||Main\n|||10", 0, "1T 2I", "", false);
        row("a blank is a length", "||| |Gap", 0, "1I", "", false);
        row("a stale result is a used row", "|||||||||7", 0, "1T", "7", false);
        // clang-format on
    }
    void lists_the_used_rows()
    {
        QFETCH(std::string, route);
        QFETCH(int, firstStale);
        RouteDocument document;
        putRows(document.table(), route);
        document.marks().calculated();
        // An input typed and rubbed out again puts the results out of date.
        if (firstStale != 0) {
            document.table().setCellText(firstStale, RouteTable::ColQty, "9");
            document.table().setCellText(firstStale, RouteTable::ColQty, "");
        }
        const ReportContent report = reportContent(document);
        std::vector<std::string> rows;
        for (const ReportRow &row : report.rows) {
            rows.push_back(std::to_string(row.number) +
                           (row.kind == ReportRowKind::Item ? "I" : "T") + (row.stale ? "*" : ""));
        }
        QTEST(joined(rows, " "), "rows");
        QTEST(report.total, "total");
        QTEST(report.outOfDate, "outOfDate");
    }

    void names_the_route_and_splits_the_description_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<std::string>("description"); // as stored
        QTest::addColumn<std::string>("name");
        QTest::addColumn<std::string>("lines"); // UTF-8, joined by '|'
        QTest::newRow("untitled, no description") << ""s
                                                  << ""s
                                                  << "Untitled"s
                                                  << ""s;
        QTest::newRow("line ends of every kind") << "/r/Level 2.txt"s
                                                 << "a\r\nb\rc\nd"s
                                                 << "Level 2"s
                                                 << "a|b|c|d"s;
        QTest::newRow("empty lines kept") << "/r/x"s
                                          << "a\r\n\r\nb\r\n"s
                                          << "x"s
                                          << "a||b"s;
        QTest::newRow("Windows-1252 bytes") << "/r/x"s
                                            << "Caf\xE9 \x80\x96"s
                                            << "x"s
                                            << "Caf\u00e9 \u20ac\u2013"s;
    }
    void names_the_route_and_splits_the_description()
    {
        QFETCH(std::string, path);
        QFETCH(std::string, description);
        RouteDocument document;
        document.setDescription(description);
        if (!path.empty())
            document.setPath(path);
        const ReportContent report = reportContent(document);
        QTEST(report.routeName, "name");
        QCOMPARE(report.path, path);
        QTEST(joined(report.descriptionLines, "|"), "lines");
    }

    void profile_follows_the_cells_data()
    {
        QTest::addColumn<std::string>("route");
        // Each row: loss/total, "-" for no figure, then the marker if any.
        QTest::addColumn<std::string>("points");
        QTest::addColumn<std::string>("lines"); // each run's step line, " | " between runs
        QTest::addColumn<std::string>("span");
        // clang-format off
        QTest::newRow("duct, fitting, text")
            << "|1000|12|100|Main||0.21|0.1|1273|0.21\n|||||0.28|0.03|0.1|1273|0.24\n||||Note|||||0.24"s
            << "0.21/0.21 0.03/0.24 0/0.24"s
            << "0.5,0 0.5,0.21 1.5,0.21 1.5,0.24 2.5,0.24 2.5,0.24 3.5,0.24"s << "0..0.24"s;
        QTest::newRow("a marker breaks the line")
            << "|1000|12|100|||0.21|0.1|1273|0.21\n|1000||100|||#DIV/0!|0.||#DIV/0!\n"s
               "|||10|||0.2|||#DIV/0!\n|1000|12|100|||0.3|0.1|1273|0.3"s
            << "0.21/0.21 -/-#DIV/0! 0.2/- 0.3/0.3"s
            << "0.5,0 0.5,0.21 1.5,0.21 | 3.5,0.3 4.5,0.3"s << "0..0.3"s;
        QTest::newRow("figures beyond any axis") << "|1000|12|100|||1E999|0.1|1273|0.2\n|||||0.5|0.1|||-1E999"s
            << "-/0.2 0.1/-"s << "0.5,0 0.5,0.2 1.5,0.2"s << "0..0.2"s;
        QTest::newRow("not yet calculated") << "|1000|12|100\n|||||0.5"s << "-/- -/-"s << ""s
                                            << "0..0"s;
        QTest::newRow("negative losses")
            << "-1|1000|12|100|||-0.21|0.1|1273|-0.21"s << "-0.21/-0.21"s << "0.5,0 0.5,-0.21 1.5,-0.21"s
            << "-0.21..0"s;
        // clang-format on
    }
    void profile_follows_the_cells()
    {
        QFETCH(std::string, route);
        RouteTable table;
        table.setUp();
        putRows(table, route);
        const PressureProfile profile = pressureProfile(table);
        std::vector<std::string> points;
        for (const ProfilePoint &point : profile.points) {
            const auto shown = [](const std::optional<double> &value) {
                return value ? number(*value) : "-";
            };
            points.push_back(shown(point.itemLoss) + "/" + shown(point.routeTotal) + point.marker);
        }
        QTEST(joined(points, " "), "points");
        std::vector<std::string> lines;
        for (const ProfileRun &run : profile.runs) {
            std::vector<std::string> line;
            for (const auto &[x, y] : stepLine(profile, run))
                line.push_back(number(x) + "," + number(y));
            lines.push_back(joined(line, " "));
        }
        QTEST(joined(lines, " | "), "lines");
        QTEST(number(profile.lowest) + ".." + number(profile.highest), "span");
    }
};

QTEST_APPLESS_MAIN(ReportTest)
#include "tst_core_report.moc"
