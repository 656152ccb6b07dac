// The accurate method on 80 × 520 plots (scales 0.02 and 0.1, σ from 0) with their bottom edge at
// t = 10^3, 10^5 and 10^8, against Arb's arb_fpwrap_cdouble_zeta on a sample of the same cells, scaled up to
// the whole plot. Prints how many times faster the accurate fill is. Also one value on its own, as the
// readout line computes it, at heights from 10^3 to 10^12.
#include <arb_fpwrap.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>

#include "zeta/math/accurate_zeta.h"
#include "zeta/plot/accurate_fill.h"

namespace {

constexpr int32_t plot_width = 80;
constexpr int32_t plot_height = 520;
constexpr int32_t sample_column_step = 9;  // the Arb sample: every 9th column of every 40th row
constexpr int32_t sample_row_step = 40;
constexpr double heights[] = {1e3, 1e5, 1e8};

Plot_Settings plot_settings(double bottom) {
    Plot_Settings settings;
    settings.real_part = 0.0;
    settings.imaginary_part = bottom;
    settings.real_scale = 0.02;
    settings.imaginary_scale = 0.1;
    settings.ceiling = 1e300;
    settings.floor = -1e300;
    settings.mode = Absolute_Value;
    return settings;
}

std::string name_of(double bottom) {
    char text[32];
    std::snprintf(text, sizeof text, "t=%g", bottom);
    return text;
}

void accurate_plot(benchmark::State& state, double bottom, int threads) {
    const Plot_Settings settings = plot_settings(bottom);
    Value_Grid grid;
    allocate(grid, plot_width, plot_height);
    const std::atomic<bool> cancel{false};
    for (auto _ : state) {
        if (!fill_grid_accurately(settings, grid, cancel, threads)) state.SkipWithError("cancelled");
        benchmark::ClobberMemory();
    }
    state.counters["threads"] = threads;
}

// The time from a cancel request to the end of the fill, 30 ms into the plot at t = 10^8.
void cancel_latency(benchmark::State& state) {
    const Plot_Settings settings = plot_settings(1e8);
    Value_Grid grid;
    allocate(grid, plot_width, plot_height);
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        std::chrono::steady_clock::time_point requested;
        std::thread filler([&] { fill_grid_accurately(settings, grid, cancel, calculation_thread_count()); });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        requested = std::chrono::steady_clock::now();
        cancel = true;
        filler.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - requested).count());
    }
}

// Reports the time of the sample scaled to all cells of the plot.
void arb_plot(benchmark::State& state, double bottom) {
    const Plot_Settings settings = plot_settings(bottom);
    int64_t cells = 0;
    for (auto _ : state) {
        cells = 0;
        for (int32_t y = 0; y < plot_height; y += sample_row_step) {
            for (int32_t x = 0; x < plot_width; x += sample_column_step) {
                complex_double value;
                const complex_double s{
                    static_cast<double>(x) * settings.real_scale + settings.real_part,
                    static_cast<double>(y) * settings.imaginary_scale + settings.imaginary_part};
                if (arb_fpwrap_cdouble_zeta(&value, s, 0) != FPWRAP_SUCCESS)
                    state.SkipWithError("Arb failed");
                benchmark::DoNotOptimize(value);
                ++cells;
            }
        }
    }
    state.counters["sample_cells"] = static_cast<double>(cells);
    state.counters["scale"] = static_cast<double>(plot_width * plot_height) / static_cast<double>(cells);
}

class Recording_Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
                double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
                const auto scale = run.counters.find("scale");
                if (scale != run.counters.end()) seconds *= scale->second.value;
                plot_seconds[run.run_name.function_name] = seconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> plot_seconds;
};

// One value with nothing shared from earlier values, as the readout line computes it under the pointer.
void single_value(benchmark::State& state, double t) {
    Complex result;
    for (auto _ : state) {
        evaluate_zeta_accurately(Complex{0.5, t}, result);
        benchmark::DoNotOptimize(result);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const double t : {1e3, 1e8, 1e10, 1e12}) {
        benchmark::RegisterBenchmark((name_of(t) + "/single_value").c_str(), single_value, t)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    const int threads = calculation_thread_count();
    for (const double bottom : heights) {
        benchmark::RegisterBenchmark((name_of(bottom) + "/accurate").c_str(), accurate_plot, bottom, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((name_of(bottom) + "/accurate_one_thread").c_str(), accurate_plot,
                                     bottom, 1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((name_of(bottom) + "/arb_sample").c_str(), arb_plot, bottom)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("t=1e+08/cancel_latency", cancel_latency)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(10);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Recording_Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n80 x 520 plot, accurate fill against Arb (Arb's sample scaled to the whole plot):\n");
    for (const double bottom : heights) {
        const auto arb = reporter.plot_seconds.find(name_of(bottom) + "/arb_sample");
        if (arb == reporter.plot_seconds.end()) continue;
        for (const char* variant : {"accurate", "accurate_one_thread"}) {
            const auto accurate = reporter.plot_seconds.find(name_of(bottom) + "/" + variant);
            if (accurate == reporter.plot_seconds.end()) continue;
            std::printf("  %-8s %-20s %9.1f ms against Arb %10.1f ms: %6.1f times faster\n",
                        name_of(bottom).c_str(), variant, accurate->second * 1e3, arb->second * 1e3,
                        arb->second / accurate->second);
        }
    }
    return 0;
}
