// Painting while the calculation thread fills the grid: the renderer reads only what the job publishes safely
// (ThreadSanitizer watches this test), and never shows a half-finished colour map.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/window_test.h"
#include "tests/zeta/render_probe.h"
#include "zeta/plot/plot_job.h"
#include "zeta/viewer/plot_renderer.h"

namespace {

constexpr COLORREF canvas_fill = 0x0022180E;
constexpr RECT plot_area{100, 60, 180, 580};

// The map without row 0 (under the labels) and column 0 (under the ticks).
std::vector<COLORREF> colour_map_of(const Plot_Job& job) {
    Canvas canvas(800, 760, canvas_fill);
    Colour_Map_Cache colour_map;
    render_plot(job, plot_area, colour_map, canvas.dc);
    std::vector<COLORREF> pixels;
    for (LONG x = plot_area.left + 1; x < plot_area.right; ++x)
        for (LONG y = plot_area.top + 1; y < plot_area.bottom; ++y)
            pixels.push_back(canvas.at(x, y));
    return pixels;
}

using RenderDuringCalculation = test_support::Headless_Window_Test;

TEST_F(RenderDuringCalculation, ShowsABlackMapUntilTheFinishedOne) {
    RECT rect = plot_area;
    Plot_Job job;
    job.settings.imaginary_part = -5.0;
    job.settings.real_scale = 0.02;
    job.settings.imaginary_scale = 0.1;
    job.settings.mode = Reciprocal_Absolute_Value;
    job.show_critical_line = 0;
    start_calculation(job, rect.right - rect.left, rect.bottom - rect.top);

    std::vector<std::vector<COLORREF>> while_running;
    do {
        while_running.push_back(colour_map_of(job));
    } while (job.running && while_running.size() < 40);
    wait_for_calculation(job);
    const std::vector<COLORREF> finished = colour_map_of(job);

    const std::vector<COLORREF> black(finished.size(), Black);
    ASSERT_NE(finished, black);
    for (std::size_t i = 0; i < while_running.size(); ++i)
        EXPECT_TRUE(while_running[i] == black || while_running[i] == finished) << "render " << i;
}

}  // namespace
