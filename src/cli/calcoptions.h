// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation/method.h"
#include "calculation/sizing.h"
#include "profile.h"
#include "tableoutput.h"

#include <QPageSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace plenix {

// What one run of plenix-calc is asked to do.
struct CalcOptions
{
    QStringList files; // "-" stands for standard input
    OutputFormat format = OutputFormat::Tsv;
    QString outputFile;   // -o: the calculated route goes here
    QString pdfFile;      // --pdf: its report
    QString csvFile;      // --csv: its list for spreadsheets
    QString projectFile;  // --project: the routes go into one project here
    QStringList takeoffs; // --takeoff: "ROUTE=FROM:ROW" for each branch
    bool inPlace = false;
    bool check = false;
    bool quiet = false;
    bool csvRaw = false;                        // --csv-raw: no apostrophe before formula-like text
    bool csvFilled = false;                     // --csv-filled: flow and diameter on every row
    std::optional<QPageSize> paper;             // --paper: the report's, else the locale's
    ProfileAxis profileAxis = ProfileAxis::Row; // --profile-axis
    method::Overrides method;                   // --units, --method, --material ...
    // --size: the flow to size ducts for, by the criterion, rectangles of the
    // height when one is given.
    std::optional<double> sizeFlow;
    sizing::Criterion sizeCriterion;
    std::optional<double> sizeHeight;
    bool listFittings = false; // --fittings
    // --fitting: the fitting to look up, and its NAME=VALUE words.
    QString fitting;
    QStringList fittingValues;

    // Tables are printed only when no file is written and nothing is checked.
    bool printsTables() const
    {
        return !quiet && !check && !inPlace && outputFile.isEmpty() && pdfFile.isEmpty() &&
               csvFile.isEmpty();
    }
};

// Either the options, or what to print before leaving at once: the help, the
// version, or a usage error.
struct ParsedOptions
{
    CalcOptions options;
    std::optional<int> exitStatus;
    QString text;
};

ParsedOptions parseCalcOptions(const QStringList &arguments);

// The file an export of the route or project `file` goes to: `target`
// itself, or, when `target` is a folder, the file's name there with the
// export's extension ("east.txt" to "FOLDER/east.pdf").
QString exportFileOf(const QString &target, const QString &file, QStringView extension);

// Whether the arguments ask for a report. It is painted with Qt Charts, which
// needs the widgets' application object, so this is decided before there is
// any application to parse them; a run without --pdf makes do with QtCore.
bool needsWidgets(int argc, char **argv);

} // namespace plenix
