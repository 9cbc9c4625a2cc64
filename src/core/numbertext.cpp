#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace plenix {

namespace {

// A finite value as decimal digits: value = 0.d1d2d3... x 10^pointPos, with
// `digits` holding d1d2d3... and no sign.
struct Decimal
{
    bool negative = false;
    std::string digits;
    int pointPos = 0;
};

Decimal toDecimal(double value, int significantDigits)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::scientific, significantDigits - 1);
    Decimal decimal;
    if (ec != std::errc())
        return decimal;
    const char *p = buffer;
    if (*p == '-') {
        decimal.negative = true;
        ++p;
    }
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.')
            decimal.digits += *p;
    }
    int exponent = 0;
    if (p != end)
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
    decimal.pointPos = exponent + 1;
    return decimal;
}

// Rounds to `places` decimals, halves away from zero, and gives the result as
// a whole number of units of 10^-places, in decimal digits without leading
// zeros ("0" for zero).
std::string roundToUnits(const Decimal &decimal, int places)
{
    const int keep = decimal.pointPos + places; // digits that stay
    const int available = static_cast<int>(decimal.digits.size());
    std::string units;
    if (keep <= 0) {
        // Every digit lies below the last place; only a first digit of 5 or
        // more, exactly at the place after the last, can round up.
        if (keep == 0 && !decimal.digits.empty() && decimal.digits[0] >= '5')
            units = "1";
        else
            units = "0";
        return units;
    }
    if (keep >= available) {
        units = decimal.digits;
        units.append(static_cast<std::size_t>(keep - available), '0');
    } else {
        units = decimal.digits.substr(0, static_cast<std::size_t>(keep));
        if (decimal.digits[static_cast<std::size_t>(keep)] >= '5') {
            int i = keep - 1;
            for (; i >= 0; --i) {
                char &digit = units[static_cast<std::size_t>(i)];
                if (digit == '9') {
                    digit = '0';
                } else {
                    ++digit;
                    break;
                }
            }
            if (i < 0)
                units.insert(units.begin(), '1');
        }
    }
    const std::size_t firstNonZero = units.find_first_not_of('0');
    return firstNonZero == std::string::npos ? std::string("0") : units.substr(firstNonZero);
}

std::string formatDecimal(double value, int significantDigits, Pattern pattern)
{
    if (!std::isfinite(value))
        return std::string(NumMarker);
    const int places = pattern == Pattern::Whole ? 0 : 2;
    const Decimal decimal = toDecimal(value, significantDigits);
    std::string units = roundToUnits(decimal, places);
    if (pattern == Pattern::Whole && units == "0")
        return {};

    if (units.size() <= static_cast<std::size_t>(places))
        units.insert(0, static_cast<std::size_t>(places) + 1 - units.size(), '0');
    const std::size_t split = units.size() - static_cast<std::size_t>(places);
    std::string text = units.substr(0, split);
    if (pattern != Pattern::Whole) {
        std::string fraction = units.substr(split);
        const std::size_t minimum = pattern == Pattern::OneOrTwoDecimals ? 1 : 0;
        while (fraction.size() > minimum && fraction.back() == '0')
            fraction.pop_back();
        text += '.';
        text += fraction;
    }
    const bool isZero = units.find_first_not_of('0') == std::string::npos;
    if (decimal.negative && !isZero)
        text.insert(text.begin(), '-');
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

bool fnIsMarker(std::string_view text)
{
    return text == NumMarker || text == DivZeroMarker;
}

float fnToSingle(double value)
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

std::string fnFormat(float value, Pattern pattern)
{
    return formatDecimal(static_cast<double>(value), 7, pattern);
}

std::string fnFormat(double value, Pattern pattern)
{
    return formatDecimal(value, 15, pattern);
}

std::string fnDecimalText(double value)
{
    return shortestDecimal(value, 15);
}

std::string fnDecimalText(float value)
{
    return shortestDecimal(static_cast<double>(value), 7);
}

double NumberFromText(std::string_view text)
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

    // Gather the number's characters without the blanks, then let the
    // standard library convert it, correctly rounded.
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
