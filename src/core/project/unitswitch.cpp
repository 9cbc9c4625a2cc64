// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/unitswitch.h"

#include "calculation/ductsection.h"
#include "numbertext.h"

#include <variant>

namespace plenix {

namespace {

constexpr int ConvertedDigits = 10;
// The flow units' factors have up to twelve digits (1 cfm is
// 1.69901079552 m3/h), so flows keep twelve, and a flow typed in whole
// units comes back whole.
constexpr int ConvertedFlowDigits = 12;

bool holdsNumber(std::string_view text)
{
    return text.find_first_of("0123456789") != std::string_view::npos;
}

} // namespace

std::string convertedCell(std::string_view text, units::Quantity quantity, units::System from)
{
    if (!holdsNumber(text) || isMarker(text))
        return std::string(text);
    if (quantity == units::Quantity::Size) {
        const auto read = section::readSection(text);
        if (const auto *size = std::get_if<section::Section>(&read)) {
            section::Section converted = *size;
            converted.width = units::convert(size->width, quantity, from);
            converted.height = units::convert(size->height, quantity, from);
            return section::sectionText(converted);
        }
        // A classic diameter may hold what no shape reads, such as "1E1".
    }
    return shortText(units::convert(numberFromText(text), quantity, from), ConvertedDigits);
}

std::string convertedFlow(std::string_view text, const method::Settings &from,
                          const method::Settings &to)
{
    if (!holdsNumber(text) || isMarker(text))
        return std::string(text);
    return shortText(numberFromText(text) * method::litresPerSecondPerFlow(from) /
                         method::litresPerSecondPerFlow(to),
                     ConvertedFlowDigits);
}

void convertRoute(RouteTable &table, const method::Settings &from, const method::Settings &to)
{
    using units::Quantity;
    const bool flows = method::flowSymbol(from) != method::flowSymbol(to);
    const bool systems = from.units != to.units;
    RouteTable::Batch batch(table);
    for (int row = 1; row <= table.lastUsedRow(1); ++row) {
        if (const std::string &text = table.cellText(row, RouteTable::ColFlow);
            flows && !text.empty())
            table.setCellText(row, RouteTable::ColFlow, convertedFlow(text, from, to));
        for (const auto &[col, quantity] : {std::pair{RouteTable::ColDiameter, Quantity::Size},
                                            std::pair{RouteTable::ColLength, Quantity::Length}}) {
            const std::string &text = table.cellText(row, col);
            if (systems && !text.empty())
                table.setCellText(row, col, convertedCell(text, quantity, from.units));
        }
    }
}

void convertInputs(Project &project, const method::Settings &from, const method::Settings &to)
{
    for (ProjectRoute &route : project.routes)
        convertRoute(route.document->table(), from, to);
    if (from.units == to.units)
        return;
    for (FanItem &item : project.fanItems) {
        if (!item.pressure.empty())
            item.pressure = convertedCell(item.pressure, units::Quantity::Pressure, from.units);
    }
}

} // namespace plenix
