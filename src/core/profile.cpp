// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile.h"

#include "numbertext.h"
#include "tableexport.h"

#include <algorithm>

namespace plenix {

namespace {

using Col = RouteTable::Column;

std::optional<double> figure(const std::string &text)
{
    if (text.empty() || isMarker(text))
        return std::nullopt;
    return numberFromText(text);
}

} // namespace

PressureProfile pressureProfile(const RouteTable &table)
{
    PressureProfile profile;
    const Int16 lastRow = table.lastUsedRow(1);
    for (Int16 row = 1; row <= lastRow; ++row) {
        ProfilePoint point;
        point.row = row;
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
                                                const ProfileRun &run)
{
    std::vector<std::pair<double, double>> line;
    if (run.firstRow == 1)
        line.emplace_back(0.5, 0.0);
    for (Int16 row = run.firstRow; row <= run.lastRow; ++row) {
        const double total = *profile.point(row).routeTotal;
        line.emplace_back(row - 0.5, total);
        line.emplace_back(row + 0.5, total);
    }
    return line;
}

} // namespace plenix
