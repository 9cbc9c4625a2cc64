#include "reportpainter.h"

#include "report.h"
#include "routefileio.h"
#include "routetable.h"

#include <QBuffer>
#include <QPdfWriter>

#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// RFC 4180: a field is quoted, its quotes doubled, only when it holds a
// comma, a quote or a line break.
std::string csvField(const std::string &field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

} // namespace

std::optional<QString> writeReportPdf(const QString &path, const RouteReport &report)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(QString::fromStdString(report.content.routeName));
        writer.setCreator(u"Plenix"_s);
        if (paintReport(writer, report) == 0)
            return u"the report could not be laid out"_s;
    }
    return writeRouteFile(path, pdf.data());
}

std::optional<QString> writeRouteCsv(const QString &path, const plenix::RouteTable &table)
{
    std::string csv = "\xEF\xBB\xBF";
    const auto record = [&csv, &table](int row) {
        for (int col = 1; col <= plenix::RouteTable::DataCols; ++col) {
            csv += csvField(plenix::utf8FromCells(table.cellText(row, col)));
            csv += col < plenix::RouteTable::DataCols ? "," : "\r\n";
        }
    };
    for (int row = 0; row <= table.lastUsedRow(1); ++row)
        record(row);
    return writeRouteFile(path, QByteArrayView(csv.data(), qsizetype(csv.size())));
}
