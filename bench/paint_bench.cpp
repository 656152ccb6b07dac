// The viewer's paint path on the headless display: one pan step (a pointer move while the plot is dragged,
// which repaints the main window at once) and a full repaint of the main window, for the start-up plot and
// two big plots. Each is set against a plain memory write of as many pixels as the plot has; the summary
// after the table prints both times and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "bench/mean_time_reporter.h"
#include "platform/display/headless.h"
#include "platform/win32.h"

namespace {

struct Plot_Size {
    std::string name;
    int width;
    int height;
};

const std::vector<Plot_Size>& plot_sizes() {
    static const std::vector<Plot_Size> sizes = {
        {"80x520", 80, 520},
        {"1000x1000", 1000, 1000},
        {"2000x1500", 2000, 1500},
    };
    return sizes;
}

// Room around the plot for the status line, the axes and their labels, and the colour-scale bar.
constexpr int plot_left = 100;
constexpr int plot_top = 60;
constexpr int room_right = 200;
constexpr int room_below = 140;

void dispatch_waiting_messages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The main window sized for the plot, the plot computed (with few series terms: the values do not change
// what a paint costs) and painted once.
Application* application = nullptr;

void show_plot(const Plot_Size& size) {
    platform::headless::resize(application->main_window, std::max(760, plot_left + size.width + room_right),
                               std::max(740, plot_top + size.height + room_below));
    dispatch_waiting_messages();
    application->plot_rect = RECT{plot_left, plot_top, plot_left + size.width, plot_top + size.height};
    application->viewer.job.settings.precision = 10;
    application->viewer.restart_calculation();
    wait_for_calculation(application->viewer.job);
    dispatch_waiting_messages();
}

LPARAM position(int x, int y) {
    return MAKELPARAM(x, y);
}

// A left press inside the plot, then moves around it: every move repaints the window with the grid shifted.
void pan_step(benchmark::State& state, const Plot_Size& size) {
    show_plot(size);
    const int x = plot_left + size.width / 2;
    const int y = plot_top + size.height / 2;
    SendMessageA(application->main_window, WM_MOUSEMOVE, 0, position(x, y));
    SendMessageA(application->main_window, WM_LBUTTONDOWN, MK_LBUTTON, position(x, y));
    int step = 0;
    for (auto _ : state) {
        step = step % 40 + 1;
        const int offset = step % 2 == 0 ? step / 2 : -step / 2;
        SendMessageA(application->main_window, WM_MOUSEMOVE, MK_LBUTTON, position(x + offset, y - offset));
    }
    // Back to where the press was, so the release recomputes the same plot.
    SendMessageA(application->main_window, WM_MOUSEMOVE, MK_LBUTTON, position(x, y));
    SendMessageA(application->main_window, WM_LBUTTONUP, 0, position(x, y));
    wait_for_calculation(application->viewer.job);
    dispatch_waiting_messages();
    state.counters["pixels"] = static_cast<double>(size.width) * size.height;
}

void full_repaint(benchmark::State& state, const Plot_Size& size) {
    show_plot(size);
    for (auto _ : state) {
        InvalidateRect(application->main_window, nullptr, TRUE);
        UpdateWindow(application->main_window);
    }
    state.counters["pixels"] = static_cast<double>(size.width) * size.height;
}

// The floor: writing as many 32-bit pixels as the plot has, one pass, no computation.
void memory_write(benchmark::State& state, const Plot_Size& size) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.width) * size.height);
    std::uint32_t value = 0;
    for (auto _ : state) {
        ++value;
        for (std::uint32_t& pixel : pixels)
            pixel = value;
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}

// Wall time, and the CPU time of the painting thread: on a loaded machine the wall time also counts waiting
// for a core.
void print_summary(const Mean_Time_Reporter& reporter) {
    std::printf("\nPaint time against a plain memory write of the plot's pixels (wall / CPU):\n");
    for (const Plot_Size& size : plot_sizes()) {
        const std::string floor_name = size.name + "/memory_write";
        const double floor = reporter.mean(floor_name);
        const double floor_cpu = reporter.mean_cpu(floor_name);
        for (const char* kind : {"pan_step", "full_repaint"}) {
            const std::string name = size.name + "/" + kind;
            const double paint = reporter.mean(name);
            const double paint_cpu = reporter.mean_cpu(name);
            if (paint < 0 || floor <= 0 || floor_cpu <= 0) continue;
            std::printf(
                "  %-10s %-13s %8.2f / %7.2f ms, memory write %6.2f / %5.2f ms, ratio %6.1f / %6.1f\n",
                size.name.c_str(), kind, paint * 1e3, paint_cpu * 1e3, floor * 1e3, floor_cpu * 1e3,
                paint / floor, paint_cpu / floor_cpu);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    platform::headless::use_headless_display();
    Application started;
    application = &started;
    if (!started.start(GetModuleHandleA(nullptr))) return 1;
    wait_for_calculation(application->viewer.job);
    dispatch_waiting_messages();

    for (const Plot_Size& size : plot_sizes()) {
        benchmark::RegisterBenchmark((size.name + "/pan_step").c_str(), pan_step, size)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((size.name + "/full_repaint").c_str(), full_repaint, size)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((size.name + "/memory_write").c_str(), memory_write, size)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Mean_Time_Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    print_summary(reporter);

    return 0;
}
