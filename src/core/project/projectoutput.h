// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/systemfigures.h"
#include "tableexport.h"

#include <string>
#include <string_view>

// A calculated project as other programs and the report read it: the
// system's figures as a table of texts, and the whole project as JSON.
namespace plenix {

// A pressure of the system as the project's grids show it: the classic
// method's two places, or the shown digits of the other methods' units.
std::string summaryPressureText(double value, const method::Settings &settings);

// The system summary: each route's path, the fan and the balance at every
// take-off, as rows of texts (UTF-8) for TSV, CSV and the report.
TextRows systemSummaryRows(const Project &project, const SystemFigures &system);
// Whether a line of the summary stands out, in bold: the headings of the
// paths' and the take-offs' tables, and the critical path.
bool isSummaryEmphasis(const TextRows &rows, std::size_t row);

// Every route's list in one table, the route's name in a first column; each
// route's rows filled as filledRows() fills them when `filled`.
TextRows projectListRows(const Project &project, bool filled = false);

// The project as one JSON object on one line: "file", "job", "routes" (each
// with "name", "takeoff" and "rows" as a route's object has them), "system"
// ("paths", "critical", "fan", "takeoffs"), and "messages" for routes
// stopped by their check. Figures are numbers at full precision (null where
// they cannot be worked out), beside the texts shown.
std::string projectJson(std::string_view file, const Project &project,
                        const ProjectOutcome &outcome);

} // namespace plenix
