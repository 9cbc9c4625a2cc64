// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportpainter.h"

#include "routefileio.h"
#include "tableexport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QLocale>
#include <QPdfWriter>

#include <string>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {

// A PDF of the pages `paint` lays out, titled, written through the file
// module's atomic write.
template <typename Paint>
std::optional<QString> writePdf(const QString &path, const QString &title, const QPageSize &paper,
                                const Paint &paint)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(title);
        writer.setPageSize(paper);
        writer.setCreator(u"Plenix"_s);
        if (paint(writer) == 0)
            return QCoreApplication::translate("Report", "the report could not be laid out");
    }
    return writeRouteFile(path, pdf.data());
}

} // namespace

QPageSize localPaper()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                : QPageSize::A4);
}

std::optional<QString> writeReportPdf(const QString &path, const RouteReport &report,
                                      const QPageSize &paper)
{
    return writePdf(path, pathText(report.content.routeName), paper,
                    [&report](QPdfWriter &writer) { return paintReport(writer, report); });
}

std::optional<QString> writeProjectReportPdf(const QString &path, const ProjectReport &report,
                                             const QPageSize &paper)
{
    return writePdf(path, pathText(report.name), paper,
                    [&report](QPdfWriter &writer) { return paintProjectReport(writer, report); });
}

std::optional<QString> writeRouteCsv(const QString &path, const RouteTable &table, bool filled,
                                     bool raw)
{
    return writeCsv(path, filled ? filledRows(listRows(table)) : listRows(table), raw);
}

std::optional<QString> writeCsv(const QString &path, const TextRows &rows, bool raw)
{
    // Spreadsheets take a file as UTF-8 only with the byte order mark.
    const std::string csv = csvText(rows, {"\r\n", true, !raw});
    return writeRouteFile(path, QByteArrayView(csv.data(), qsizetype(csv.size())));
}

} // namespace plenix
