// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plenix {

// An "Item Qty" text as the 16-bit count it stands for, halves to the even
// neighbour; nothing when it lies outside the 16-bit range.
std::optional<Int16> quantityFromText(std::string_view text);

// The message of the one check that stops a Calculate.
std::string separateRowsMessage(int row);

struct CalculationOutcome
{
    // True when a row holds both a length and a loss coefficient: no cell was
    // written and the window shows the message.
    bool stopped = false;
    Int16 row = 0;
    std::string message;
};

// What Calculate works out for one used row, at the precision it computes.
struct RowFigures
{
    // In force on the row: given there or carried down from above.
    float flow = 0;
    float diameter = 0;
    // A row with a length or a loss coefficient has an item; the others
    // only carry the total down.
    bool hasItem = false;
    float velocity = 0;
    float velocityPressure = 0;
    // The item's loss, or the marker the row shows when there can be no
    // number; 0 for a row without an item.
    float loss = 0;
    std::string lossMarker;
};

struct RouteFigures
{
    CalculationOutcome outcome;
    // Rows 1 to the last used one; none when the pass stopped.
    std::vector<RowFigures> rows;
};

// What a fitting of a project's library makes of a row, worked out before
// the pass: its coefficient, whatever its sign, on the velocity pressure the
// fitting names (the row's own when none), or a component's fixed loss.
struct RowLoss
{
    bool fitted = false;
    std::optional<double> velocityPressure;
    std::optional<double> fixedLoss;
};
// Index row - 1; rows past its end have none.
using RowLosses = std::vector<RowLoss>;

// The row's, if any.
const RowLoss *rowLossAt(const RowLosses *losses, int row);

// The one check that stops a Calculate: the outcome for the first row that
// holds both a length and a loss coefficient, or nothing.
std::optional<CalculationOutcome> separateRowsCheck(const RouteTable &table);

// The figures of a Calculate, without writing them.
RouteFigures routeFigures(const RouteTable &table, const RowLosses *losses = nullptr);

// Fills the result columns of every used row and the running route total,
// then goes home. Reports, as one change, everything it wrote.
CalculationOutcome calculate(RouteTable &table, const RowLosses *losses = nullptr);

} // namespace plenix
