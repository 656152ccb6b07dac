// The accurate method against Arb's arb_fpwrap_cdouble_zeta, side by side in one run:
//   - one value on its own at σ = 1/2, as the readout line computes it, at t = 10^8, 10^10 and 10^12;
//   - plots with scales 0.02 and 0.1 and σ from 0: 80 × 520 with its bottom edge at t = 10^3, 10^5, 10^8 and
//     10^12, 1000 × 1000 at 10^8 and 400 × 400 at 10^10; and 1000 × 1000 at 10^8 with σ from 0 to 1.6 only,
//     where every sum runs to its end. The time per cell against Arb's one value at σ = 1/2 and the plot's
//     bottom edge (Arb takes longer further from the critical line).
// The summary after the table gives the times per value and per cell and how many times faster the accurate
// method is. Caches are warm: every benchmark runs Arb, or the plot, once before timing it.
#include <arb_fpwrap.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "zeta/plot/accurate_fill.h"
#include "zeta/math/accurate_zeta.h"
#include "zeta/math/power_sum_kernel.h"

namespace {

struct Plot_Case {
    int32_t width;
    int32_t height;
    double bottom;
    bool one_thread_too;  // also timed on one thread
    double real_scale = 0.02;
};

constexpr Plot_Case plot_cases[] = {
    {80, 520, 1e3, true},
    {80, 520, 1e5, true},
    {80, 520, 1e8, true},
    {80, 520, 1e12, false},
    {1000, 1000, 1e8, false},
    {400, 400, 1e10, false},
    {1000, 1000, 1e8, false, 0.0016},
};
constexpr double single_heights[] = {1e8, 1e10, 1e12};
constexpr double arb_heights[] = {1e3, 1e5, 1e8, 1e10, 1e12};

Plot_Settings plot_settings(const Plot_Case& plot) {
    Plot_Settings settings;
    settings.real_part = 0.0;
    settings.imaginary_part = plot.bottom;
    settings.real_scale = plot.real_scale;
    settings.imaginary_scale = 0.1;
    settings.ceiling = 1e300;
    settings.floor = -1e300;
    settings.mode = Absolute_Value;
    settings.method = Accurate_Method;
    return settings;
}

std::string plot_name(const Plot_Case& plot) {
    char text[64];
    std::snprintf(text, sizeof text, "%dx%d t=%g%s", plot.width, plot.height, plot.bottom,
                  plot.real_scale != 0.02 ? " strip" : "");
    return text;
}

std::string height_name(double t) {
    char text[32];
    std::snprintf(text, sizeof text, "t=%g", t);
    return text;
}

complex_double arb_zeta(benchmark::State& state, double sigma, double t) {
    complex_double value;
    if (arb_fpwrap_cdouble_zeta(&value, complex_double{sigma, t}, 0) != FPWRAP_SUCCESS)
        state.SkipWithError("Arb failed");
    return value;
}

void accurate_plot(benchmark::State& state, Plot_Case plot, int threads) {
    const Plot_Settings settings = plot_settings(plot);
    Value_Grid grid;
    allocate(grid, plot.width, plot.height);
    const std::atomic<bool> cancel{false};
    fill_grid_accurately(settings, grid, cancel, threads);  // warm caches: the primes, the workers' storage
    const std::clock_t start = std::clock();  // the processor time of every thread of the process
    for (auto _ : state) {
        if (!fill_grid_accurately(settings, grid, cancel, threads)) state.SkipWithError("cancelled");
        benchmark::ClobberMemory();
    }
    state.counters["cpu_all_threads"] = benchmark::Counter(
        static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, benchmark::Counter::kAvgIterations);
    state.counters["threads"] = threads;
    state.counters["cells"] = static_cast<double>(plot.width) * plot.height;
}

// The time from a cancel request to the end of the fill, 30 ms into the plot.
void cancel_latency(benchmark::State& state, Plot_Case plot) {
    const Plot_Settings settings = plot_settings(plot);
    Value_Grid grid;
    allocate(grid, plot.width, plot.height);
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        std::thread filler([&] { fill_grid_accurately(settings, grid, cancel, calculation_thread_count()); });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        const auto requested = std::chrono::steady_clock::now();
        cancel = true;
        filler.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - requested).count());
    }
}

// The plot kernel alone on one thread: 27 tiles of column powers against 8 groups of rows, 64 terms a
// panel, as a plot at t = 10^12 runs it. Counts 4 flops (two multiplications, two additions) per product.
void tile_kernel(benchmark::State& state, zeta_math::Kernel_Variant variant) {
    using namespace zeta_math;
    constexpr int tiles = 27;
    constexpr int groups = 8;
    constexpr int32_t terms = 64;
    std::vector<double> a(tiles * terms * tile_a_rows, 0.5);
    std::vector<double> b(groups * terms * tile_b_stride, 0.25);
    std::vector<double> sums(tiles * groups * tile_sum_size, 0.0);
    const Tile_Kernel kernel = plot_kernels(variant).tile_sums;
    for (auto _ : state) {
        for (int g = 0; g < groups; ++g) {
            for (int tile = 0; tile < tiles; ++tile)
                kernel(a.data() + tile * terms * tile_a_rows, b.data() + g * terms * tile_b_stride, terms,
                       sums.data() + (g * tiles + tile) * tile_sum_size, false);
        }
        benchmark::ClobberMemory();
    }
    const double flops = 2.0 * tiles * groups * terms * tile_sum_size;
    state.counters["flops"] = benchmark::Counter(flops, benchmark::Counter::kIsIterationInvariantRate);
}

// One value with nothing shared from earlier values, as the readout line computes it under the pointer.
void single_value(benchmark::State& state, double t) {
    Complex result;
    for (auto _ : state) {
        evaluate_zeta_accurately(Complex{0.5, t}, result);
        benchmark::DoNotOptimize(result);
    }
}

void arb_single_value(benchmark::State& state, double t) {
    arb_zeta(state, 0.5, t);  // warm caches
    for (auto _ : state)
        benchmark::DoNotOptimize(arb_zeta(state, 0.5, t));
}

// Keeps the mean wall time per iteration, divided by the "cells" counter where there is one.
class Recording_Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
                double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
                whole[run.run_name.function_name] = seconds;
                const auto cpu = run.counters.find("cpu_all_threads");
                if (cpu != run.counters.end()) processor[run.run_name.function_name] = cpu->second.value;
                const auto cells = run.counters.find("cells");
                if (cells != run.counters.end()) seconds /= cells->second.value;
                each[run.run_name.function_name] = seconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Seconds per iteration, and per cell (or per value).
    std::map<std::string, double> whole;
    std::map<std::string, double> each;
    std::map<std::string, double> processor;  // seconds of processor time of all threads per iteration
};

void print_summary(const Recording_Reporter& reporter) {
    const auto& each = reporter.each;
    std::printf("\nPlots use the %s kernel.\n", zeta_math::kernel_variant_name(zeta_math::kernel_variant()));
    std::printf("\nOne value at σ = 1/2, accurate method against Arb:\n");
    for (const double t : single_heights) {
        const auto ours = each.find(height_name(t) + "/single_value");
        const auto arb = each.find(height_name(t) + "/arb_single_value");
        if (ours == each.end() || arb == each.end()) continue;
        std::printf("  %-8s %10.3f ms against Arb %10.3f ms: %7.1f times faster\n", height_name(t).c_str(),
                    ours->second * 1e3, arb->second * 1e3, arb->second / ours->second);
    }
    std::printf("\nPlots (scales 0.02 and 0.1, σ from 0), per cell against Arb's value at σ = 1/2:\n");
    for (const Plot_Case& plot : plot_cases) {
        const auto arb = each.find(height_name(plot.bottom) + "/arb_single_value");
        if (arb == each.end()) continue;
        for (const char* variant : {"accurate", "accurate_one_thread"}) {
            const std::string name = plot_name(plot) + "/" + variant;
            const auto ours = each.find(name);
            if (ours == each.end()) continue;
            std::printf(
                "  %-18s %-20s %9.1f ms (processor %9.1f ms), %9.3f us a cell against Arb %8.3f ms: "
                "%8.1f times faster\n",
                plot_name(plot).c_str(), variant, reporter.whole.at(name) * 1e3,
                reporter.processor.at(name) * 1e3, ours->second * 1e6, arb->second * 1e3,
                arb->second / ours->second);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("t=1000/single_value", single_value, 1e3)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (const double t : arb_heights) {
        const bool ours =
            std::find(std::begin(single_heights), std::end(single_heights), t) != std::end(single_heights);
        if (ours) {
            benchmark::RegisterBenchmark((height_name(t) + "/single_value").c_str(), single_value, t)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
        benchmark::RegisterBenchmark((height_name(t) + "/arb_single_value").c_str(), arb_single_value, t)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    const int threads = calculation_thread_count();
    for (const Plot_Case& plot : plot_cases) {
        const std::string name = plot_name(plot);
        benchmark::RegisterBenchmark((name + "/accurate").c_str(), accurate_plot, plot, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        if (plot.one_thread_too) {
            benchmark::RegisterBenchmark((name + "/accurate_one_thread").c_str(), accurate_plot, plot, 1)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    for (const auto variant : {zeta_math::Kernel_Variant::Generic, zeta_math::Kernel_Variant::Avx2,
                               zeta_math::Kernel_Variant::Avx512}) {
        if (!zeta_math::kernel_variant_available(variant)) continue;
        benchmark::RegisterBenchmark(
            (std::string("kernel/") + zeta_math::kernel_variant_name(variant)).c_str(), tile_kernel, variant);
    }
    for (const Plot_Case& plot : {plot_cases[2], plot_cases[3]}) {
        benchmark::RegisterBenchmark((plot_name(plot) + "/cancel_latency").c_str(), cancel_latency, plot)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(10);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Recording_Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    print_summary(reporter);
    return 0;
}
