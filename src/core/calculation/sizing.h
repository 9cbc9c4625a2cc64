// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ductsection.h"
#include "method.h"
#include "tableexport.h"

#include <optional>
#include <string>
#include <vector>

// Duct sizing: the smallest standard size that carries a flow within a
// friction rate, a velocity, or both.
namespace plenix::sizing {

struct Criterion
{
    std::optional<double> frictionRate; // in wg per 100 ft, or Pa per m
    std::optional<double> maxVelocity;  // fpm, or m/s
};

// A size proposed, with the figures that qualify it.
struct Proposal
{
    section::Section size;
    double velocity = 0;
    double frictionRate = 0;
};

// The standard round sizes: whole inches from 3 to 20 and even inches from
// 22 to 60, or the metric series from 63 to 1250 mm.
std::vector<double> roundSeries(units::System system);

// The step of rectangle sides: 2 in or 50 mm.
double rectangleStep(units::System system);

// The settings sizes are worked out in: the ones given, by Darcy-Colebrook,
// since the classic formula knows no material and no air.
method::Settings sizingSettings(method::Settings settings);

// Where sizing starts on a route: the flow in force at a row, and how many
// duct runs (rows with a length) rows first to last hold.
struct Start
{
    double flow = 0;
    int ductRuns = 0;
};
Start startAt(const RouteTable &table, Int16 row, Int16 first, Int16 last,
              const method::Settings &settings);

// Why the flow, criterion or rectangles' height cannot be sized for, or
// nothing.
std::optional<std::string> requestError(double flow, const Criterion &criterion,
                                        std::optional<double> height = std::nullopt);

// The smallest round size of the series that meets the criterion; nothing
// when even the largest does not.
std::optional<Proposal> roundSize(double flow, const Criterion &criterion,
                                  const method::Settings &settings);

// The rectangle of least area, sides in steps, aspect ratio at most 4, that
// meets the criterion; with a height given, the narrowest width for it,
// whatever its aspect ratio.
std::optional<Proposal> rectangleSize(double flow, const Criterion &criterion,
                                      const method::Settings &settings,
                                      std::optional<double> height = std::nullopt);

// What sizing the rows of a route writes.
struct RowsSized
{
    int sized = 0;   // duct runs given a size
    int unsized = 0; // duct runs no size of the series will do for
};

// Gives every duct run (a row with a length) of rows first to last the
// smallest round or rectangular size for its flow in force, in its size
// cell, as one change of the table; a run of its own material is sized in
// it and keeps it. Rows without a flow are left, and so is a route that
// Calculate would stop.
RowsSized sizeRows(RouteTable &table, Int16 first, Int16 last, const Criterion &criterion,
                   const method::Settings &settings, bool rectangular,
                   std::optional<double> height = std::nullopt);

// The proposals as a table: a header, then the round and the rectangular
// size with their velocity and friction rate, "none" where no size of the
// series will do.
TextRows proposalRows(double flow, const Criterion &criterion, const method::Settings &settings,
                      std::optional<double> height);

} // namespace plenix::sizing
