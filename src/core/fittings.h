// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace plenix {

// One command of the fittings pop-up, in the order the pop-up lists them.
// Adding a fitting means adding a row to the table below.
struct Fitting
{
    // Where the coefficient comes from: a fixed text, or the elbow rule for
    // an angle and the radius the user is asked for.
    enum class Coefficient
    {
        Fixed,
        ElbowRule
    };
    // What the "Description" cell gets: the caption, or the caption, the
    // radius reply as typed and " in clr".
    enum class Description
    {
        Caption,
        CaptionWithRadius
    };

    std::string_view caption;
    Coefficient coefficient;
    std::string_view value; // Fixed: the coefficient text; ElbowRule: the angle text
    Description description;

    bool asksForRadius() const { return coefficient == Coefficient::ElbowRule; }
};

inline constexpr std::array<Fitting, 8> Fittings{{
    {"Elbow 90 deg", Fitting::Coefficient::ElbowRule, "90",
     Fitting::Description::CaptionWithRadius},
    {"Elbow 60 deg", Fitting::Coefficient::ElbowRule, "60",
     Fitting::Description::CaptionWithRadius},
    {"Elbow 45 deg", Fitting::Coefficient::ElbowRule, "45",
     Fitting::Description::CaptionWithRadius},
    {"Elbow 30 deg", Fitting::Coefficient::ElbowRule, "30",
     Fitting::Description::CaptionWithRadius},
    {"Branch Entry 90 deg", Fitting::Coefficient::Fixed, "1.00", Fitting::Description::Caption},
    {"Branch Entry 60 deg", Fitting::Coefficient::Fixed, "0.44", Fitting::Description::Caption},
    {"Branch Entry 45 deg", Fitting::Coefficient::Fixed, "0.28", Fitting::Description::Caption},
    {"Branch Entry 30 deg", Fitting::Coefficient::Fixed, "0.18", Fitting::Description::Caption},
}};

inline constexpr std::string_view ElbowRadiusPrompt = "Enter elbow center line radius, in";
inline constexpr std::string_view ElbowRadiusDefault = "0";

// The share of a 90-degree elbow's loss that an elbow of the angle has;
// 0 for an angle text that is not one of the four.
float angleFactor(std::string_view angleText);

// The duct diameter an elbow in the current row sits in: the nearest
// non-empty "Diameter, in" cell at or above the current row, read as a
// number. 0 when there is none, or when that cell holds no number.
float elbowDiameter(const RouteTable &table);

// Whether a reply is one decimal number with nothing but blanks around it.
bool isNumericReply(std::string_view reply);

// The elbow's loss coefficient as decimal text, for the diameter found and
// the radius reply as typed; empty when the diameter is 0 or the reply is
// empty or not a number. A zero radius gives 1.25 whatever the angle.
std::string elbowCoefficient(std::string_view angleText, float diameter,
                             std::string_view radiusReply);

// The description the fitting's rule gives for a radius reply as typed.
std::string fittingDescription(const Fitting &fitting, std::string_view radiusReply);

// Writes the coefficient, formatted "0.0#", into "Loss Coef." and the
// description into "Description" of the current row: those two cells only,
// whatever else is selected.
void writeFitting(RouteTable &table, std::string_view coefficient, std::string_view description);

// What a fitting command did. Every outcome but Inserted leaves the route
// as it was.
enum class FittingOutcome
{
    Inserted,
    NoDiameter,
    Cancelled,
    NotANumber
};

// Why an elbow command wrote nothing, for the status bar; empty for Inserted.
std::string_view fittingOutcomeText(FittingOutcome outcome);

// Puts the fitting into the current row. An elbow's coefficient comes from
// the diameter found and the radius reply; no reply means the prompt was
// cancelled.
FittingOutcome insertFitting(RouteTable &table, const Fitting &fitting, float diameter = 0,
                             std::optional<std::string_view> radiusReply = std::nullopt);

// What the radius prompt shows while the reply is typed: the ratio R/D and
// the coefficient the cell will get, "R/D = 1.5, coefficient 0.39"; a word
// when the reply gives no coefficient; empty while there is no reply or no
// diameter.
std::string elbowPreview(std::string_view angleText, float diameter, std::string_view radiusReply);

} // namespace plenix
