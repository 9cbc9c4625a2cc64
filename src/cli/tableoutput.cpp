// SPDX-License-Identifier: GPL-3.0-or-later
#include "tableoutput.h"

#include "routedocument.h"
#include "routefileio.h"
#include "tableexport.h"

#include <cstdio>

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
                         std::string_view message, bool named)
{
    const std::string fileName = file.toStdString(); // UTF-8
    const TextRows rows = listRows(document.table());
    switch (format) {
    case OutputFormat::Tsv:
        return (named ? fileName + '\n' : std::string()) + tsvText(rows);
    case OutputFormat::Csv:
        return (named ? csvRecord({fileName}) : std::string()) + csvText(rows);
    case OutputFormat::Json:
        return jsonRoute(fileName, utf8FromStored(document.description()), rows, message) + '\n';
    }
    return {};
}

std::string visibleOnTerminal(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        // C1 controls come as 0xC2 0x80 to 0xC2 0x9F in UTF-8.
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() &&
                        static_cast<unsigned char>(utf8[i + 1]) <= 0x9F &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80;
        char escape[8] = {};
        if (c1) {
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(utf8[++i]));
            out += escape;
        } else if (byte == '\r') {
            out += "\\r";
        } else if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        } else {
            out += char(byte);
        }
    }
    return out;
}

QString fileError(const QString &file, const QString &reason)
{
    const QString name = quotedPath(file);
    return u"plenix-calc: "_s + (reason.startsWith(name) ? reason : name + u": "_s + reason);
}

} // namespace plenix
