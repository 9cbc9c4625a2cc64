// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/unitswitch.h"

#include "calculation/ductsection.h"
#include "numbertext.h"

#include <variant>

namespace plenix {

namespace {

constexpr int ConvertedDigits = 10;

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

void convertRoute(RouteTable &table, units::System from)
{
    using units::Quantity;
    RouteTable::Batch batch(table);
    for (int row = 1; row <= table.lastUsedRow(1); ++row) {
        for (const auto &[col, quantity] : {std::pair{RouteTable::ColFlow, Quantity::Flow},
                                            std::pair{RouteTable::ColDiameter, Quantity::Size},
                                            std::pair{RouteTable::ColLength, Quantity::Length}}) {
            const std::string &text = table.cellText(row, col);
            if (!text.empty())
                table.setCellText(row, col, convertedCell(text, quantity, from));
        }
    }
}

void convertInputs(Project &project, units::System from)
{
    for (ProjectRoute &route : project.routes)
        convertRoute(route.document->table(), from);
    for (FanItem &item : project.fanItems) {
        if (!item.pressure.empty())
            item.pressure = convertedCell(item.pressure, units::Quantity::Pressure, from);
    }
}

} // namespace plenix
