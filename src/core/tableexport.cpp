// SPDX-License-Identifier: GPL-3.0-or-later
#include "tableexport.h"

#include "calculation.h"
#include "calculation/darcy.h"
#include "charset.h"

#include <array>
#include <cmath>
#include <optional>

#include <charconv>
#include <cstdio>

namespace plenix {

namespace {

bool needsCsvQuotes(std::string_view field)
{
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

} // namespace

std::string utf8FromStored(std::string_view stored)
{
    std::string out;
    out.reserve(stored.size());
    for (const char byte : stored)
        appendUtf8(out, charFromByte(static_cast<unsigned char>(byte)));
    return out;
}

TextRows listRows(const RouteTable &table)
{
    const Int16 lastRow = table.lastUsedRow(1);
    TextRows rows;
    rows.reserve(static_cast<std::size_t>(lastRow) + 1);
    for (int row = 0; row <= lastRow; ++row) {
        std::vector<std::string> &fields = rows.emplace_back();
        for (int col = 1; col <= RouteTable::DataCols; ++col)
            fields.push_back(utf8FromStored(table.cellText(row, col)));
    }
    return rows;
}

TextRows filledRows(TextRows rows)
{
    for (const int col : {RouteTable::ColFlow, RouteTable::ColDiameter}) {
        const auto field = static_cast<std::size_t>(col - 1);
        std::string inForce;
        for (std::size_t row = 1; row < rows.size(); ++row) {
            std::string &text = rows[row][field];
            if (text.empty())
                text = inForce;
            else
                inForce = text;
        }
    }
    return rows;
}

std::string tsvText(const TextRows &rows)
{
    std::string out;
    for (const std::vector<std::string> &fields : rows) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out += '\t';
            for (const char c : fields[i])
                out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
        }
        out += '\n';
    }
    return out;
}

bool readsAsNumber(std::string_view text)
{
    if (text.starts_with('+'))
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool startsLikeFormula(std::string_view field)
{
    return !field.empty() &&
           std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos &&
           !readsAsNumber(field);
}

std::string csvRecord(const std::vector<std::string> &fields, const CsvFormat &format)
{
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        const std::string field =
            format.guardFormulas && startsLikeFormula(fields[i]) ? '\'' + fields[i] : fields[i];
        if (!needsCsvQuotes(field)) {
            out += field;
            continue;
        }
        out += '"';
        for (const char c : field) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += format.lineEnd;
    return out;
}

std::string csvText(const TextRows &rows, const CsvFormat &format)
{
    std::string out = format.byteOrderMark ? "\xEF\xBB\xBF" : "";
    for (const std::vector<std::string> &fields : rows)
        out += csvRecord(fields, format);
    return out;
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

std::string jsonString(std::string_view utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

namespace {

// The shortest text that reads back as the same number: the figures are
// single precision, the sums of them double.
template <typename Number> std::string jsonNumber(std::optional<Number> value)
{
    if (!value || !std::isfinite(*value))
        return "null";
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), *value).ptr;
    return {text.data(), end};
}

// A row's cells, each keyed by its column's caption.
std::string cellsJson(const TextRows &rows, std::size_t row)
{
    std::string out;
    for (std::size_t col = 0; col < rows[row].size(); ++col) {
        if (col > 0)
            out += ',';
        out += jsonString(rows.front().at(col)) + ':' + jsonString(rows[row][col]);
    }
    return out;
}

// A Darcy-Colebrook row's figures, all in double precision; a duct run's
// adds its Reynolds number, friction factor, equivalent diameter and
// friction rate.
std::string darcyRowJson(const darcy::RowFigures &here)
{
    const auto item = [&](double value) {
        return here.hasItem ? std::optional<double>(value) : std::nullopt;
    };
    std::string out =
        ",\"flow\":" + jsonNumber<double>(here.flow) +
        ",\"velocity\":" + jsonNumber(item(here.velocity)) +
        ",\"vp\":" + jsonNumber(item(here.velocityPressure)) +
        ",\"loss\":" + jsonNumber(here.lossMarker.empty() ? item(here.loss) : std::nullopt) +
        ",\"total\":" +
        jsonNumber(here.totalMarker.empty() ? std::optional<double>(here.total) : std::nullopt) +
        ",\"static\":" + jsonNumber(darcy::staticPressure(here));
    if (here.isDuct && here.lossMarker.empty())
        out += ",\"re\":" + jsonNumber<double>(here.reynolds) +
               ",\"f\":" + jsonNumber<double>(here.frictionFactor) +
               ",\"de\":" + jsonNumber<double>(here.equivalentDiameter) +
               ",\"frictionRate\":" + jsonNumber<double>(here.frictionRate) +
               ",\"roughness\":" + jsonNumber<double>(here.roughness);
    return out;
}

} // namespace

std::string jsonRoute(std::string_view file, std::string_view description, const TextRows &rows,
                      std::string_view message, const darcy::RouteFigures &figures)
{
    std::string out = "{\"file\":" + jsonString(file) +
                      ",\"description\":" + jsonString(description) + ",\"rows\":[";
    const bool figured = !figures.outcome.stopped;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        out += (row > 1 ? ",{" : "{") + cellsJson(rows, row);
        if (figured && row <= figures.rows.size())
            out += darcyRowJson(figures.rows[row - 1]);
        out += '}';
    }
    out += ']';
    out += std::string(",\"stopped\":") + (figured ? "false" : "true");
    // The route's total: the last row's, unless a marker has stopped it.
    const bool marked = !figures.rows.empty() && !figures.rows.back().totalMarker.empty();
    const double total = figures.rows.empty() ? 0.0 : figures.rows.back().total;
    out += ",\"total\":" + (figured && !marked ? jsonNumber<double>(total) : std::string("null"));
    if (!message.empty())
        out += ",\"message\":" + jsonString(message);
    return out + '}';
}

std::string jsonRoute(std::string_view file, std::string_view description, const TextRows &rows,
                      std::string_view message, const RouteFigures *figures)
{
    std::string out = "{\"file\":" + jsonString(file) +
                      ",\"description\":" + jsonString(description) + ",\"rows\":[";
    const bool figured = figures && !figures->outcome.stopped;
    std::optional<double> total = 0.0;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        out += (row > 1 ? ",{" : "{") + cellsJson(rows, row);
        if (figured && row <= figures->rows.size()) {
            const RowFigures &here = figures->rows[row - 1];
            const auto item = [&](float value) {
                return here.hasItem ? std::optional<float>(value) : std::nullopt;
            };
            const std::optional<float> loss =
                here.lossMarker.empty() ? item(here.loss) : std::nullopt;
            if (!here.lossMarker.empty())
                total.reset();
            else if (total)
                *total += here.loss;
            out += ",\"flow\":" + jsonNumber<float>(here.flow) +
                   ",\"diameter\":" + jsonNumber<float>(here.diameter) +
                   ",\"velocity\":" + jsonNumber(item(here.velocity)) +
                   ",\"vp\":" + jsonNumber(item(here.velocityPressure)) +
                   ",\"loss\":" + jsonNumber(loss) + ",\"total\":" + jsonNumber(total);
        }
        out += '}';
    }
    out += ']';
    if (figures) {
        out += std::string(",\"stopped\":") + (figures->outcome.stopped ? "true" : "false");
        out += ",\"total\":" + jsonNumber(figured ? total : std::optional<double>());
    }
    if (!message.empty())
        out += ",\"message\":" + jsonString(message);
    return out + '}';
}

} // namespace plenix
