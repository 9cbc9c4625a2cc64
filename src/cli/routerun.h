// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calcoptions.h"
#include "routedocument.h"

#include <QString>

#include <memory>
#include <string>

namespace plenix {

// One route through plenix-calc: read it, calculate or check it, and write
// it, with the same document, Calculate and file module as the window.
struct RouteRun
{
    int status = 0;
    // One line for standard error; empty when all is well.
    QString diagnostic;
    // The route after Calculate (as read, when it stopped), for printing;
    // null when it could not be read.
    std::unique_ptr<RouteDocument> document;
    // The validation message on one line when the route stopped.
    std::string stopMessage;
};

RouteRun runRoute(const QString &file, const CalcOptions &options);

// The report (--pdf) and the list (--csv) of a calculated route; a failure
// sets the run's status and diagnostic.
void writeExports(RouteRun &run, const QString &file, const CalcOptions &options);

} // namespace plenix
