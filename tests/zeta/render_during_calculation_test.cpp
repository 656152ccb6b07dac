// Painting while the calculation thread fills the grid: the renderer reads only what the job publishes safely
// (ThreadSanitizer watches this test), never shows a half-finished colour map of the series, and shows the
// rows that the accurate method has finished.
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

namespace {

TEST_F(RenderDuringCalculation, ShowsTheRowsFinishedSoFarWithTheirRangeAndTheOthersBlack) {
    Plot_Job job;
    job.show_critical_line = 0;
    ASSERT_TRUE(allocate(job.grid, 6, 10));
    // Rows 2 and 3 are finished: cells from 1 (row 2, column 0) to 6 (row 3, column 5); the other rows hold
    // values that must not show.
    for (int32_t x = 0; x < 6; ++x) {
        for (int32_t y = 0; y < 10; ++y)
            write_cell(job.grid, x, y, 1000.0);
        write_cell(job.grid, x, 2, 1.0 + x * 0.5);
        write_cell(job.grid, x, 3, 3.5 + x * 0.5);
    }
    mark_row_finished(job.grid, 2);
    mark_row_finished(job.grid, 3);
    const RECT rect{100, 60, 106, 70};
    Canvas canvas(300, 300, 0x00336699);
    Colour_Map_Cache colour_map;
    render_plot(job, rect, colour_map, canvas.dc);
    // Cell (i, j) at (100 + i, 70 - j).
    EXPECT_EQ(canvas.at(100, 68), 0x000000FFu) << "the smallest so far is red";
    EXPECT_EQ(canvas.at(105, 67), 0x0000FF00u) << "the largest so far is green";
    for (int j : {1, 4, 9})
        EXPECT_EQ(canvas.at(103, 70 - j), Black) << "row " << j << " is not finished";
    EXPECT_FALSE(colour_map.pixels) << "nothing is kept of an unfinished grid";
}

}  // namespace
