// Reads arbitrary bytes as a cell text and writes the number back in every
// pattern: no crash, no undefined behaviour, and the texts stay faithful to
// the number they show.
#include "numbertext.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const double value = numberFromText(text);
    check(!std::isnan(value));

    for (const Pattern pattern : {Pattern::TwoDecimals, Pattern::Whole, Pattern::OneOrTwoDecimals}) {
        checkFormat(value, formatNumber(value, pattern), pattern, 1e-14);
        const float single = toSingle(value);
        checkFormat(static_cast<double>(single), formatNumber(single, pattern), pattern, 1e-6);
    }

    // Seven digits hold a float to within half a unit of the seventh.
    if (const float single = toSingle(value); std::isfinite(single)) {
        const double back = numberFromText(decimalText(single));
        check(std::abs(back - static_cast<double>(single)) <= std::abs(static_cast<double>(single)) * 5e-7);
    }
    return 0;
}
