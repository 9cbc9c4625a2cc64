// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a project file, and calculates what reads: a
// refusal is one sentence naming the file; a project that reads is written
// in the canonical form, which reads back to the same text; its system's
// figures are worked out without a crash, whatever its take-offs.
#include "project/projectfile.h"
#include "project/systemfigures.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace plenix;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    ProjectRead read = readProjectText(text, "f");
    if (!read.project) {
        check(read.error.starts_with("f ") || read.error.starts_with("f:"));
        return 0;
    }
    const std::string canonical = projectFileText(*read.project);
    ProjectRead again = readProjectText(canonical, "f");
    check(again.project.has_value());
    check(projectFileText(*again.project) == canonical);
    const ProjectOutcome outcome = calculateProject(*read.project);
    check(outcome.system.paths.size() == read.project->routes.size());
    check(outcome.system.critical < read.project->routes.size());
    return 0;
}
