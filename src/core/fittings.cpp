// SPDX-License-Identifier: GPL-3.0-or-later
#include "fittings.h"

#include "numbertext.h"

#include <cstdio>

namespace plenix {

namespace {

struct AngleFactor
{
    std::string_view angle;
    float factor;
};

constexpr std::array<AngleFactor, 4> AngleFactors{{
    {"30", 0.29f},
    {"45", 0.50f},
    {"60", 0.67f},
    {"90", 1.00f},
}};

// The coefficient of a 90-degree round elbow by its radius as a multiple of
// the diameter. The bands are tried in order, so a ratio on a boundary falls
// in the band that ends there. They do not fall steadily, and nothing lies
// beyond 2.5 diameters: every larger radius takes the last value.
struct ElbowBand
{
    double upToRatio;
    float coefficient;
};

constexpr std::array<ElbowBand, 6> ElbowBands{{
    {1.25, 0.55f},
    {1.50, 0.39f},
    {1.75, 0.32f},
    {2.00, 0.27f},
    {2.25, 0.26f},
    {2.50, 0.22f},
}};
constexpr float BeyondLastBand = 0.26f;

// A mitred elbow: no radius at all, whatever the angle.
constexpr float ZeroRadiusCoefficient = 1.25f;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

float angleFactor(std::string_view angleText)
{
    for (const AngleFactor &entry : AngleFactors) {
        if (entry.angle == angleText)
            return entry.factor;
    }
    return 0;
}

float elbowDiameter(const RouteTable &table)
{
    // The header reads as 0 when no row above gives a diameter.
    int row = table.currentRow();
    while (row > 0 && table.cellText(row, RouteTable::ColDiameter).empty())
        --row;
    return toSingle(numberFromText(table.cellText(row, RouteTable::ColDiameter)));
}

bool isNumericReply(std::string_view reply)
{
    const std::string_view number = trimBlanks(reply);
    std::size_t pos = 0;
    if (pos < number.size() && (number[pos] == '+' || number[pos] == '-'))
        ++pos;
    bool digits = false;
    bool point = false;
    for (; pos < number.size(); ++pos) {
        if (isDigit(number[pos])) {
            digits = true;
        } else if (number[pos] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (pos < number.size() &&
        (number[pos] == 'E' || number[pos] == 'e' || number[pos] == 'D' || number[pos] == 'd')) {
        ++pos;
        if (pos < number.size() && (number[pos] == '+' || number[pos] == '-'))
            ++pos;
        const std::size_t exponentStart = pos;
        while (pos < number.size() && isDigit(number[pos]))
            ++pos;
        if (pos == exponentStart)
            return false;
    }
    return pos == number.size();
}

std::string elbowCoefficient(std::string_view angleText, float diameter,
                             std::string_view radiusReply)
{
    if (diameter == 0 || radiusReply.empty() || !isNumericReply(radiusReply))
        return {};
    const double radius = numberFromText(radiusReply);
    if (radius == 0)
        return decimalText(ZeroRadiusCoefficient);

    float base = BeyondLastBand;
    for (const ElbowBand &band : ElbowBands) {
        if (radius <= band.upToRatio * static_cast<double>(diameter)) {
            base = band.coefficient;
            break;
        }
    }
    const double product = static_cast<double>(base) * static_cast<double>(angleFactor(angleText));
    return decimalText(toSingle(product));
}

std::string fittingDescription(const Fitting &fitting, std::string_view radiusReply)
{
    std::string description(fitting.caption);
    if (fitting.description == Fitting::Description::CaptionWithRadius) {
        description += ' ';
        description += radiusReply;
        description += " in clr";
    }
    return description;
}

void writeFitting(RouteTable &table, std::string_view coefficient, std::string_view description)
{
    RouteTable::Batch batch(table);
    const int row = table.currentRow();
    table.setCellText(row, RouteTable::ColLossCoef,
                      formatNumber(numberFromText(coefficient), Pattern::OneOrTwoDecimals));
    table.setCellText(row, RouteTable::ColDescription, description);
}

std::string_view fittingOutcomeText(FittingOutcome outcome)
{
    switch (outcome) {
    case FittingOutcome::Inserted:
        break;
    case FittingOutcome::NoDiameter:
        return "No elbow inserted: no diameter is in force at this row or above it.";
    case FittingOutcome::Cancelled:
        return "No elbow inserted: the radius prompt was cancelled.";
    case FittingOutcome::NotANumber:
        return "No elbow inserted: the radius reply is not a number.";
    }
    return {};
}

FittingOutcome insertFitting(RouteTable &table, const Fitting &fitting, float diameter,
                             std::optional<std::string_view> radiusReply)
{
    if (!fitting.asksForRadius()) {
        writeFitting(table, fitting.value, fittingDescription(fitting, {}));
        return FittingOutcome::Inserted;
    }
    if (diameter == 0)
        return FittingOutcome::NoDiameter;
    if (!radiusReply)
        return FittingOutcome::Cancelled;
    const std::string coefficient = elbowCoefficient(fitting.value, diameter, *radiusReply);
    if (coefficient.empty())
        return FittingOutcome::NotANumber;
    writeFitting(table, coefficient, fittingDescription(fitting, *radiusReply));
    return FittingOutcome::Inserted;
}

std::string elbowPreview(std::string_view angleText, float diameter, std::string_view radiusReply)
{
    if (radiusReply.empty() || diameter == 0)
        return {};
    const std::string coefficient = elbowCoefficient(angleText, diameter, radiusReply);
    if (coefficient.empty())
        return "Not a number";
    std::string ratio = formatNumber(numberFromText(radiusReply) / static_cast<double>(diameter),
                                     Pattern::TwoDecimals);
    // A whole ratio is written without its point.
    if (ratio.ends_with('.'))
        ratio.pop_back();
    return "R/D = " + ratio + ", coefficient " +
           formatNumber(numberFromText(coefficient), Pattern::OneOrTwoDecimals);
}

} // namespace plenix
