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
    const double rounded = std::nearbyint(NumberFromText(text));
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
        return fnFormat(fnFittingLoss(*qty, vp, lossCoef), Pattern::TwoDecimals);
    if (length != 0 && diameter == 0)
        return std::string(DivZeroMarker);
    return fnFormat(fnFrictionLoss(*qty, length, flow, diameter), Pattern::TwoDecimals);
}

} // namespace

std::string fnSeparateRowsMessage(int row)
{
    return "Length and Loss Coef. entries should be on separate rows.\rInspect row: " +
           std::to_string(row);
}

CalculationOutcome sbCalculate(RouteTable &table)
{
    RouteTable::Batch batch(table);
    const Int16 lastRow = table.fnLastUsedRow(1);

    for (Int16 row = 1; row <= lastRow; ++row) {
        if (!table.CellText(row, Col::ColLength).empty() &&
            !table.CellText(row, Col::ColLossCoef).empty())
            return {true, row, fnSeparateRowsMessage(row)};
    }

    // Flow and diameter carry down from the row that last gave them.
    float flow = 0;
    float diameter = 0;
    for (Int16 row = 1; row <= lastRow; ++row) {
        const std::string &qtyText = table.CellText(row, Col::ColQty);
        const std::optional<Int16> qty =
            qtyText.empty() ? std::optional<Int16>(1) : quantityFromText(qtyText);
        if (const std::string &text = table.CellText(row, Col::ColFlow); !text.empty())
            flow = fnToSingle(NumberFromText(text));
        if (const std::string &text = table.CellText(row, Col::ColDiameter); !text.empty())
            diameter = fnToSingle(NumberFromText(text));
        const std::string &lengthText = table.CellText(row, Col::ColLength);
        const std::string &lossCoefText = table.CellText(row, Col::ColLossCoef);
        const float length = fnToSingle(NumberFromText(lengthText));
        const float lossCoef = fnToSingle(NumberFromText(lossCoefText));

        if (!lengthText.empty() || !lossCoefText.empty()) {
            const float velocity = fnVelocity(flow, diameter);
            const float vp = fnVelocityPressure(velocity);
            table.setCellText(row, Col::ColVP, fnFormat(vp, Pattern::TwoDecimals));
            table.setCellText(row, Col::ColVelocity, fnFormat(velocity, Pattern::Whole));
            table.setCellText(row, Col::ColItemSP,
                              itemLossText(qty, flow, diameter, length, lossCoef, vp));
        }

        // The total adds up what the cells show, so the route total always
        // equals the sum of the item losses as displayed. The cell above
        // always holds a total (this pass wrote it, or it is the header of
        // row 1, which reads as 0). A marker above or in the item passes on
        // down, the first one of the route first, as a spreadsheet's sum does.
        const std::string &above = table.CellText(row - 1, Col::ColRouteSP);
        const std::string &item = table.CellText(row, Col::ColItemSP);
        if (fnIsMarker(above) || fnIsMarker(item)) {
            table.setCellText(row, Col::ColRouteSP, fnIsMarker(above) ? above : item);
            continue;
        }
        const float previous = fnToSingle(NumberFromText(above));
        const double total = NumberFromText(item) + static_cast<double>(previous);
        table.setCellText(row, Col::ColRouteSP, fnFormat(total, Pattern::TwoDecimals));
    }

    table.sbGridHome();
    return {};
}

} // namespace plenix
