#include "numbertext.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cmath>
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

std::string formatDecimal(double value, int significantDigits, Pattern pattern)
{
    if (!std::isfinite(value))
        return std::string(NumMarker);
    const int places = pattern == Pattern::Whole ? 0 : 2;
    bool negative = false;
    char units[MaxUnitDigits];
    std::size_t length = 0;
    if (!roundToUnitsQuickly(value, significantDigits, places, negative, units, length))
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

// "&H1F" or "&O17", blanks skipped as everywhere else.
double radixNumber(std::string_view text, std::size_t pos, int radix)
{
    double value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isSkipped(c))
            continue;
        if (!isDigitOfRadix(c, radix))
            break;
        value = value * radix + digitValue(c);
    }
    return value;
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
    return formatDecimal(static_cast<double>(value), 7, pattern);
}

std::string formatNumber(double value, Pattern pattern)
{
    return formatDecimal(value, 15, pattern);
}

std::string decimalText(float value)
{
    return shortestDecimal(static_cast<double>(value), 7);
}

double numberFromText(std::string_view text)
{
    std::size_t pos = 0;
    const auto skip = [&] {
        while (pos < text.size() && isSkipped(text[pos]))
            ++pos;
    };

    skip();
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

    // Otherwise gather the number's characters without the blanks, then let
    // the standard library convert it, correctly rounded.
    std::string number;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-')
            number += '-';
        ++pos;
    }
    bool anyDigit = false;
    bool point = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isSkipped(c))
            continue;
        if (c >= '0' && c <= '9') {
            number += c;
            anyDigit = true;
        } else if (c == '.' && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0;

    // The exponent is read only when a digit follows its letter and sign;
    // an absurd one saturates instead of overflowing the integer.
    std::size_t look = pos;
    if (look < text.size() &&
        (text[look] == 'E' || text[look] == 'e' || text[look] == 'D' || text[look] == 'd')) {
        ++look;
        while (look < text.size() && isSkipped(text[look]))
            ++look;
        bool negative = false;
        if (look < text.size() && (text[look] == '+' || text[look] == '-')) {
            negative = text[look] == '-';
            ++look;
        }
        long exponent = 0;
        bool exponentDigit = false;
        for (; look < text.size(); ++look) {
            const char c = text[look];
            if (isSkipped(c))
                continue;
            if (c < '0' || c > '9')
                break;
            exponentDigit = true;
            if (exponent < 100000)
                exponent = exponent * 10 + (c - '0');
        }
        if (exponentDigit) {
            number += 'e';
            number += std::to_string(negative ? -exponent : exponent);
        }
    }

    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Too large reads as an infinity, too small as zero, signed alike.
        const bool negative = number.front() == '-';
        const std::size_t e = number.find('e');
        const bool tiny = e != std::string::npos && number[e + 1] == '-';
        const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        return negative ? -magnitude : magnitude;
    }
    return value;
}

} // namespace plenix
