// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the core's hot paths: a Calculate of a full route, the route file
// text both ways, and the number reader and formats that Calculate leans on.
// The goal is a 60-row Calculate well under 20 microseconds, so that Enter
// feels instant even on a slow machine.
#include "calculation.h"
#include "calculation/darcy.h"
#include "numbertext.h"
#include "project/projectfile.h"
#include "project/projectoutput.h"
#include "routefile.h"
#include "routetable.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>

using namespace plenix;

namespace {

// A full route: every row used, ducts, fittings and text rows mixed, flows
// and diameters changing along the way as a real supply route's do.
void fillFullRoute(RouteTable &table)
{
    table.setUp();
    for (int row = 1; row <= RouteTable::DataRows; ++row) {
        if (row % 10 == 1) {
            table.setCellText(row, RouteTable::ColFlow, std::to_string(3000 - row * 40));
            table.setCellText(row, RouteTable::ColDiameter, std::to_string(20 - row / 6));
        }
        switch (row % 5) {
        case 0:
            table.setCellText(row, RouteTable::ColDescription,
                              "Branch to zone " + std::to_string(row / 5));
            break;
        case 2:
            table.setCellText(row, RouteTable::ColLossCoef, row % 4 == 0 ? "0.28" : "0.39");
            table.setCellText(row, RouteTable::ColDescription, "Elbow 90 deg 18 in clr");
            break;
        case 4:
            table.setCellText(row, RouteTable::ColQty, "2");
            table.setCellText(row, RouteTable::ColLossCoef, "1.0");
            break;
        default:
            table.setCellText(row, RouteTable::ColLength, std::to_string(5 + row % 7 * 3) + ".5");
            break;
        }
    }
}

const std::string description = "Supply route, level 2\r\nFrom AHU-1 to the east wing";

void BM_CalculateFullRoute(benchmark::State &state)
{
    RouteTable table;
    fillFullRoute(table);
    for (auto _ : state) {
        const CalculationOutcome outcome = calculate(table);
        benchmark::DoNotOptimize(outcome.stopped);
    }
    state.SetItemsProcessed(state.iterations() * RouteTable::DataRows);
}
BENCHMARK(BM_CalculateFullRoute);

// The same route by Darcy-Colebrook in SI, its trunk rectangular and its
// branches flat oval: a Colebrook solve for every duct row.
void BM_CalculateDarcyRoute(benchmark::State &state)
{
    RouteTable table;
    fillFullRoute(table);
    for (int row = 1; row <= RouteTable::DataRows; row += 10)
        table.setCellText(row, RouteTable::ColDiameter, row < 30 ? "600x300" : "500x200 oval");
    method::Settings settings;
    settings.friction = method::Friction::DarcyColebrook;
    settings.units = units::System::SI;
    settings.air = {air::Basis::Site, 1500, 30, 0};
    for (auto _ : state) {
        const CalculationOutcome outcome = darcy::calculate(table, settings);
        benchmark::DoNotOptimize(outcome.stopped);
    }
    state.SetItemsProcessed(state.iterations() * RouteTable::DataRows);
}
BENCHMARK(BM_CalculateDarcyRoute);

// The first Calculate of a freshly typed route, whose result cells are still
// empty and grow to their texts.
void BM_CalculateFreshRoute(benchmark::State &state)
{
    RouteTable table;
    fillFullRoute(table);
    for (auto _ : state) {
        state.PauseTiming();
        for (int row = 1; row <= RouteTable::DataRows; ++row) {
            for (int col = RouteTable::ColItemSP; col <= RouteTable::ColRouteSP; ++col)
                table.setCellText(row, col, "");
        }
        state.ResumeTiming();
        const CalculationOutcome outcome = calculate(table);
        benchmark::DoNotOptimize(outcome.stopped);
    }
}
BENCHMARK(BM_CalculateFreshRoute);

void BM_RoutePack(benchmark::State &state)
{
    RouteTable table;
    fillFullRoute(table);
    calculate(table);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = packRoute(table, description);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_RoutePack);

void BM_RouteUnpack(benchmark::State &state)
{
    RouteTable table;
    fillFullRoute(table);
    calculate(table);
    const std::string text = packRoute(table, description);
    for (auto _ : state) {
        const auto back = unpackRoute(table, text);
        benchmark::DoNotOptimize(back->data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_RouteUnpack);

// A system of 300 full routes, each branch taking off an earlier route in a
// tree four or five deep, as a project file's text.
std::string largeProjectText()
{
    Project project;
    for (int i = 0; i < 300; ++i) {
        ProjectRoute &route = project.routes.emplace_back();
        route.name = "Route " + std::to_string(i);
        if (i > 0)
            route.takeoff = Takeoff{"Route " + std::to_string((i - 1) / 4), 5 + i % 50};
        fillFullRoute(route.document->table());
        route.document->setDescription(description);
    }
    return projectFileText(project);
}

// Open of a large project as the window and plenix-calc do it: the file's
// text read, every route calculated, the system's figures worked out and
// set as the texts the summary shows. The goal is under 0.2 s.
void BM_ProjectOpenAndCalculate(benchmark::State &state)
{
    const std::string text = largeProjectText();
    for (auto _ : state) {
        ProjectRead read = readProjectText(text, "large.plenix");
        const ProjectOutcome outcome = calculateProject(*read.project);
        const TextRows summary = systemSummaryRows(*read.project, outcome.system);
        benchmark::DoNotOptimize(summary.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ProjectOpenAndCalculate)->Unit(benchmark::kMillisecond);

// Cell texts as Calculate meets them: inputs, written results, headers,
// descriptions and empty cells.
constexpr std::array<std::string_view, 12> cellTexts{
    "1000", "12", "100", "0.28", "1.0", "", "0.21", "1273", "Route SP, in wg", "2", "12.5", "1E3",
};

void BM_NumberFromText(benchmark::State &state)
{
    for (auto _ : state) {
        double sum = 0;
        for (std::string_view text : cellTexts)
            sum += numberFromText(text);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(cellTexts.size()));
}
BENCHMARK(BM_NumberFromText);

void BM_FormatResults(benchmark::State &state)
{
    constexpr std::array<float, 4> values{0.20915977f, 0.10106832f, 1273.2394f, 0.61f};
    for (auto _ : state) {
        for (float value : values) {
            std::string text = formatNumber(value, Pattern::TwoDecimals);
            benchmark::DoNotOptimize(text.data());
            text = formatNumber(value, Pattern::Whole);
            benchmark::DoNotOptimize(text.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size() * 2));
}
BENCHMARK(BM_FormatResults);

} // namespace

BENCHMARK_MAIN();
