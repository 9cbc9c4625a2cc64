// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tableoutput.h"

#include <QString>
#include <QStringList>

#include <optional>

// What one run of plenix-calc is asked to do.
struct CalcOptions
{
    QStringList files; // "-" stands for standard input
    OutputFormat format = OutputFormat::Tsv;
    QString outputFile; // -o: the calculated route goes here
    bool inPlace = false;
    bool check = false;
    bool quiet = false;

    // Tables are printed only when no file is written and nothing is checked.
    bool printsTables() const { return !quiet && !check && !inPlace && outputFile.isEmpty(); }
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
