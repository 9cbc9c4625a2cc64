// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile.h"

#include "numbertext.h"
#include "tableexport.h"

#include <algorithm>
#include <cmath>

namespace plenix {

namespace {

using Col = RouteTable::Column;

// A cell typed over can hold a number no axis can show (1E999); such a cell
// breaks the line as a marker does.
std::optional<double> figure(const std::string &text)
{
    if (text.empty() || isMarker(text))
        return std::nullopt;
    const double value = numberFromText(text);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// A row's length along the route: its length times its quantity, an empty
// quantity counting once. A text that is no figure, or a negative one,
// adds nothing.
double runLength(const RouteTable &table, Int16 row)
{
    const std::optional<double> length = figure(table.cellText(row, Col::ColLength));
    const std::string &qtyText = table.cellText(row, Col::ColQty);
    const std::optional<double> qty = qtyText.empty() ? 1.0 : figure(qtyText);
    if (!length || !qty)
        return 0;
    return std::max(*length * *qty, 0.0);
}

} // namespace

PressureProfile pressureProfile(const RouteTable &table, units::System units)
{
    PressureProfile profile;
    profile.units = units;
    const Int16 lastRow = table.lastUsedRow(1);
    double distance = 0;
    for (Int16 row = 1; row <= lastRow; ++row) {
        ProfilePoint point;
        point.row = row;
        point.distanceFrom = distance;
        distance += runLength(table, row);
        point.distanceTo = distance;
        point.description = utf8FromStored(table.cellText(row, Col::ColDescription));
        const bool item = !table.cellText(row, Col::ColLength).empty() ||
                          !table.cellText(row, Col::ColLossCoef).empty();
        const std::string &loss = table.cellText(row, Col::ColItemSP);
        if (item) {
            point.itemLoss = figure(loss);
            if (isMarker(loss))
                point.marker = loss;
        } else {
            point.textRow = true;
            point.itemLoss = 0.0;
        }
        point.routeTotal = figure(table.cellText(row, Col::ColRouteSP));

        for (const std::optional<double> &value : {point.itemLoss, point.routeTotal}) {
            if (value) {
                profile.lowest = std::min(profile.lowest, *value);
                profile.highest = std::max(profile.highest, *value);
            }
        }
        if (point.routeTotal) {
            if (!profile.runs.empty() && profile.runs.back().lastRow == row - 1)
                profile.runs.back().lastRow = row;
            else
                profile.runs.push_back({row, row});
        }
        profile.points.push_back(std::move(point));
    }
    return profile;
}

std::vector<std::pair<double, double>> stepLine(const PressureProfile &profile,
                                                const ProfileRun &run, ProfileAxis axis)
{
    const auto from = [&](Int16 row) {
        return axis == ProfileAxis::Row ? row - 0.5 : profile.point(row).distanceFrom;
    };
    const auto to = [&](Int16 row) {
        return axis == ProfileAxis::Row ? row + 0.5 : profile.point(row).distanceTo;
    };
    std::vector<std::pair<double, double>> line;
    if (run.firstRow == 1)
        line.emplace_back(from(1), 0.0);
    for (Int16 row = run.firstRow; row <= run.lastRow; ++row) {
        const double total = *profile.point(row).routeTotal;
        line.emplace_back(from(row), total);
        line.emplace_back(to(row), total);
    }
    return line;
}

double rowTickInterval(std::size_t rows)
{
    for (const double interval : {1.0, 2.0, 5.0})
        if (static_cast<double>(rows) / interval <= 15)
            return interval;
    return 10;
}

std::optional<Int16> rowAt(const PressureProfile &profile, double place, ProfileAxis axis)
{
    const auto rows = static_cast<double>(profile.points.size());
    if (axis == ProfileAxis::Row) {
        const double row = std::round(place);
        if (!(row >= 1 && row <= rows))
            return std::nullopt;
        return static_cast<Int16>(row);
    }
    // A duct holds the start of its stretch, not the end, where the next
    // row (often a fitting, of no length) stands.
    for (const ProfilePoint &point : profile.points) {
        const bool fitting = point.distanceFrom == point.distanceTo;
        if (fitting ? place == point.distanceFrom
                    : point.distanceFrom <= place && place < point.distanceTo)
            return point.row;
    }
    if (!profile.points.empty() && place == profile.points.back().distanceTo)
        return profile.points.back().row;
    return std::nullopt;
}

} // namespace plenix
