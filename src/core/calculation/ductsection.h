// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <variant>

// A duct's cross-section as the size cell gives it: a diameter ("12"), a
// rectangle ("24x12", width by height) or a flat oval ("24x12 oval", major
// by minor axis), and the duct's material where it differs from its
// route's ("12 flex"). Dimensions are in inches or millimetres; the
// formulas below hold in either.
namespace plenix::section {

enum class Shape
{
    Round,
    Rectangular,
    FlatOval
};

struct Section
{
    Shape shape = Shape::Round;
    double width = 0;  // the diameter, the rectangle's width, the oval's major axis
    double height = 0; // the rectangle's height, the oval's minor axis; 0 for round
    // The id of a material of the table when the cell names one, for a
    // flexible connection on a galvanised route, say; empty for the route's.
    std::string material = {};

    // The real free area of the cross-section.
    double area() const;
    // The diameter of the round duct with the same friction at the same
    // flow.
    double equivalentDiameter() const;
    // Four times the area over the perimeter: the diameter the fittings'
    // Reynolds numbers are taken on.
    double hydraulicDiameter() const;
    friend bool operator==(const Section &, const Section &) = default;
};

// Why a size cell cannot be read: the text, shown in the message.
struct SectionError
{
    std::string message;
};

// Reads a size cell. The "x" may be a capital or the multiplication sign,
// with blanks around it or not; "oval" may be in any case. The dimensions
// must be positive decimal numbers; a flat oval's axes may come in either
// order. A last word that names a material (its id or an alias, in any
// case) gives the duct's own.
std::variant<Section, SectionError> readSection(std::string_view text);

// The section written back in its normal form: "12", "24x12", "24x12 oval",
// "12 flex".
std::string sectionText(const Section &section);

} // namespace plenix::section
