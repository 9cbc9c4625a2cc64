// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calcoptions.h"

#include <QString>

#include <string>

namespace plenix {

// One project file through plenix-calc: read it, calculate every route and
// the system, print or write it.
struct ProjectRun
{
    int status = 0;
    // Lines for standard error; empty when all is well.
    QString diagnostic;
    // The routes' tables and the system summary, or the project as JSON, in
    // UTF-8; empty when nothing is to be printed.
    std::string printed;
};

ProjectRun runProject(const QString &file, const CalcOptions &options, bool named);

// --project: the route files as one project written to the named file. The
// first route starts at the fan; every other takes off where its --takeoff
// says. Prints nothing.
ProjectRun buildProject(const CalcOptions &options);

} // namespace plenix
