// SPDX-License-Identifier: GPL-3.0-or-later
#include "tableoutput.h"

#include "calculation.h"
#include "calculation/darcy.h"
#include "routedocument.h"
#include "routefileio.h"
#include "tableexport.h"

using namespace Qt::StringLiterals;

namespace plenix {

std::optional<OutputFormat> outputFormatNamed(QStringView name)
{
    if (name == u"tsv")
        return OutputFormat::Tsv;
    if (name == u"csv")
        return OutputFormat::Csv;
    if (name == u"json")
        return OutputFormat::Json;
    return std::nullopt;
}

std::string printedRoute(OutputFormat format, const QString &file, const RouteDocument &document,
                         std::string_view message, bool named, bool filled)
{
    const std::string fileName = file.toStdString(); // UTF-8
    const TextRows rows = listRows(document.table());
    switch (format) {
    case OutputFormat::Tsv:
        return (named ? fileName + '\n' : std::string()) + tsvText(rows);
    case OutputFormat::Csv:
        return (named ? csvRecord({fileName}) : std::string()) +
               csvText(filled ? filledRows(rows) : rows);
    case OutputFormat::Json: {
        if (!document.method().isClassic())
            return jsonRoute(fileName, utf8FromStored(document.description()), rows, message,
                             darcy::routeFigures(document.table(), document.method())) +
                   '\n';
        const RouteFigures figures = routeFigures(document.table());
        return jsonRoute(fileName, utf8FromStored(document.description()), rows, message,
                         &figures) +
               '\n';
    }
    }
    return {};
}

QString fileError(const QString &file, const QString &reason)
{
    const QString name = quotedPath(file);
    return u"plenix-calc: "_s + (reason.startsWith(name) ? reason : name + u": "_s + reason);
}

} // namespace plenix
