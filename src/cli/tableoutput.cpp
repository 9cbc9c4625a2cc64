// SPDX-License-Identifier: GPL-3.0-or-later
#include "tableoutput.h"

#include "routedocument.h"
#include "tableexport.h"

using namespace Qt::StringLiterals;

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

std::string printedRoute(OutputFormat format, const QString &file,
                         const plenix::RouteDocument &document, std::string_view message,
                         bool named)
{
    const std::string fileName = file.toStdString(); // UTF-8
    const plenix::TextRows rows = plenix::listRows(document.table());
    switch (format) {
    case OutputFormat::Tsv:
        return (named ? fileName + '\n' : std::string()) + plenix::tsvText(rows);
    case OutputFormat::Csv:
        return (named ? plenix::csvRecord({fileName}) : std::string()) + plenix::csvText(rows);
    case OutputFormat::Json:
        return plenix::jsonRoute(fileName, plenix::utf8FromStored(document.description()), rows,
                                 message) +
               '\n';
    }
    return {};
}
