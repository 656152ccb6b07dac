// The start-up plot computed by a real calculation and rendered into a memory bitmap, checked pixel by pixel
// against values evaluated here, cell by cell.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "tests/support/window_test.h"
#include "tests/zeta/render_probe.h"
#include "zeta/math/zeta_function.h"
#include "zeta/plot/plot_job.h"
#include "zeta/viewer/plot_renderer.h"

namespace {

constexpr COLORREF canvas_fill = 0x0022180E;
constexpr int width = 80, height = 520;
constexpr double real_part = 0.0, imaginary_part = -5.0, real_scale = 0.02, imaginary_scale = 0.1;
constexpr double ceiling = 5.0, floor_value = -5.0;
constexpr int32_t precision = 100;

// 1 / |zeta|, the ceiling where |zeta| is 0, clamped into [floor, ceiling].
double reciprocal_absolute_value(int x, int y) {
    const Complex s{x * real_scale + real_part, y * imaginary_scale + imaginary_part};
    Complex zeta;
    evaluate_zeta(precision, s, zeta);
    const double modulus = std::pow(std::pow(zeta.real, 2) + std::pow(zeta.imaginary, 2), 0.5);
    double value = modulus == 0.0 ? ceiling : 1.0 / modulus;
    if (value > ceiling) {
        value = ceiling;
    } else if (value < floor_value) {
        value = floor_value;
    }
    return value;
}

// Red falls and green rises from the minimum to the maximum, each channel truncated; NaN is black.
COLORREF map_colour(double value, double minimum, double maximum) {
    if (std::isnan(value)) return 0x00000000;
    const double t = (value - minimum) / (maximum - minimum) * 255.0;
    EXPECT_TRUE(t >= 0.0 && t <= 255.0) << value;
    const auto green = static_cast<COLORREF>(t);
    const auto red = static_cast<COLORREF>(255.0 - t);
    return red | green << 8;
}

std::string fixed_six(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

using RenderStartupPlot = test_support::Headless_Window_Test;

TEST_F(RenderStartupPlot, EveryCellPixelHasTheColourOfItsEvaluatedValue) {
    RECT plot_rect{100, 60, 180, 580};
    Plot_Job job;
    job.settings.real_part = real_part;
    job.settings.imaginary_part = imaginary_part;
    job.settings.real_scale = real_scale;
    job.settings.imaginary_scale = imaginary_scale;
    job.settings.ceiling = ceiling;
    job.settings.floor = floor_value;
    job.settings.mode = Reciprocal_Absolute_Value;
    job.show_critical_line = 1;
    start_calculation(job, plot_rect.right - plot_rect.left, plot_rect.bottom - plot_rect.top);

    std::vector<std::vector<double>> cells(width, std::vector<double>(height));
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            cells[x][y] = reciprocal_absolute_value(x, y);
    double minimum = cells[0][0], maximum = cells[0][0];
    for (const auto& column : cells) {
        for (double cell : column) {
            if (maximum < cell) maximum = cell;
            if (minimum > cell) minimum = cell;
        }
    }
    ASSERT_LT(minimum, maximum);
    // s = 1 itself lies on the grid; its NaN cell is drawn black.
    ASSERT_TRUE(std::isnan(cells[50][50]));

    wait_for_calculation(job);
    ASSERT_EQ(status_text_copy(job), "Finished calculating reciprocal absolute value with 100 iterations.");
    Canvas canvas(800, 760, canvas_fill);
    Colour_Map_Cache colour_map;
    render_plot(job, plot_rect, colour_map, canvas.dc);

    // Drawn over the map: the critical line at Re(s) = 1/2, and the imaginary axis ticks on the left column.
    // Row 0 lies on the bottom edge under the real axis labels.
    const int line_column = static_cast<int>(0.5 / real_scale);
    int mismatches = 0;
    for (int x = 0; x < width; ++x) {
        for (int y = 1; y < height; ++y) {
            COLORREF expected = map_colour(cells[x][y], minimum, maximum);
            if (x == line_column) expected = Cyan_Critical_Line;
            if (x == 0 && y % 30 == 0) expected = Black;
            const COLORREF actual = canvas.at(plot_rect.left + x, plot_rect.bottom - y);
            if (actual != expected && ++mismatches <= 5)
                ADD_FAILURE() << "cell " << x << "," << y << " value " << cells[x][y] << ": pixel 0x"
                              << std::hex << actual << ", expected 0x" << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);

    const Pixel_Source source = [&](int x, int y) { return canvas.at(x, y); };
    // The unnumbered imaginary tick, 18 slots up at y = 40, ends on the status line's first pixel.
    EXPECT_TRUE(shows_text(source, "Finished calculating reciprocal absolute value with 100 iterations.",
                           {100, 40, 500, 60}, 0, Black, {{100, 40}}));
    EXPECT_TRUE(shows_text(source, fixed_six(minimum), {100, 650, 180, 680}));
    EXPECT_TRUE(shows_text(source, fixed_six(maximum), {100, 681, 180, 710}, DT_RIGHT));
}

}  // namespace
