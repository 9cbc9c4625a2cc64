// SPDX-License-Identifier: GPL-3.0-or-later
#include "ductsection.h"

#include "charset.h"
#include "materials.h"
#include "numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>

namespace plenix::section {

namespace {

// The multiplication sign in the cells' character set.
constexpr char TimesSign = '\xD7';

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

void skipBlanks(std::string_view text, std::size_t &pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
}

// A plain positive decimal: digits with at most one point.
std::optional<double> readDimension(std::string_view text, std::size_t &pos)
{
    const std::size_t start = pos;
    bool point = false;
    bool digit = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            break;
        ++pos;
    }
    if (!digit)
        return std::nullopt;
    double value = 0;
    std::from_chars(text.data() + start, text.data() + pos, value);
    return value;
}

SectionError unreadable(std::string_view text)
{
    return {"the size \"" + std::string(text) +
            "\" cannot be read; write a diameter (12), a rectangle (24x12) or a flat oval "
            "(24x12 oval), and after it a material where the duct's differs (12 flex)"};
}

bool isWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
}

// The material the cell's last word names, taken off the end of the text;
// nothing when that word names none.
const materials::Material *takeMaterial(std::string_view &text)
{
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    std::size_t start = end;
    while (start > 0 && isWordChar(text[start - 1]))
        --start;
    if (start == end)
        return nullptr;
    const materials::Material *material = materials::find(text.substr(start, end - start));
    if (material != nullptr)
        text = text.substr(0, start);
    return material;
}

} // namespace

double Section::area() const
{
    switch (shape) {
    case Shape::Round:
        return std::numbers::pi * width * width / 4;
    case Shape::Rectangular:
        return width * height;
    case Shape::FlatOval:
        // ASHRAE Handbook - Fundamentals (2017), ch. 21, eq. (27), with a
        // the major and b the minor axis: A = pi b2 / 4 + b (a - b).
        return std::numbers::pi * height * height / 4 + height * (width - height);
    }
    return 0;
}

double Section::equivalentDiameter() const
{
    switch (shape) {
    case Shape::Round:
        return width;
    case Shape::Rectangular:
        // Huebscher (1948), as ASHRAE Handbook - Fundamentals (2017),
        // ch. 21, eq. (25): De = 1.30 (a b)^0.625 / (a + b)^0.25.
        return 1.30 * std::pow(width * height, 0.625) / std::pow(width + height, 0.25);
    case Shape::FlatOval: {
        // Heyt and Diaz (1975), as ASHRAE Handbook - Fundamentals (2017),
        // ch. 21, eqs. (26) and (28) write it: De = 1.55 A^0.625 / P^0.25,
        // with the perimeter P = pi b + 2 (a - b).
        const double perimeter = std::numbers::pi * height + 2 * (width - height);
        return 1.55 * std::pow(area(), 0.625) / std::pow(perimeter, 0.25);
    }
    }
    return 0;
}

double Section::hydraulicDiameter() const
{
    switch (shape) {
    case Shape::Round:
        return width;
    case Shape::Rectangular:
        return 2 * width * height / (width + height);
    case Shape::FlatOval:
        return 4 * area() / (std::numbers::pi * height + 2 * (width - height));
    }
    return 0;
}

namespace {

// The cross-section alone; the cell's whole text goes into the messages.
std::variant<Section, SectionError> readShape(std::string_view text, std::string_view cell)
{
    std::size_t pos = 0;
    skipBlanks(text, pos);
    const std::optional<double> first = readDimension(text, pos);
    if (!first)
        return unreadable(cell);
    skipBlanks(text, pos);
    Section section{Shape::Round, *first, 0};
    if (pos < text.size()) {
        const char sign = text[pos];
        if (sign != 'x' && sign != 'X' && sign != TimesSign)
            return unreadable(cell);
        ++pos;
        skipBlanks(text, pos);
        const std::optional<double> second = readDimension(text, pos);
        if (!second)
            return unreadable(cell);
        skipBlanks(text, pos);
        section = {Shape::Rectangular, *first, *second};
        if (pos < text.size()) {
            std::size_t end = text.size();
            while (end > pos && isBlank(text[end - 1]))
                --end;
            if (!equalsIgnoringCase(text.substr(pos, end - pos), "oval"))
                return unreadable(cell);
            section = {Shape::FlatOval, std::max(*first, *second), std::min(*first, *second)};
        }
    }
    if (!(section.width > 0) || (section.shape != Shape::Round && !(section.height > 0)))
        return SectionError{"the size \"" + std::string(cell) + "\" has a side of 0"};
    return section;
}

} // namespace

std::variant<Section, SectionError> readSection(std::string_view cell)
{
    std::string_view text = cell;
    const materials::Material *material = takeMaterial(text);
    std::variant<Section, SectionError> read = readShape(text, cell);
    if (auto *section = std::get_if<Section>(&read); section != nullptr && material != nullptr)
        section->material = material->id;
    return read;
}

std::string sectionText(const Section &section)
{
    std::string text = shortText(section.width, 10);
    if (section.shape != Shape::Round) {
        text += 'x';
        text += shortText(section.height, 10);
    }
    if (section.shape == Shape::FlatOval)
        text += " oval";
    if (!section.material.empty())
        text += " " + section.material;
    return text;
}

} // namespace plenix::section
