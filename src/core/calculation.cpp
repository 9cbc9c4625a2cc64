// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculation.h"

#include "airflow.h"
#include "numbertext.h"

#include <cmath>
#include <limits>
#include <optional>

namespace plenix {

namespace {

using Col = RouteTable::Column;

// A row's item loss. A row whose loss cannot be a number says why in
// spreadsheet fashion instead of showing a figure that would be wrong.
void workOutLoss(RowFigures &figures, std::optional<Int16> qty, float length, float lossCoef,
                 const RowLoss *fitting)
{
    if (!qty)
        figures.lossMarker = NumMarker;
    else if (fitting != nullptr && fitting->fixedLoss)
        figures.loss = toSingle(*qty * *fitting->fixedLoss);
    else if (fitting != nullptr && fitting->fitted)
        figures.loss = fittingLoss(
            *qty, toSingle(fitting->velocityPressure.value_or(figures.velocityPressure)), lossCoef);
    else if (lossCoef > 0)
        figures.loss = fittingLoss(*qty, figures.velocityPressure, lossCoef);
    // A negative flow has no friction loss to divide, whatever the diameter.
    else if (length != 0 && figures.diameter == 0 && !(figures.flow < 0))
        figures.lossMarker = DivZeroMarker;
    else
        figures.loss = frictionLoss(*qty, length, figures.flow, figures.diameter);
}

} // namespace

const RowLoss *rowLossAt(const RowLosses *losses, int row)
{
    if (losses == nullptr || row < 1 || static_cast<std::size_t>(row) > losses->size())
        return nullptr;
    return &(*losses)[static_cast<std::size_t>(row - 1)];
}

std::optional<Int16> quantityFromText(std::string_view text)
{
    const double rounded = std::nearbyint(numberFromText(text));
    if (!(rounded >= std::numeric_limits<Int16>::min() &&
          rounded <= std::numeric_limits<Int16>::max()))
        return std::nullopt;
    return static_cast<Int16>(rounded);
}

std::string separateRowsMessage(int row)
{
    return "Length and Loss Coef. entries should be on separate rows.\rInspect row: " +
           std::to_string(row);
}

std::optional<CalculationOutcome> separateRowsCheck(const RouteTable &table)
{
    const Int16 lastRow = table.lastUsedRow(1);
    for (Int16 row = 1; row <= lastRow; ++row) {
        if (!table.cellText(row, Col::ColLength).empty() &&
            !table.cellText(row, Col::ColLossCoef).empty())
            return CalculationOutcome{true, row, separateRowsMessage(row)};
    }
    return std::nullopt;
}

RouteFigures routeFigures(const RouteTable &table, const RowLosses *losses)
{
    RouteFigures figures;
    if (std::optional<CalculationOutcome> stop = separateRowsCheck(table)) {
        figures.outcome = *stop;
        return figures;
    }
    const Int16 lastRow = table.lastUsedRow(1);

    // Flow and diameter carry down from the row that last gave them.
    RowFigures inForce;
    for (Int16 row = 1; row <= lastRow; ++row) {
        RowFigures &here = figures.rows.emplace_back();
        if (const std::string &text = table.cellText(row, Col::ColFlow); !text.empty())
            inForce.flow = toSingle(numberFromText(text));
        if (const std::string &text = table.cellText(row, Col::ColDiameter); !text.empty())
            inForce.diameter = toSingle(numberFromText(text));
        here.flow = inForce.flow;
        here.diameter = inForce.diameter;
        const std::string &lengthText = table.cellText(row, Col::ColLength);
        const std::string &lossCoefText = table.cellText(row, Col::ColLossCoef);
        const RowLoss *fitting = rowLossAt(losses, row);
        here.hasItem = !lengthText.empty() || !lossCoefText.empty() ||
                       (fitting != nullptr && fitting->fixedLoss);
        if (!here.hasItem)
            continue;
        const std::string &qtyText = table.cellText(row, Col::ColQty);
        const std::optional<Int16> qty =
            qtyText.empty() ? std::optional<Int16>(1) : quantityFromText(qtyText);
        here.velocity = velocity(here.flow, here.diameter);
        here.velocityPressure = velocityPressure(here.velocity);
        workOutLoss(here, qty, toSingle(numberFromText(lengthText)),
                    toSingle(numberFromText(lossCoefText)), fitting);
    }
    return figures;
}

CalculationOutcome calculate(RouteTable &table, const RowLosses *losses)
{
    RouteTable::Batch batch(table);
    // The cursor leaves its column even when the check stops the pass.
    table.setCurrentCol(RouteTable::ColQty);
    const RouteFigures figures = routeFigures(table, losses);
    if (figures.outcome.stopped)
        return figures.outcome;

    for (Int16 row = 1; row <= static_cast<Int16>(figures.rows.size()); ++row) {
        if (const RowFigures &here = figures.rows[static_cast<std::size_t>(row - 1)];
            here.hasItem) {
            table.setCellText(row, Col::ColVP,
                              formatNumber(here.velocityPressure, Pattern::TwoDecimals));
            table.setCellText(row, Col::ColVelocity, formatNumber(here.velocity, Pattern::Whole));
            table.setCellText(row, Col::ColItemSP,
                              here.lossMarker.empty()
                                  ? formatNumber(here.loss, Pattern::TwoDecimals)
                                  : here.lossMarker);
        }

        // The total adds up what the cells show, so the route total always
        // equals the sum of the item losses as displayed. The cell above
        // always holds a total (this pass wrote it, or it is the header of
        // row 1, which reads as 0). A marker above or in the item passes on
        // down, the first one of the route first, as a spreadsheet's sum does.
        const std::string &above = table.cellText(row - 1, Col::ColRouteSP);
        const std::string &item = table.cellText(row, Col::ColItemSP);
        if (isMarker(above) || isMarker(item)) {
            table.setCellText(row, Col::ColRouteSP, isMarker(above) ? above : item);
            continue;
        }
        const float previous = toSingle(numberFromText(above));
        const double total = numberFromText(item) + static_cast<double>(previous);
        table.setCellText(row, Col::ColRouteSP, formatNumber(total, Pattern::TwoDecimals));
    }

    table.goHome();
    return {};
}

} // namespace plenix
