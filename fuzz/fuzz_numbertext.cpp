// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a cell text and writes the number back in every
// pattern: no crash, no undefined behaviour, the texts stay faithful to the
// number they show, and the quick rounding gives the exact one's text for the
// number, its neighbours and the input's first bytes taken as a raw value,
// which the reader must also read back from their texts.
#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

using namespace plenix;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// A pattern's text names the value to within half its last place, plus what
// the significant digits written first may lose.
void checkFormat(double value, const std::string &text, Pattern pattern, double relative)
{
    if (!std::isfinite(value)) {
        check(text == NumMarker);
        return;
    }
    check(!isMarker(text));
    const double halfPlace = pattern == Pattern::Whole ? 0.5 : 0.005;
    if (text.empty()) {
        check(pattern == Pattern::Whole);
        check(std::abs(value) <= halfPlace * (1 + 1e-9) + std::abs(value) * relative);
        return;
    }
    check(text.find('.') != std::string::npos || pattern == Pattern::Whole);
    const double back = numberFromText(text);
    check(std::abs(back - value) <= halfPlace * (1 + 1e-9) + std::abs(value) * relative);
    // No sign on a value that shows as zero.
    if (back == 0)
        check(text.front() != '-');
}

constexpr Pattern Patterns[] = {Pattern::TwoDecimals, Pattern::Whole, Pattern::OneOrTwoDecimals};

// One rounding, whichever way formatNumber takes: the value and its three
// nearest neighbours on either side, where a tie's near misses lie, in both
// widths.
void checkOneRounding(double value)
{
    const auto same = [](auto number) {
        for (const Pattern pattern : Patterns)
            check(formatNumber(number, pattern) == formatNumberExactly(number, pattern));
    };
    constexpr double Inf = std::numeric_limits<double>::infinity();
    for (const double towards : {-Inf, Inf}) {
        double wide = value;
        float narrow = toSingle(value);
        for (int step = 0; step < 4; ++step) {
            same(wide);
            same(narrow);
            wide = std::nextafter(wide, towards);
            narrow = std::nextafter(narrow, static_cast<float>(towards));
        }
    }
}

// The reader gets back every double from its shortest text, both where the
// text stands and the long way that a blank after the first character forces,
// and every 64-bit integer from its hexadecimal text, rounded once.
void checkReadsBack(double value, std::uint64_t bits)
{
    char text[64];
    if (std::isfinite(value)) {
        const auto end = std::to_chars(text, text + sizeof text, value).ptr;
        check(numberFromText(std::string_view(text, static_cast<std::size_t>(end - text))) ==
              value);
        const std::string spaced = std::string(1, text[0]) + ' ' + std::string(text + 1, end);
        check(numberFromText(spaced) == value);
    }
    text[0] = '&';
    text[1] = 'H';
    const auto end = std::to_chars(text + 2, text + sizeof text, bits, 16).ptr;
    check(numberFromText(std::string_view(text, static_cast<std::size_t>(end - text))) ==
          static_cast<double>(bits));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const double value = numberFromText(text);
    check(!std::isnan(value));

    for (const Pattern pattern : Patterns) {
        checkFormat(value, formatNumber(value, pattern), pattern, 1e-14);
        const float single = toSingle(value);
        checkFormat(static_cast<double>(single), formatNumber(single, pattern), pattern, 1e-6);
    }

    // Seven digits hold a float to within half a unit of the seventh.
    if (const float single = toSingle(value); std::isfinite(single)) {
        const double back = numberFromText(decimalText(single));
        check(std::abs(back - static_cast<double>(single)) <=
              std::abs(static_cast<double>(single)) * 5e-7);
    }
    checkOneRounding(value);
    // Values no short text reaches: the first bytes as a double's and as a
    // float's bit pattern.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkOneRounding(raw);
        std::uint64_t bits = 0;
        std::memcpy(&bits, data, sizeof bits);
        checkReadsBack(raw, bits);
        float rawSingle = 0;
        std::memcpy(&rawSingle, data, sizeof rawSingle);
        checkOneRounding(static_cast<double>(rawSingle));
    }
    return 0;
}
