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

// An "Item Qty" text as the 16-bit count it stands for, halves to the even
// neighbour; nothing when it lies outside the 16-bit range.
std::optional<Int16> quantityFromText(std::string_view text)
{
    const double rounded = std::nearbyint(numberFromText(text));
    if (!(rounded >= std::numeric_limits<Int16>::min() &&
          rounded <= std::numeric_limits<Int16>::max()))
        return std::nullopt;
    return static_cast<Int16>(rounded);
}

// The text of a row's item loss. A row whose loss cannot be a number says
// why in spreadsheet fashion instead of showing a figure that would be wrong.
std::string itemLossText(std::optional<Int16> qty, float flow, float diameter, float length,
                         float lossCoef, float vp)
{
    if (!qty)
        return std::string(NumMarker);
    if (lossCoef > 0)
        return formatNumber(fittingLoss(*qty, vp, lossCoef), Pattern::TwoDecimals);
    // A negative flow has no friction loss to divide, whatever the diameter.
    if (length != 0 && diameter == 0 && !(flow < 0))
        return std::string(DivZeroMarker);
    return formatNumber(frictionLoss(*qty, length, flow, diameter), Pattern::TwoDecimals);
}

} // namespace

std::string separateRowsMessage(int row)
{
    return "Length and Loss Coef. entries should be on separate rows.\rInspect row: " +
           std::to_string(row);
}

CalculationOutcome calculate(RouteTable &table)
{
    RouteTable::Batch batch(table);
    // The cursor leaves its column even when the check below stops the pass.
    table.setCurrentCol(RouteTable::ColQty);
    const Int16 lastRow = table.lastUsedRow(1);

    for (Int16 row = 1; row <= lastRow; ++row) {
        if (!table.cellText(row, Col::ColLength).empty() &&
            !table.cellText(row, Col::ColLossCoef).empty())
            return {true, row, separateRowsMessage(row)};
    }

    // Flow and diameter carry down from the row that last gave them.
    float flow = 0;
    float diameter = 0;
    for (Int16 row = 1; row <= lastRow; ++row) {
        const std::string &qtyText = table.cellText(row, Col::ColQty);
        const std::optional<Int16> qty =
            qtyText.empty() ? std::optional<Int16>(1) : quantityFromText(qtyText);
        if (const std::string &text = table.cellText(row, Col::ColFlow); !text.empty())
            flow = toSingle(numberFromText(text));
        if (const std::string &text = table.cellText(row, Col::ColDiameter); !text.empty())
            diameter = toSingle(numberFromText(text));
        const std::string &lengthText = table.cellText(row, Col::ColLength);
        const std::string &lossCoefText = table.cellText(row, Col::ColLossCoef);
        const float length = toSingle(numberFromText(lengthText));
        const float lossCoef = toSingle(numberFromText(lossCoefText));

        if (!lengthText.empty() || !lossCoefText.empty()) {
            const float speed = velocity(flow, diameter);
            const float vp = velocityPressure(speed);
            table.setCellText(row, Col::ColVP, formatNumber(vp, Pattern::TwoDecimals));
            table.setCellText(row, Col::ColVelocity, formatNumber(speed, Pattern::Whole));
            table.setCellText(row, Col::ColItemSP,
                              itemLossText(qty, flow, diameter, length, lossCoef, vp));
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
