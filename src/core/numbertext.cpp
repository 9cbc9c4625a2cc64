// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <system_error>

namespace plenix {

namespace {

// Largest double: 309 integer digits, the two places, a carry, a sign.
constexpr std::size_t MaxUnitDigits = 320;

// Rounds a finite value, written first with `significantDigits` significant
// digits, to `places` decimals, halves away from zero. The result is the
// whole number of units of 10^-places as decimal digits without leading
// zeros ("0" for zero), written into `units`; returns their count.
std::size_t roundToUnits(double value, int significantDigits, int places, bool &negative,
                         char (&units)[MaxUnitDigits])
{
    char text[48];
    const auto result = std::to_chars(text, text + sizeof text, value,
                                      std::chars_format::scientific, significantDigits - 1);
    const char *p = text;
    negative = *p == '-';
    if (negative)
        ++p;
    // d.ddddde[+-]xx: the digits without the point, then the exponent.
    char digits[24];
    int count = 0;
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            digits[count++] = *p;
    }
    int exponent = 0;
    if (p != result.ptr)
        std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);

    // The digits that stay: those above the last place.
    const int keep = exponent + 1 + places;
    std::size_t length = 0;
    if (keep <= 0) {
        // Every digit lies below the last place; only a first digit of 5 or
        // more, right after it, can round up.
        units[length++] = keep == 0 && digits[0] >= '5' ? '1' : '0';
        return length;
    }
    for (int i = 0; i < keep; ++i)
        units[length++] = i < count ? digits[i] : '0';
    if (keep < count && digits[keep] >= '5') {
        std::size_t i = length;
        while (i > 0 && units[i - 1] == '9')
            units[--i] = '0';
        if (i > 0) {
            ++units[i - 1];
        } else {
            std::copy_backward(units, units + length, units + length + 1);
            units[0] = '1';
            ++length;
        }
    }
    std::size_t leading = 0;
    while (leading + 1 < length && units[leading] == '0')
        ++leading;
    std::copy(units + leading, units + length, units);
    return length - leading;
}

// The same rounding without writing the decimal form first, for the usual
// case of a value that lies clearly inside one rounding step. Writing the
// value with n significant digits moves it by at most half a unit of its
// n-th digit; when the value is farther than that from the halfway point of
// its step, the decimal form rounds the way the value itself does. Values
// closer to a halfway point, and very large ones, take the exact way.
bool roundToUnitsQuickly(double value, int significantDigits, int places, bool &negative,
                         char (&units)[MaxUnitDigits], std::size_t &length)
{
    const double scaled = std::fabs(value) * (places == 2 ? 100.0 : 1.0);
    if (!(scaled < 1e15))
        return false;
    // Half a unit of the last significant digit, relative, with room for
    // the rounding of the scaling itself.
    const double decimalError = significantDigits == 7 ? 6e-7 : 6e-15;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (!(std::fabs(fraction - 0.5) > decimalError * scaled + 1e-300))
        return false;
    auto count = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    negative = std::signbit(value);
    char reversed[24];
    std::size_t digits = 0;
    do {
        reversed[digits++] = static_cast<char>('0' + count % 10);
        count /= 10;
    } while (count != 0);
    for (length = 0; length < digits; ++length)
        units[length] = reversed[digits - 1 - length];
    return true;
}

std::string formatDecimal(double value, int significantDigits, Pattern pattern, bool quickly)
{
    if (!std::isfinite(value))
        return std::string(NumMarker);
    const int places = pattern == Pattern::Whole ? 0 : 2;
    bool negative = false;
    char units[MaxUnitDigits];
    std::size_t length = 0;
    if (!quickly || !roundToUnitsQuickly(value, significantDigits, places, negative, units, length))
        length = roundToUnits(value, significantDigits, places, negative, units);
    const bool isZero = length == 1 && units[0] == '0';
    if (pattern == Pattern::Whole && isZero)
        return {};

    std::string text;
    text.reserve(length + 4);
    if (negative && !isZero)
        text += '-';
    const std::size_t fractionDigits = static_cast<std::size_t>(places);
    if (length <= fractionDigits)
        text += '0';
    else
        text.append(units, length - fractionDigits);
    if (pattern == Pattern::Whole)
        return text;

    // The last two places, zero-padded on the left when the value is small.
    char fraction[2] = {'0', '0'};
    for (std::size_t i = 0; i < std::min(length, fractionDigits); ++i)
        fraction[fractionDigits - 1 - i] = units[length - 1 - i];
    std::size_t shown = fractionDigits;
    const std::size_t minimum = pattern == Pattern::OneOrTwoDecimals ? 1 : 0;
    while (shown > minimum && fraction[shown - 1] == '0')
        --shown;
    text += '.';
    text.append(fraction, shown);
    return text;
}

std::string shortestDecimal(double value, int significantDigits)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::general, significantDigits);
    if (ec != std::errc())
        return {};
    return std::string(buffer, end);
}

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigitOfRadix(char c, int radix)
{
    if (radix == 8)
        return c >= '0' && c <= '7';
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

// A number written plainly, with no blank inside, no plus sign and no D
// exponent, is exactly what the standard conversion reads; anything else
// (and a number out of range) is left to the general path.
std::optional<double> plainNumber(std::string_view text)
{
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '-')
        ++pos;
    bool anyDigit = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c >= '0' && c <= '9')
            anyDigit = true;
        else if (c != '.')
            break;
    }
    if (!anyDigit)
        return std::nullopt;
    if (pos < text.size()) {
        const char c = text[pos];
        if (isSkipped(c) || c == '+' || c == 'D' || c == 'd')
            return std::nullopt;
        if (c == 'E' || c == 'e') {
            std::size_t look = pos + 1;
            if (look < text.size() && (text[look] == '+' || text[look] == '-'))
                ++look;
            for (; look < text.size() && text[look] >= '0' && text[look] <= '9'; ++look) {
            }
            if (look < text.size() && isSkipped(text[look]))
                return std::nullopt;
        }
    }
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc())
        return std::nullopt;
    return value;
}

// "&H1F" or "&O17", blanks skipped as everywhere else. The digits are
// gathered exactly, as many bits as a 64-bit integer holds and a sticky bit
// for any set bit below them, and the double is rounded once from that:
// building the value digit by digit in double precision would round at every
// digit past the 53rd bit.
double radixNumber(std::string_view text, std::size_t pos, int radix)
{
    const int bitsPerDigit = radix == 16 ? 4 : 3;
    std::uint64_t high = 0;
    bool sticky = false;
    long long droppedBits = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isSkipped(c))
            continue;
        if (!isDigitOfRadix(c, radix))
            break;
        const auto digit = static_cast<std::uint64_t>(digitValue(c));
        if (high >> (64 - bitsPerDigit) == 0) {
            high = high << bitsPerDigit | digit;
        } else {
            // At least 61 bits are held: the digit only decides ties.
            sticky = sticky || digit != 0;
            droppedBits += bitsPerDigit;
        }
    }
    // The lowest held bit lies far below the 53 that stay, so setting it
    // breaks a tie upward without moving any other rounding.
    if (sticky)
        high |= 1;
    return std::ldexp(static_cast<double>(high), static_cast<int>(std::min(droppedBits, 2000LL)));
}

} // namespace

bool isMarker(std::string_view text)
{
    return text == NumMarker || text == DivZeroMarker;
}

float toSingle(double value)
{
    // Halfway between the largest float and the next power of two: from
    // here on the value rounds to an infinity.
    constexpr double overflowAt = 0x1.ffffffp127;
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (value >= overflowAt)
        return std::numeric_limits<float>::infinity();
    if (value <= -overflowAt)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::string formatNumber(float value, Pattern pattern)
{
    return formatDecimal(static_cast<double>(value), 7, pattern, true);
}

std::string formatNumber(double value, Pattern pattern)
{
    return formatDecimal(value, 15, pattern, true);
}

std::string formatNumberExactly(float value, Pattern pattern)
{
    return formatDecimal(static_cast<double>(value), 7, pattern, false);
}

std::string formatNumberExactly(double value, Pattern pattern)
{
    return formatDecimal(value, 15, pattern, false);
}

std::string fixedText(double value, int places)
{
    if (!std::isfinite(value))
        return std::string(NumMarker);
    bool negative = false;
    char units[MaxUnitDigits];
    const std::size_t length = roundToUnits(value, 15, places, negative, units);
    const bool isZero = length == 1 && units[0] == '0';
    std::string text;
    if (negative && !isZero)
        text += '-';
    const auto fractionDigits = static_cast<std::size_t>(places);
    if (length <= fractionDigits)
        text += '0';
    else
        text.append(units, length - fractionDigits);
    if (places == 0)
        return text;
    text += '.';
    text.append(fractionDigits - std::min(length, fractionDigits), '0');
    text.append(units + length - std::min(length, fractionDigits),
                std::min(length, fractionDigits));
    return text;
}

std::string shortText(double value, int significantDigits)
{
    return shortestDecimal(value, significantDigits);
}

std::string decimalText(float value)
{
    return shortestDecimal(static_cast<double>(value), 7);
}

double numberFromText(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && isSkipped(text[pos]))
        ++pos;
    if (pos + 1 < text.size() && text[pos] == '&') {
        std::size_t next = pos + 1;
        while (next < text.size() && isSkipped(text[next]))
            ++next;
        if (next < text.size()) {
            const char kind = text[next];
            if (kind == 'H' || kind == 'h')
                return radixNumber(text, next + 1, 16);
            if (kind == 'O' || kind == 'o')
                return radixNumber(text, next + 1, 8);
        }
        return 0;
    }

    // The common case, a plain number with nothing to leave out, is
    // converted where it stands.
    if (const auto plain = plainNumber(text.substr(pos)))
        return *plain;

    // Otherwise gather the digits without the blanks and the point, and the
    // written exponent, then let the standard library convert them.
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    std::string digits;
    long long integerDigits = -1;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isSkipped(c))
            continue;
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c == '.' && integerDigits < 0)
            integerDigits = static_cast<long long>(digits.size());
        else
            break;
    }
    if (digits.empty())
        return 0;
    if (integerDigits < 0)
        integerDigits = static_cast<long long>(digits.size());

    // The exponent is read only when a digit follows its letter and sign;
    // an absurd one saturates instead of overflowing the integer.
    long long exponent = 0;
    std::size_t look = pos;
    if (look < text.size() &&
        (text[look] == 'E' || text[look] == 'e' || text[look] == 'D' || text[look] == 'd')) {
        ++look;
        while (look < text.size() && isSkipped(text[look]))
            ++look;
        bool negativeExponent = false;
        if (look < text.size() && (text[look] == '+' || text[look] == '-')) {
            negativeExponent = text[look] == '-';
            ++look;
        }
        for (; look < text.size(); ++look) {
            const char c = text[look];
            if (isSkipped(c))
                continue;
            if (c < '0' || c > '9')
                break;
            if (exponent < 1'000'000'000'000'000)
                exponent = exponent * 10 + (c - '0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    // Whether a value is out of range depends on where its first significant
    // digit stands, not on the written exponent alone: leading zeros and long
    // runs of integer digits move it as much as the exponent does.
    const double zero = negative ? -0.0 : 0.0;
    const double infinity = negative ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return zero;
    const std::size_t last = digits.find_last_not_of('0');
    const long long magnitude = integerDigits - static_cast<long long>(first) - 1 + exponent;
    if (magnitude > 400)
        return infinity;
    if (magnitude < -400)
        return zero;

    // d.ddd...e<magnitude>, which the standard conversion rounds correctly
    // however many digits it has.
    std::string number;
    if (negative)
        number += '-';
    number += digits[first];
    number += '.';
    number.append(digits, first + 1, last - first);
    number += 'e';
    number += std::to_string(magnitude);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        return magnitude < 0 ? zero : infinity;
    return value;
}

std::string rowsText(const std::vector<int> &numbers)
{
    std::string text = numbers.size() == 1 ? "row " : "rows ";
    for (std::size_t index = 0; index < numbers.size(); ++index)
        text += (index > 0 ? ", " : "") + std::to_string(numbers[index]);
    return text;
}

} // namespace plenix
