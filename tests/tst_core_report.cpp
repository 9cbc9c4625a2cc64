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
    void lists_the_used_rows_data() { caseRows("report-rows.cases"); }

    void lists_the_used_rows()
    {
        QFETCH(Case, c);
        const int firstStale = std::stoi(c.at(2));
        RouteDocument document;
        putRows(document.table(), c.at(1));
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
        std::vector<std::string> lines;
        for (const ProfileRun &run : profile.runs) {
            std::vector<std::string> line;
            for (const auto &[x, y] : stepLine(profile, run))
                line.push_back(number(x) + "," + number(y));
            lines.push_back(joined(line, " "));
        }
        QCOMPARE(joined(lines, " | "), c.at(3));
        QCOMPARE(number(profile.lowest) + ".." + number(profile.highest), c.at(4));
    }
};

QTEST_APPLESS_MAIN(ReportTest)
#include "tst_core_report.moc"
