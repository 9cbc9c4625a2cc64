// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

namespace plenix {

class RouteDocument;

enum class OutputFormat
{
    Tsv,
    Csv,
    Json
};

std::optional<OutputFormat> outputFormatNamed(QStringView name);

// One route as printed, in UTF-8. TSV and CSV print the list's header and
// used rows, after a line with the file name when `named` (several routes in
// one run); JSON prints one object a line, which names its file anyway. The
// message is a stopped route's validation message, empty for none. CSV has
// the flow and diameter in force on every row when `filled`.
std::string printedRoute(OutputFormat format, const QString &file, const RouteDocument &document,
                         std::string_view message, bool named, bool filled = false);

// The message about a file: "plenix-calc: ", then the reason, which names the
// file quoted on one line, or else the name so quoted before it.
QString fileError(const QString &file, const QString &reason);

} // namespace plenix
