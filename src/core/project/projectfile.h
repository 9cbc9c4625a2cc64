// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/project.h"

#include <optional>
#include <string>
#include <string_view>

// The project file: UTF-8 JSON with two-space indents and its keys in a
// fixed order, so that a project kept in version control gives readable
// diffs. Cells are kept as typed; results are not stored but calculated
// when the project is opened.
namespace plenix {

inline constexpr std::string_view ProjectFormat = "plenix-project";
inline constexpr int ProjectFormatVersion = 1;
// Deeper nesting than the format has is refused before it is parsed, so a
// hostile file cannot make the parser build millions of levels.
inline constexpr int MaxProjectNesting = 16;

std::string projectFileText(const Project &project);

// A project file's text, or why it is refused: a sentence that names the
// file, from `name`, and says where the fault lies.
struct ProjectRead
{
    std::optional<Project> project;
    std::string error;
};
ProjectRead readProjectText(std::string_view text, std::string_view name);

// A classic route file's text as a project of one route of that name;
// nothing when the text is not a route file.
std::optional<Project> projectFromRoute(std::string_view fileText, std::string_view routeName);

} // namespace plenix
