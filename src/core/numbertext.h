// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plenix {

// The three cell text formats.
enum class Pattern
{
    TwoDecimals,     // "0.##": 2 gives "2.", 1.257 gives "1.26"
    Whole,           // "####": 1222.6 gives "1223", 0.4 gives ""
    OneOrTwoDecimals // "0.0#": 1 gives "1.0", 0.18 gives "0.18"
};

// The text every result cell shows for a value that is not a finite number.
inline constexpr std::string_view NumMarker = "#NUM!";
// The text of a duct row's loss when no diameter is in force.
inline constexpr std::string_view DivZeroMarker = "#DIV/0!";

bool isMarker(std::string_view text);

// Rounds a double to single precision; beyond the single range it gives an
// infinity of the same sign, as the hardware does, instead of leaving it
// undefined.
float toSingle(double value);

// Formats a value in a pattern. The value is first written as its decimal
// form with 7 significant digits (single precision) or 15 (double precision),
// and that decimal text is rounded to the pattern's places, halves away from
// zero, so that no binary noise decides a digit: 0.145f shows "0.15". A value
// that rounds to zero shows no sign. A value that is not finite gives "#NUM!".
std::string formatNumber(float value, Pattern pattern);
std::string formatNumber(double value, Pattern pattern);

// The same formats, always by writing the decimal form first. formatNumber
// takes a quicker way where it can prove the text comes out the same; the
// tests and the number fuzzer hold it to these for every value and pattern.
std::string formatNumberExactly(float value, Pattern pattern);
std::string formatNumberExactly(double value, Pattern pattern);

// A value with exactly `places` decimals, rounded like formatNumber from
// its 15-digit decimal form, as the system's figures and the methods other
// than the classic one show them; "#NUM!" when not finite. Independent of
// the locale.
std::string fixedText(double value, int places);

// A value in the shortest decimal form of at most that many significant
// digits: "304.8", "1e-05".
std::string shortText(double value, int significantDigits);

// A single-precision value as decimal text with up to 7 significant digits,
// in the shortest such form.
std::string decimalText(float value);

// Row numbers as the report lists them: "row 3", "rows 3, 9".
std::string rowsText(const std::vector<int> &numbers);

// Reads the number at the start of a text, in the manner of a BASIC Val():
// blanks, TABs and line feeds are skipped anywhere; an optional sign, digits
// with at most one decimal point and an optional exponent (E or D); or a
// hexadecimal (&H) or octal (&O) number. Reading stops at the first character
// that cannot continue the number; no number at all reads as 0. A value too
// large for a double reads as an infinity of its sign, one too small as 0.
double numberFromText(std::string_view text);

} // namespace plenix
