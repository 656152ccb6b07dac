#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <string>

#include "tests/zeta/render_probe.h"
#include "zeta/plot/plot_job.h"
#include "zeta/plot/value_grid.h"
#include "zeta/viewer/plot_renderer.h"

namespace {

constexpr COLORREF canvas_fill = 0x00336699;
constexpr COLORREF pure_red = 0x000000FF;
constexpr COLORREF pure_green = 0x0000FF00;

// A job whose grid covers its rectangle, with the critical line out of view.
struct Grid_Plot {
    Grid_Plot(LONG left, LONG top, int32_t width, int32_t height)
        : rect{left, top, left + width, top + height} {
        job.settings.real_part = 5.0;
        allocate(job.grid, width, height);
    }
    void set(int32_t x, int32_t y, double value) { write_cell(job.grid, x, y, value); }
    void fill(double value) {
        fill([value](int32_t, int32_t) { return value; });
    }
    // Cell [x][y] = 10 x + y, and the range from the cells: every cell differs from its neighbours.
    void fill_ramp() {
        fill([](int32_t x, int32_t y) { return x * 10.0 + y; });
        update_range(job.grid);
    }
    // Every cell from its position.
    template <class Value>
    void fill(const Value& value) {
        for (int32_t x = 0; x < job.grid.width; ++x)
            for (int32_t y = 0; y < job.grid.height; ++y)
                set(x, y, value(x, y));
    }
    void set_range(double minimum, double maximum) {
        std::lock_guard lock(job.grid.range_mutex);
        job.grid.minimum = minimum;
        job.grid.maximum = maximum;
    }
    // Where cell [x][y] is drawn.
    POINT cell_pixel(int32_t x, int32_t y) const { return {rect.left + x, rect.bottom - y}; }

    RECT rect;
    Plot_Job job;
    Colour_Map_Cache colour_map;
};

COLORREF rendered(const Canvas& canvas, const Grid_Plot& plot, int32_t x, int32_t y) {
    const POINT p = plot.cell_pixel(x, y);
    return canvas.at(p.x, p.y);
}

// Row 0 lies on the bottom edge, under the real axis labels, so the probes below use rows from 1 up.
TEST(RenderColourMap, SpansTheGridRangeFromRedToGreen) {
    Grid_Plot plot(80, 30, 4, 4);
    plot.fill(0.25);
    plot.set(1, 1, 0.0);
    plot.set(2, 1, 1.0);
    plot.set(3, 1, 0.5);
    plot.set(1, 2, std::nan(""));
    plot.set(0, 3, 1.0);
    update_range(plot.job.grid);
    Canvas canvas(500, 300, canvas_fill);

    render_plot(plot.job, plot.rect, plot.colour_map, canvas.dc);

    EXPECT_EQ(rendered(canvas, plot, 1, 1), pure_red);
    EXPECT_EQ(rendered(canvas, plot, 2, 1), pure_green);
    EXPECT_EQ(rendered(canvas, plot, 3, 1), 0x00007F7Fu) << "the middle of the range is red 127, green 127";
    EXPECT_EQ(rendered(canvas, plot, 3, 3), 0x00003FBFu) << "a quarter up: red 191, green 63";
    EXPECT_EQ(rendered(canvas, plot, 1, 2), Black) << "NaN";
    EXPECT_EQ(rendered(canvas, plot, 0, 3), pure_green) << "the top row is drawn at bottom - 3";
    EXPECT_EQ(canvas.at(81, plot.rect.top), canvas_fill) << "the map stops one row below the top edge";
    EXPECT_EQ(canvas.at(plot.rect.right, 32), canvas_fill) << "and one column left of the right edge";
}

TEST(RenderColourMap, WrapsChannelsOutsideTheRangeAndBlacksOutHugeValues) {
    Grid_Plot plot(80, 30, 4, 3);
    plot.fill(0.0);
    plot.set(1, 1, 300.0);
    plot.set(2, 1, -1.0);
    plot.set(3, 1, 1e300);
    plot.set_range(0.0, 255.0);
    Canvas canvas(500, 300, canvas_fill);

    render_plot(plot.job, plot.rect, plot.colour_map, canvas.dc);

    EXPECT_EQ(rendered(canvas, plot, 1, 1), 0x00002CD3u) << "t = 300: green 44, red 211";
    EXPECT_EQ(rendered(canvas, plot, 2, 1), pure_green) << "t = -1: green 255, red 256 -> 0";
    EXPECT_EQ(rendered(canvas, plot, 3, 1), Black) << "channels beyond 32 bits are 0";
}

// All cells equal, or a calculation that has not finished (range 0.0 / 0.0): black map, equal range labels.
TEST(RenderColourMap, AnEmptyRangeDrawsEveryCellBlack) {
    struct Case {
        const char* name;
        bool finished;
        const char* label;
    };
    for (const Case& c :
         {Case{"all cells 2.5", true, "2.500000"}, Case{"still calculating", false, "0.000000"}}) {
        SCOPED_TRACE(c.name);
        Grid_Plot plot(80, 30, 100, 3);
        for (int32_t x = 0; x < 100; ++x)
            for (int32_t y = 0; y < 3; ++y)
                plot.set(x, y, c.finished ? 2.5 : x * 0.1 - y);
        if (c.finished) update_range(plot.job.grid);
        plot.job.status_text = "Calculating values...";
        Canvas canvas(500, 300, canvas_fill);

        render_plot(plot.job, plot.rect, plot.colour_map, canvas.dc);

        for (int32_t x = 0; x < 100; ++x)
            for (int32_t y = 1; y < 3; ++y)
                ASSERT_EQ(rendered(canvas, plot, x, y), Black) << x << "," << y;
        const RECT& r = plot.rect;
        const Pixel_Source source = [&](int x, int y) { return canvas.at(x, y); };
        EXPECT_TRUE(shows_text(source, c.label, {r.left, r.bottom + 70, r.right, r.bottom + 100}));
        EXPECT_TRUE(shows_text(source, c.label, {r.left, r.bottom + 101, r.right, r.bottom + 130}, DT_RIGHT));
        EXPECT_TRUE(shows_text(source, "Calculating values...", {r.left, r.top - 20, r.left + 400, r.top}));
    }
}

// The grid's colours are kept between paints: a grid computed again, with other cells but the same range, is
// drawn with its new cells.
TEST(RenderColourMap, AGridComputedAgainWithTheSameRangeShowsItsNewCells) {
    constexpr int32_t width = 6, height = 4;
    Grid_Plot plot(80, 30, width, height);
    plot.fill_ramp();
    Canvas first(500, 300, canvas_fill);
    render_plot(plot.job, plot.rect, plot.colour_map, first.dc);

    plot.fill([](int32_t x, int32_t y) { return (width - 1 - x) * 10.0 + y; });
    update_range(plot.job.grid);
    Canvas second(500, 300, canvas_fill);
    render_plot(plot.job, plot.rect, plot.colour_map, second.dc);

    ASSERT_NE(rendered(first, plot, 1, 2), rendered(first, plot, 4, 2));
    for (int32_t x = 0; x < width; ++x)
        for (int32_t y = 1; y < height; ++y)
            EXPECT_EQ(rendered(second, plot, x, y), rendered(first, plot, width - 1 - x, y)) << x << "," << y;
}

// Pixel column i shows grid column i + pan x, pixel row j grid row j + pan y; pixels whose source lies
// outside the grid keep what was there.
TEST(RenderColourMap, PanOffsetShiftsTheMapAndLeavesTheUncoveredStrip) {
    constexpr int32_t width = 20, height = 6;
    Grid_Plot plot(80, 30, width, height);
    plot.fill_ramp();
    Canvas still(500, 300, canvas_fill);
    render_plot(plot.job, plot.rect, plot.colour_map, still.dc);
    // Neighbouring cells differ, so a shift cannot go unnoticed.
    ASSERT_NE(rendered(still, plot, 4, 2), rendered(still, plot, 5, 2));
    ASSERT_NE(rendered(still, plot, 4, 2), rendered(still, plot, 4, 3));

    for (const POINT pan : {POINT{5, 0}, POINT{0, 3}, POINT{-3, -2}}) {
        SCOPED_TRACE("pan " + std::to_string(pan.x) + ", " + std::to_string(pan.y));
        plot.job.pan_offset_x = pan.x;
        plot.job.pan_offset_y = pan.y;
        Canvas panned(500, 300, canvas_fill);
        render_plot(plot.job, plot.rect, plot.colour_map, panned.dc);

        for (int32_t x = 0; x < width; ++x) {
            for (int32_t y = 1; y < height; ++y) {
                const int32_t source_x = x + pan.x, source_y = y + pan.y;
                const bool inside = 0 <= source_x && source_x < width && 0 <= source_y && source_y < height;
                if (inside && source_y == 0) continue;  // row 0 of the still picture is under the labels
                const COLORREF expected = inside ? rendered(still, plot, source_x, source_y) : canvas_fill;
                ASSERT_EQ(rendered(panned, plot, x, y), expected) << "pixel of cell " << x << "," << y;
            }
        }
    }
}

}  // namespace
