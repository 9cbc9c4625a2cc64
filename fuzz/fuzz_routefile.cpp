// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacks arbitrary bytes as a route file and packs the result again. A text
// that unpacks becomes canonical after one pack: unpacking and packing that
// again gives it back byte for byte, and the description is never altered.
// A text that does not unpack changes nothing.
#include "routefile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace plenix;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<std::string> snapshot(const RouteTable &table)
{
    std::vector<std::string> cells;
    for (int row = 0; row < RouteTable::RowCount; ++row) {
        for (int col = 0; col < RouteTable::ColCount; ++col)
            cells.push_back(table.cellText(row, col));
    }
    return cells;
}

void fillSomeRoute(RouteTable &table)
{
    table.setUp();
    table.setCellText(1, RouteTable::ColFlow, "1000");
    table.setCellText(1, RouteTable::ColDiameter, "12");
    table.setCellText(1, RouteTable::ColLength, "100");
    table.setCellText(2, RouteTable::ColLossCoef, "0.28");
    table.setCurrentCell(2, 6);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view x(reinterpret_cast<const char *>(data), size);

    RouteTable table;
    fillSomeRoute(table);
    const std::vector<std::string> before = snapshot(table);
    const std::optional<std::string> description = unpackRoute(table, x);
    const std::size_t separator = x.find(RouteSeparator);
    if (!description) {
        check(separator == std::string_view::npos);
        check(snapshot(table) == before);
        check(table.currentRow() == 2 && table.currentCol() == 6);
        return 0;
    }
    check(separator != std::string_view::npos);
    check(*description == x.substr(separator + 1));

    const std::string y = packRoute(table, *description);
    check(y.size() >= description->size() + 1);
    check(y.compare(y.size() - description->size(), std::string::npos, *description) == 0);

    RouteTable again;
    again.setUp();
    const std::optional<std::string> descriptionAgain = unpackRoute(again, y);
    check(descriptionAgain.has_value());
    check(*descriptionAgain == *description);
    check(snapshot(again) == snapshot(table));
    check(packRoute(again, *descriptionAgain) == y);
    return 0;
}
