// A grid far larger than the device context: only the cells whose pixels the DC can show are read, so a
// repaint costs no more than the window whatever the plot's size.
#include <gtest/gtest.h>

#include <memory>

#include "tests/zeta/render_probe.h"
#include "zeta/plot/plot_job.h"
#include "zeta/plot/value_grid.h"
#include "zeta/viewer/plot_renderer.h"

namespace {

constexpr COLORREF red = 0x000000FF;
constexpr COLORREF green = 0x0000FF00;

TEST(RenderLargeGrid, ReadsOnlyTheCellsTheCanvasShows) {
    // 100000 columns of 100000 cells, of which the canvas shows columns 20 to 59 and rows 11 to 50. Only
    // those columns exist, and only rows 0 to 50 of them: reading any other cell faults. The axes, labels and
    // colour bar all fall outside the canvas.
    constexpr int cells = 100000;
    constexpr int allocated_rows = 51;
    RECT rect{-20, 50 - cells, -20 + cells, 50};
    Plot_Job job;
    job.grid.columns.resize(cells);
    for (int x = 20; x < 60; ++x) {
        job.grid.columns[x] = std::make_unique<double[]>(allocated_rows);
        job.grid.columns[x][allocated_rows - 1] = 1.0;  // the canvas's top row
    }
    job.grid.width = cells;
    job.grid.height = cells;
    job.grid.minimum = 0.0;
    job.grid.maximum = 1.0;
    Canvas canvas(40, 40, Black);

    Colour_Map_Cache colour_map;
    render_plot(job, rect, colour_map, canvas.dc);

    EXPECT_EQ(canvas.at(0, 0), green);
    EXPECT_EQ(canvas.at(39, 0), green);
    EXPECT_EQ(canvas.at(20, 1), red);
    EXPECT_EQ(canvas.at(39, 39), red);
}

}  // namespace
