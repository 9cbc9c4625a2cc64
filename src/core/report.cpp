// SPDX-License-Identifier: GPL-3.0-or-later
#include "report.h"

#include "airflow.h"
#include "routedocument.h"
#include "tableexport.h"

#include <algorithm>
#include <cstdio>

namespace plenix {

namespace {

using Col = RouteTable::Column;

std::string numberText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// The formulas as the calculation applies them, from its own constants.
std::vector<std::string> constantLines()
{
    using namespace airflow;
    const std::string pi = numberText(Pi);
    const std::string feet = "(D / " + numberText(InchesPerFoot) + ")";
    return {
        "Units: flow Q in cfm, diameter D in in, length L in ft, velocity V in fpm, "
        "pressures in in wg.",
        "Air: standard air, 0.075 lb/ft\u00b3 (dry air at 70 \u00b0F and sea level).",
        "Velocity: V = " + numberText(VelocityFactor) + " \u00d7 Q / (" + pi + " \u00d7 " + feet +
            "\u00b2).",
        "Velocity pressure: VP = (V / " + numberText(StandardAirVelocity) + ")\u00b2.",
        "Duct friction: loss = " + numberText(FrictionCoefficient) +
            " \u00d7 Qty \u00d7 L \u00d7 Q^" + numberText(FlowExponent) + " / D^" +
            numberText(DiameterExponent) + ".",
        "Fittings: loss = Qty \u00d7 VP \u00d7 Loss Coef. Route SP adds the item losses as "
        "shown, from the first row down.",
    };
}

std::vector<std::string> descriptionLines(std::string_view stored)
{
    // A stored description breaks lines with CR LF; a lone CR or LF read
    // from a file breaks one too.
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n')
            ++i;
        lines.push_back(utf8FromStored(line));
        line.clear();
    }
    if (!line.empty() || lines.empty())
        lines.push_back(utf8FromStored(line));
    return lines;
}

} // namespace

ReportContent reportContent(const RouteDocument &document)
{
    const int firstStaleRow = document.marks().firstStaleRow();
    const RouteTable &table = document.table();
    ReportContent report;
    report.routeName = document.isUntitled() ? std::string(UntitledName) : document.name();
    report.path = document.path();
    if (!document.description().empty())
        report.descriptionLines = descriptionLines(document.description());
    report.constants = constantLines();
    for (std::size_t i = 0; i < report.headers.size(); ++i)
        report.headers[i] = utf8FromStored(table.cellText(0, static_cast<int>(i) + 1));

    const Int16 lastRow = table.lastUsedRow(1);
    for (Int16 number = 1; number <= lastRow; ++number) {
        ReportRow row;
        row.number = number;
        bool empty = true;
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            row.cells[i] = utf8FromStored(table.cellText(number, static_cast<int>(i) + 1));
            empty = empty && row.cells[i].empty();
        }
        if (empty)
            continue;
        const bool item = !table.cellText(number, Col::ColLength).empty() ||
                          !table.cellText(number, Col::ColLossCoef).empty();
        row.kind = item ? ReportRowKind::Item : ReportRowKind::Text;
        row.stale = firstStaleRow != 0 && number >= firstStaleRow;
        report.outOfDate = report.outOfDate || row.stale;
        report.rows.push_back(std::move(row));
    }
    if (lastRow > 0)
        report.total = utf8FromStored(table.cellText(lastRow, Col::ColRouteSP));
    return report;
}

} // namespace plenix
