// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/project.h"

#include <QString>

#include <optional>

namespace plenix {

// Project files on disk, read and written with the same checks, limit and
// safe save as route files. A failure comes back as one sentence that names
// the file.

// Whether a path names a project file rather than a classic route: its
// extension is .plenix, in any letter case.
bool isProjectPath(const QString &path);

struct ProjectFileRead
{
    std::optional<Project> project;
    std::optional<QString> error;
};
ProjectFileRead openProject(const QString &path);

std::optional<QString> saveProject(const Project &project, const QString &path);

} // namespace plenix
