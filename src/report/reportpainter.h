// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile.h"
#include "project/systemfigures.h"
#include "report.h"
#include "tableexport.h"

#include <QDateTime>
#include <QPageSize>
#include <QString>

#include <array>
#include <optional>

class QPagedPaintDevice;

namespace plenix {

class RouteDocument;

// Everything one report shows, taken from the route at one moment.
struct RouteReport
{
    ReportContent content;
    PressureProfile profile;
    ProfileAxis profileAxis = ProfileAxis::Row;
    QDateTime printedAt;
};

RouteReport routeReport(const RouteDocument &document,
                        const QDateTime &printedAt = QDateTime::currentDateTime());

// Lays the report out on the pages of any paged device (a printer, a PDF
// writer, the print preview) in the size and orientation it has, and paints
// it: a heading and the page number on every page, the description and the
// constants, the table of rows with its headers on every page and no row
// split, the route total and the pressure profile. Returns the number of
// pages, or 0 when the device could not be painted on.
int paintReport(QPagedPaintDevice &device, const RouteReport &report);

// A project's report: a title block with the job information and the
// system's summary, then every route's report, the pages numbered through.
struct ProjectReport
{
    std::string name; // the project's file name, in the file system's encoding
    std::string path;
    std::vector<std::pair<std::string, std::string>> job; // label and text, UTF-8
    // Prepared by, checked by, date and revision, for the first page's
    // signature block.
    std::array<std::string, 4> signature;
    TextRows summary;
    std::vector<RouteReport> routes;
    QDateTime printedAt;

    void setProfileAxis(ProfileAxis axis)
    {
        for (RouteReport &route : routes)
            route.profileAxis = axis;
    }
};

// The project as last calculated, with its system's figures.
ProjectReport projectReport(const Project &project, const SystemFigures &system,
                            const std::string &path,
                            const QDateTime &printedAt = QDateTime::currentDateTime());
// The paper of the user's locale: US Letter where it measures in US units,
// as en_US does, and A4 elsewhere.
QPageSize localPaper();

int paintProjectReport(QPagedPaintDevice &device, const ProjectReport &report);
std::optional<QString> writeProjectReportPdf(const QString &path, const ProjectReport &report,
                                             const QPageSize &paper = localPaper());

// The report as a PDF file whose title is the route's name, on the paper
// given, written through the file module's atomic write: a failure leaves
// any file at `path` as it was. Returns the error, or nothing.
std::optional<QString> writeReportPdf(const QString &path, const RouteReport &report,
                                      const QPageSize &paper = localPaper());

// The header and used rows as CSV for spreadsheets: RFC 4180 with CR LF,
// UTF-8 with a byte order mark, written atomically, text that a spreadsheet
// would run as a formula guarded unless `raw`, and with the flow and
// diameter in force on every row when `filled`. Returns the error, or nothing.
std::optional<QString> writeRouteCsv(const QString &path, const RouteTable &table,
                                     bool filled = false, bool raw = false);
// Any table of texts (the first row its header) in the same form.
std::optional<QString> writeCsv(const QString &path, const TextRows &rows, bool raw = false);

} // namespace plenix
