#pragma once

#include "routetable.h"

#include <array>
#include <string>
#include <string_view>

namespace plenix {

// One command of the fittings pop-up, in the order the pop-up lists them.
struct FittingCommand
{
    enum class Kind { Elbow, BranchEntry };
    Kind kind;
    std::string_view caption;     // "Elbow 90 deg", "Branch Entry 45 deg", ...
    std::string_view angle;       // "90", "60", "45" or "30"
    std::string_view coefficient; // branch entries only: the fixed text
};

inline constexpr std::array<FittingCommand, 8> FittingCommands{{
    {FittingCommand::Kind::Elbow, "Elbow 90 deg", "90", ""},
    {FittingCommand::Kind::Elbow, "Elbow 60 deg", "60", ""},
    {FittingCommand::Kind::Elbow, "Elbow 45 deg", "45", ""},
    {FittingCommand::Kind::Elbow, "Elbow 30 deg", "30", ""},
    {FittingCommand::Kind::BranchEntry, "Branch Entry 90 deg", "90", "1.00"},
    {FittingCommand::Kind::BranchEntry, "Branch Entry 60 deg", "60", "0.44"},
    {FittingCommand::Kind::BranchEntry, "Branch Entry 45 deg", "45", "0.28"},
    {FittingCommand::Kind::BranchEntry, "Branch Entry 30 deg", "30", "0.18"},
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

// "Elbow 90 deg 18 in clr" for angle "90" and reply "18".
std::string elbowDescription(std::string_view angleText, std::string_view radiusReply);

// Writes the coefficient, formatted "0.0#", into "Loss Coef." and the
// description into "Description" of the current row: those two cells only,
// whatever else is selected.
void insertFitting(RouteTable &table, std::string_view coefficient,
                     std::string_view description);

} // namespace plenix
