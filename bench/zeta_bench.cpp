// Per-cell evaluation against the job's fill, for the start-up plot and two heavier plots. Prints the
// speed-up of the fill for each after the table.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/mean_time_reporter.h"
#include "zeta/math/zeta_function.h"
#include "zeta/plot/grid_fill.h"

namespace {

struct Plot {
    std::string name;
    int32_t width;
    int32_t height;
    Plot_Settings settings;
};

Plot_Settings start_up_settings(int32_t precision) {
    Plot_Settings settings;
    settings.real_part = 0.0;
    settings.imaginary_part = -5.0;
    settings.real_scale = 0.02;
    settings.imaginary_scale = 0.1;
    settings.ceiling = 5.0;
    settings.floor = -5.0;
    settings.mode = Reciprocal_Absolute_Value;
    settings.precision = precision;
    return settings;
}

const std::vector<Plot>& plots() {
    static const std::vector<Plot> list = {
        {"startup_80x520_100_terms", 80, 520, start_up_settings(100)},
        {"1000x1000_100_terms", 1000, 1000, start_up_settings(100)},
        {"80x520_10000_terms", 80, 520, start_up_settings(10000)},
    };
    return list;
}

// What the calculation thread would do without the fill: evaluate_zeta cell by cell.
void evaluate_each_cell(const Plot_Settings& settings, Value_Grid& grid) {
    for (int32_t x = 0; x < grid.width; ++x) {
        for (int32_t y = 0; y < grid.height; ++y) {
            const Complex s{static_cast<double>(x) * settings.real_scale + settings.real_part,
                            static_cast<double>(y) * settings.imaginary_scale + settings.imaginary_part};
            Complex zeta;
            evaluate_zeta(settings.precision, s, zeta);
            write_cell(grid, x, y, cell_value(settings.mode, zeta, settings.ceiling, settings.floor));
        }
    }
}

void run_per_cell(benchmark::State& state, const Plot& plot) {
    Value_Grid grid;
    allocate(grid, plot.width, plot.height);
    for (auto _ : state) {
        evaluate_each_cell(plot.settings, grid);
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = static_cast<double>(plot.width) * plot.height;
}

void run_fill(benchmark::State& state, const Plot& plot, int threads) {
    Value_Grid grid;
    allocate(grid, plot.width, plot.height);
    const std::atomic<bool> cancel{false};
    for (auto _ : state) {
        if (!fill_grid(plot.settings, grid, cancel, threads)) state.SkipWithError("fill was cancelled");
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = static_cast<double>(plot.width) * plot.height;
}

}  // namespace

int main(int argc, char** argv) {
    for (const Plot& plot : plots()) {
        benchmark::RegisterBenchmark((plot.name + "/per_cell").c_str(), run_per_cell, plot)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((plot.name + "/fill").c_str(), run_fill, plot, 2)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((plot.name + "/fill_one_thread").c_str(), run_fill, plot, 1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Mean_Time_Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nSpeed-up of the fill over evaluating each cell:\n");
    for (const Plot& plot : plots()) {
        const auto per_cell = reporter.seconds.find(plot.name + "/per_cell");
        if (per_cell == reporter.seconds.end()) continue;
        for (const char* variant : {"fill", "fill_one_thread"}) {
            const auto fill = reporter.seconds.find(plot.name + "/" + variant);
            if (fill == reporter.seconds.end()) continue;
            std::printf("  %-26s %-16s %10.1f ms against %10.1f ms: %5.1f times faster\n", plot.name.c_str(),
                        variant, fill->second * 1e3, per_cell->second * 1e3, per_cell->second / fill->second);
        }
    }
    return 0;
}
