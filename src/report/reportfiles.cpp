// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportpainter.h"

#include "routefileio.h"
#include "tableexport.h"

#include <QBuffer>
#include <QPdfWriter>

#include <string>

using namespace Qt::StringLiterals;

std::optional<QString> writeReportPdf(const QString &path, const RouteReport &report)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(pathText(report.content.routeName));
        writer.setCreator(u"Plenix"_s);
        if (paintReport(writer, report) == 0)
            return u"the report could not be laid out"_s;
    }
    return writeRouteFile(path, pdf.data());
}

std::optional<QString> writeProjectReportPdf(const QString &path, const ProjectReport &report)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(pathText(report.name));
        writer.setCreator(u"Plenix"_s);
        if (paintProjectReport(writer, report) == 0)
            return u"the report could not be laid out"_s;
    }
    return writeRouteFile(path, pdf.data());
}

std::optional<QString> writeRouteCsv(const QString &path, const plenix::RouteTable &table)
{
    return writeCsv(path, plenix::listRows(table));
}

std::optional<QString> writeCsv(const QString &path, const plenix::TextRows &rows)
{
    // Spreadsheets take a file as UTF-8 only with the byte order mark.
    const std::string csv = plenix::csvText(rows, {"\r\n", true});
    return writeRouteFile(path, QByteArrayView(csv.data(), qsizetype(csv.size())));
}
