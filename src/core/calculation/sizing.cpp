// SPDX-License-Identifier: GPL-3.0-or-later
#include "sizing.h"

#include "darcy.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>

namespace plenix::sizing {

namespace {

constexpr double MaxAspectRatio = 4;
// Rectangle sides up to 60 steps: 120 in, 3000 mm.
constexpr int MaxSteps = 60;

std::optional<Proposal> meeting(double flow, const section::Section &size,
                                const Criterion &criterion, const method::Settings &settings)
{
    const darcy::RunFigures run = darcy::runFigures(flow, size, settings);
    // A hair of tolerance, so that a size exactly on the limit is taken.
    const auto within = [](double value, const std::optional<double> &limit) {
        return !limit || value <= *limit * (1 + 1e-9);
    };
    if (!within(run.frictionRate, criterion.frictionRate) ||
        !within(run.velocity, criterion.maxVelocity))
        return std::nullopt;
    return Proposal{size, run.velocity, run.frictionRate};
}

// Less sheet metal first; of two of one area, the squarer, which loses less
// and costs less to make.
bool smaller(double width, double height, const section::Section &than)
{
    const double area = width * height, thanArea = than.width * than.height;
    if (area != thanArea)
        return area < thanArea;
    const auto aspect = [](double a, double b) { return std::max(a, b) / std::min(a, b); };
    return aspect(width, height) < aspect(than.width, than.height);
}

} // namespace

std::vector<double> roundSeries(units::System system)
{
    if (system == units::System::SI)
        return {63, 80, 100, 125, 160, 200, 250, 315, 400, 500, 630, 800, 1000, 1250};
    std::vector<double> series;
    for (int inches = 3; inches <= 20; ++inches)
        series.push_back(inches);
    for (int inches = 22; inches <= 60; inches += 2)
        series.push_back(inches);
    return series;
}

double rectangleStep(units::System system)
{
    return system == units::System::InchPound ? 2 : 50;
}

method::Settings sizingSettings(method::Settings settings)
{
    settings.friction = method::Friction::DarcyColebrook;
    return settings;
}

Start startAt(const RouteTable &table, Int16 row, Int16 first, Int16 last,
              const method::Settings &settings)
{
    Start start;
    const darcy::RouteFigures figures = darcy::routeFigures(table, settings);
    if (row >= 1 && static_cast<std::size_t>(row) <= figures.rows.size())
        start.flow = figures.rows[static_cast<std::size_t>(row - 1)].flow;
    for (Int16 at = first; at <= last; ++at)
        start.ductRuns += table.cellText(at, RouteTable::ColLength).empty() ? 0 : 1;
    return start;
}

std::optional<std::string> requestError(double flow, const Criterion &criterion,
                                        std::optional<double> height)
{
    if (!(flow > 0) || !std::isfinite(flow))
        return "The flow to size for must be more than 0.";
    if (!criterion.frictionRate && !criterion.maxVelocity)
        return "Give a friction rate, a largest velocity, or both.";
    if (criterion.frictionRate && !(*criterion.frictionRate > 0))
        return "The friction rate must be more than 0.";
    if (criterion.maxVelocity && !(*criterion.maxVelocity > 0))
        return "The largest velocity must be more than 0.";
    if (height && !(*height > 0))
        return "The height must be more than 0.";
    return std::nullopt;
}

std::optional<Proposal> roundSize(double flow, const Criterion &criterion,
                                  const method::Settings &settings)
{
    for (const double diameter : roundSeries(settings.units)) {
        if (std::optional<Proposal> proposal =
                meeting(flow, {section::Shape::Round, diameter, 0}, criterion, settings))
            return proposal;
    }
    return std::nullopt;
}

std::optional<Proposal> rectangleSize(double flow, const Criterion &criterion,
                                      const method::Settings &settings,
                                      std::optional<double> height)
{
    const double step = rectangleStep(settings.units);
    std::optional<Proposal> best;
    for (int h = 1; h <= MaxSteps; ++h) {
        const double side = height.value_or(h * step);
        for (int w = 1; w <= MaxSteps; ++w) {
            const double width = w * step;
            // A height given is the room there is: the width takes what it needs.
            if (!height && width > side * MaxAspectRatio)
                break;
            if (!height && side > width * MaxAspectRatio)
                continue;
            if (best && !smaller(width, side, best->size))
                break;
            if (std::optional<Proposal> proposal = meeting(
                    flow, {section::Shape::Rectangular, width, side}, criterion, settings)) {
                best = proposal;
                break;
            }
        }
        if (height)
            break;
    }
    return best;
}

RowsSized sizeRows(RouteTable &table, Int16 first, Int16 last, const Criterion &criterion,
                   const method::Settings &settings, bool rectangular, std::optional<double> height)
{
    RowsSized outcome;
    const darcy::RouteFigures figures = darcy::routeFigures(table, settings);
    RouteTable::Batch batch(table);
    for (Int16 row = first; row <= last && row <= static_cast<Int16>(figures.rows.size()); ++row) {
        const darcy::RowFigures &here = figures.rows[static_cast<std::size_t>(row - 1)];
        if (table.cellText(row, RouteTable::ColLength).empty() || !(here.flow > 0))
            continue;
        // A run of its own material is sized in it, and keeps it.
        const method::Settings runSettings =
            here.material.empty() ? settings : method::forRoute(settings, here.material);
        std::optional<Proposal> proposal =
            rectangular ? rectangleSize(here.flow, criterion, runSettings, height)
                        : roundSize(here.flow, criterion, runSettings);
        if (!proposal) {
            ++outcome.unsized;
            continue;
        }
        proposal->size.material = here.material;
        table.setCellText(row, RouteTable::ColDiameter, section::sectionText(proposal->size));
        ++outcome.sized;
    }
    return outcome;
}

TextRows proposalRows(double flow, const Criterion &criterion, const method::Settings &settings,
                      std::optional<double> height)
{
    using units::Quantity;
    const units::System system = settings.units;
    const auto unit = [system](Quantity quantity) {
        return ", " + std::string(units::symbol(quantity, system));
    };
    TextRows rows{{"Shape", "Size" + unit(Quantity::Size), "Velocity" + unit(Quantity::Velocity),
                   "Friction" + unit(Quantity::FrictionRate)}};
    const auto add = [&](const char *shape, const std::optional<Proposal> &proposal) {
        if (!proposal) {
            rows.push_back({shape, "none", "", ""});
            return;
        }
        rows.push_back(
            {shape, section::sectionText(proposal->size),
             darcy::velocityText(proposal->velocity, system),
             fixedText(proposal->frictionRate, system == units::System::InchPound ? 3 : 2)});
    };
    add("round", roundSize(flow, criterion, settings));
    add("rectangle", rectangleSize(flow, criterion, settings, height));
    return rows;
}

} // namespace plenix::sizing
