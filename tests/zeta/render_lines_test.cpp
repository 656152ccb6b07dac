#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/surface.h"
#include "tests/zeta/render_probe.h"
#include "zeta/plot/plot_job.h"
#include "zeta/plot/value_grid.h"
#include "zeta/viewer/plot_renderer.h"

namespace {

constexpr COLORREF canvas_fill = 0x00336699;
constexpr COLORREF white = 0x00FFFFFF;

// A job without a grid (as before the first calculation): only text, lines and the colour bar are drawn.
struct Frame_Plot {
    explicit Frame_Plot(RECT area) : rect(area) {}
    RECT rect;
    Plot_Job job;
    Colour_Map_Cache colour_map;
};

Pixel_Source pixels_of(const Canvas& canvas) {
    return [&canvas](int x, int y) { return canvas.at(x, y); };
}

int count_pixels(const Canvas& canvas, COLORREF colour) {
    int count = 0;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            count += canvas.at(x, y) == colour;
    return count;
}

TEST(RenderCriticalLine, RunsFromTheTopEdgeTo60PixelsBelowTheBottomWithItsLabel) {
    Frame_Plot plot({100, 60, 180, 100});
    plot.job.settings.real_part = 0.0;
    plot.job.settings.real_scale = 0.02;  // Re(s) = 1/2 lies 25 columns right of the left edge
    Canvas canvas(600, 300, canvas_fill);

    render_plot(plot.job, plot.rect, plot.colour_map, canvas.dc);

    const LONG x = 125, top = 60, bottom = 100;
    for (LONG y = top; y < bottom; ++y)
        ASSERT_EQ(canvas.at(x, y), Cyan_Critical_Line) << "y " << y;
    // Below the edge the line shows between the tick labels (16 rows high) and its own label.
    for (LONG y = bottom + 16; y < bottom + 40; ++y)
        ASSERT_EQ(canvas.at(x, y), Cyan_Critical_Line) << "y " << y;
    for (LONG y = bottom + 56; y < bottom + 60; ++y)
        ASSERT_EQ(canvas.at(x, y), Cyan_Critical_Line) << "y " << y;
    EXPECT_EQ(canvas.at(x, bottom + 60), canvas_fill);
    EXPECT_EQ(canvas.at(x, top - 1), canvas_fill);
    EXPECT_EQ(canvas.at(x - 1, 80), canvas_fill);
    EXPECT_EQ(canvas.at(x + 1, 80), canvas_fill);
    EXPECT_TRUE(shows_text(pixels_of(canvas), "Re(s)=1/2", {x, bottom + 40, x + 300, bottom + 60}));
}

TEST(RenderCriticalLine, IsLeftOutWhenNotStrictlyInsideOrSwitchedOff) {
    struct Case {
        const char* name;
        double real_part;
        double real_scale;
        uint8_t shown;
    };
    const Case cases[] = {
        {"left edge at 1/2", 0.5, 0.02, 1},
        {"right edge at 1/2", -4.5, 0.0625, 1},  // -4.5 + 80 * 1/16 = 0.5 exactly
        {"switched off", 0.0, 0.02, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Frame_Plot plot({100, 60, 180, 100});
        plot.job.settings.real_part = c.real_part;
        plot.job.settings.real_scale = c.real_scale;
        plot.job.show_critical_line = c.shown;
        Canvas canvas(600, 300, canvas_fill);

        render_plot(plot.job, plot.rect, plot.colour_map, canvas.dc);

        EXPECT_EQ(count_pixels(canvas, Cyan_Critical_Line), 0);
        // Where a label would go, 40 to 60 rows below the plot, there is nothing at all.
        for (int y = 140; y < 160; ++y)
            for (int x = 100; x < 481; ++x)
                ASSERT_EQ(canvas.at(x, y), canvas_fill) << x << "," << y;
    }
}

// White text leaves black to the axis pen, so the ticks can be told from the labels.
struct Axes_Picture {
    Axes_Picture() : plot({100, 100, 240, 160}), canvas(700, 400, canvas_fill) {
        plot.job.settings.real_part = -2.0;
        plot.job.settings.real_scale = 0.5;
        plot.job.settings.imaginary_part = -5.0;
        plot.job.settings.imaginary_scale = 0.25;
        plot.job.show_critical_line = 0;
        SetTextColor(canvas.dc, white);
        render_plot(plot.job, plot.rect, plot.colour_map, canvas.dc);
    }
    bool shows(const char* text, RECT box, UINT format = 0) const {
        return shows_text(pixels_of(canvas), text, box, format, white);
    }
    Frame_Plot plot;
    Canvas canvas;
};

TEST(RenderAxes, RealAxisTicksEvery70PixelsWithOneMoreUnnumbered) {
    Axes_Picture picture;
    const Canvas& canvas = picture.canvas;
    const LONG bottom = 160;

    std::vector<int> black_columns;
    for (int x = 0; x < canvas.width; ++x)
        if (canvas.at(x, bottom + 30) == Black) black_columns.push_back(x);
    EXPECT_EQ(black_columns, (std::vector<int>{100, 170, 240, 310}));
    for (int x : {100, 170, 240, 310}) {
        EXPECT_EQ(canvas.at(x, bottom + 39), Black) << "tick " << x;
        EXPECT_NE(canvas.at(x, bottom + 40), Black) << "tick " << x << " is 40 pixels long";
    }
    EXPECT_TRUE(picture.shows("-2.000000", {101, bottom, 170, bottom + 30}));
    EXPECT_TRUE(picture.shows("33.000000", {171, bottom, 240, bottom + 30}));
    EXPECT_TRUE(picture.shows("68.000000", {241, bottom, 310, bottom + 30}));
    EXPECT_TRUE(picture.shows("  Re(s)", {311, bottom, 380, bottom + 30}));
}

TEST(RenderAxes, ImaginaryAxisTicksEvery30PixelsWithOneMoreUnnumbered) {
    Axes_Picture picture;
    const Canvas& canvas = picture.canvas;
    const LONG left = 100, bottom = 160;

    std::vector<int> black_rows;
    for (int y = 0; y < canvas.height; ++y)
        if (canvas.at(left - 20, y) == Black) black_rows.push_back(y);
    EXPECT_EQ(black_rows, (std::vector<int>{70, 100, 130, 160}));
    for (int y : {70, 100, 130, 160}) {
        EXPECT_EQ(canvas.at(left - 39, y), Black) << "tick " << y;
        EXPECT_NE(canvas.at(left - 40, y), Black) << "tick " << y << " is 40 pixels long";
    }
    EXPECT_TRUE(picture.shows("-5.000000", {left - 70, bottom - 18, left, bottom - 1}));
    EXPECT_TRUE(picture.shows("2.500000", {left - 70, bottom - 48, left, bottom - 31}));
    EXPECT_TRUE(picture.shows("10.000000", {left - 70, bottom - 78, left, bottom - 61}));
    EXPECT_TRUE(picture.shows(" Im(s)", {left - 70, bottom - 108, left, bottom - 91}));
}

// The bar's scale is 256: its first column (red 256) and last column (green 256) wrap to black.
TEST(RenderColourBar, RunsFromRedToGreenWithBlackEnds) {
    Frame_Plot plot({20, 20, 320, 30});
    plot.job.show_critical_line = 0;
    Canvas canvas(700, 200, canvas_fill);

    render_plot(plot.job, plot.rect, plot.colour_map, canvas.dc);

    const int first_row = 30 + 91, last_row = 30 + 100;
    for (int y = first_row; y <= last_row; ++y) {
        EXPECT_EQ(canvas.at(20, y), Black);
        EXPECT_EQ(canvas.at(21, y), 0x000000FFu) << "second column pure red";
        EXPECT_EQ(canvas.at(170, y), 0x00008080u) << "half way: red and green 128";
        EXPECT_EQ(canvas.at(320, y), Black);
    }
    EXPECT_EQ(canvas.at(170, first_row - 1), canvas_fill);
    EXPECT_EQ(canvas.at(170, last_row + 1), canvas_fill);
    EXPECT_EQ(canvas.at(321, first_row), canvas_fill);
}

TEST(RenderColourBar, ZeroWidthGivesOneBlackColumnAndNegativeWidthNone) {
    Frame_Plot zero_width({20, 20, 20, 30});
    Canvas zero(200, 200, canvas_fill);
    render_plot(zero_width.job, zero_width.rect, zero_width.colour_map, zero.dc);
    Frame_Plot negative_width({20, 20, 19, 30});
    Canvas negative(200, 200, canvas_fill);
    render_plot(negative_width.job, negative_width.rect, negative_width.colour_map, negative.dc);

    for (int y = 121; y <= 130; ++y) {
        EXPECT_EQ(zero.at(20, y), Black);
        EXPECT_EQ(zero.at(21, y), canvas_fill);
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(negative.at(x, y), canvas_fill) << x << "," << y;
    }
}

TEST(RenderPlot, LeavesNoGdiObjectBehind) {
    const int before_canvas = platform::gdi::live_object_count();
    {
        Frame_Plot plot({100, 60, 180, 100});
        plot.job.settings.real_part = 0.0;
        plot.job.settings.real_scale = 0.02;  // both pens in use
        allocate(plot.job.grid, 80, 40);
        Canvas canvas(600, 300, canvas_fill);
        const int before_render = platform::gdi::live_object_count();

        render_plot(plot.job, plot.rect, plot.colour_map, canvas.dc);

        EXPECT_EQ(platform::gdi::live_object_count(), before_render);
        ASSERT_GT(count_pixels(canvas, Cyan_Critical_Line), 0);
    }
    EXPECT_EQ(platform::gdi::live_object_count(), before_canvas) << "after the DC is gone too";
}

}  // namespace
