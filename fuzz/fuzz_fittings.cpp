// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the fitting library arbitrary parameter texts and raw values (NaN,
// infinities, huge and tiny numbers among them): no crash, no undefined
// behaviour, a finite coefficient every time, and every value used lies in
// its parameter's range, marked when it is not the one given.
#include "fittings/library.h"
#include "fittings/lookup.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using namespace plenix;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkEvaluation(const fittings::Fitting &fitting, const std::vector<double> &values)
{
    const fittings::Evaluation result = fittings::evaluate(fitting, values);
    check(std::isfinite(result.coefficient));
    for (const fittings::Clamp &clamp : result.clamps) {
        const fittings::Parameter &parameter = fitting.parameters.at(clamp.parameter);
        check(clamp.used >= parameter.minimum);
        check(!parameter.maximum || clamp.used <= *parameter.maximum);
        check(!fittings::clampText(fitting, clamp).empty());
    }
    for (std::size_t index = 0; index < values.size() && index < fitting.parameters.size();
         ++index) {
        const bool marked =
            std::ranges::any_of(result.clamps, [index](const fittings::Clamp &clamp) {
                return clamp.parameter == index;
            });
        const fittings::Parameter &parameter = fitting.parameters[index];
        const bool inRange = values[index] >= parameter.minimum &&
                             (!parameter.maximum || values[index] <= *parameter.maximum);
        check(marked != inRange);
    }
    check(!fittings::description(fitting, values).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fittings::Library &library = fittings::builtIn();
    if (size == 0)
        return 0;
    const fittings::Fitting &fitting = library.fittings[data[0] % library.fittings.size()];
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);

    // The text's words as the parameters' values, in order, as the command
    // line and the picker read them.
    std::vector<std::string> assignments;
    std::size_t parameter = 0;
    for (std::size_t pos = 0; pos < text.size() && parameter < fitting.parameters.size();) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        assignments.push_back(fitting.parameters[parameter++].id + '=' +
                              std::string(text.substr(pos, end - pos)));
        pos = end + 1;
    }
    const auto lookup = fittings::readLookup(library, fitting.id, assignments);
    if (const auto *read = std::get_if<fittings::Lookup>(&lookup)) {
        checkEvaluation(fitting, read->values);
        check(!fittings::lookupJson(*read).empty());
    }

    // The bytes as raw doubles, which no text reaches.
    std::vector<double> raw;
    for (std::size_t at = 1; at + sizeof(double) <= size; at += sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data + at, sizeof value);
        raw.push_back(value);
    }
    checkEvaluation(fitting, raw);
    return 0;
}
