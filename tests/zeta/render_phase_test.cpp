// The phase portrait as drawn: around a zero of ζ the hues run once counter-clockwise through the whole
// wheel, around the pole at s = 1 once clockwise; read back from the pixels, through OKLab.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tests/support/window_test.h"
#include "tests/zeta/render_probe.h"
#include "zeta/plot/plot_job.h"
#include "zeta/viewer/plot_renderer.h"

namespace {

// The OKLab hue angle of an 8-bit sRGB pixel (Björn Ottosson's matrices).
double oklab_hue(COLORREF pixel) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double r = linear(GetRValue(pixel)), g = linear(GetGValue(pixel)), b = linear(GetBValue(pixel));
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    const double a = 1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s;
    const double bb = 0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s;
    return std::atan2(bb, a);
}

// Plots the phase of ζ on a size × size grid centred on `centre` with the given step, renders it and
// returns how many turns the hue makes along the grid's border, walked counter-clockwise in the plane.
double hue_turns_around(Complex centre, double step, int size) {
    Plot_Job job;
    job.settings.method = Accurate_Method;
    job.settings.mode = Phase;
    job.settings.real_part = centre.real - step * (size / 2);
    job.settings.imaginary_part = centre.imaginary - step * (size / 2);
    job.settings.real_scale = step;
    job.settings.imaginary_scale = step;
    job.show_critical_line = 0;
    const RECT rect{100, 40, 100 + size, 40 + size};
    start_calculation(job, size, size);
    wait_for_calculation(job);
    Canvas canvas(400, 300, 0x00336699);
    Colour_Map_Cache colour_map;
    render_plot(job, rect, colour_map, canvas.dc);

    // Cell (i, j) is drawn at (left + i, bottom - j); row 0 lies under the axis labels and column 0 under the
    // ticks, so the border runs through row and column 1. Counter-clockwise in s: rightwards along the
    // bottom, up the right column, leftwards along the top, down the left column.
    std::vector<COLORREF> border;
    const int first = 1, last = size - 1;
    const auto at = [&](int i, int j) { return canvas.at(rect.left + i, rect.bottom - j); };
    for (int i = first; i < last; ++i)
        border.push_back(at(i, first));
    for (int j = first; j < last; ++j)
        border.push_back(at(last, j));
    for (int i = last; i > first; --i)
        border.push_back(at(i, last));
    for (int j = last; j > first; --j)
        border.push_back(at(first, j));
    double turned = 0.0;
    for (std::size_t k = 0; k < border.size(); ++k) {
        double step_angle = oklab_hue(border[(k + 1) % border.size()]) - oklab_hue(border[k]);
        step_angle = std::remainder(step_angle, 2.0 * std::numbers::pi);
        EXPECT_LT(std::fabs(step_angle), 1.0) << "neighbouring border cells differ by little";
        turned += step_angle;
    }
    return turned / (2.0 * std::numbers::pi);
}

using RenderPhase = test_support::Headless_Window_Test;

TEST_F(RenderPhase, HuesTurnCounterClockwiseAroundAZeroAndClockwiseAroundThePole) {
    EXPECT_NEAR(hue_turns_around({0.5, 14.134725141734693}, 0.01, 42), 1.0, 1e-9) << "the first zero";
    EXPECT_NEAR(hue_turns_around({-2.0, 0.0}, 0.01, 42), 1.0, 1e-9) << "the trivial zero at -2";
    EXPECT_NEAR(hue_turns_around({1.0, 0.0}, 0.01, 42), -1.0, 1e-9) << "the pole";
    EXPECT_NEAR(hue_turns_around({0.5, 16.0}, 0.01, 42), 0.0, 1e-9) << "no zero between the first two";
}

TEST_F(RenderPhase, ThePoleIsBlackAndTheLegendRunsFromMinusPiToPi) {
    Plot_Job job;
    job.settings.method = Accurate_Method;
    job.settings.mode = Phase;
    job.settings.real_part = 0.9;
    job.settings.imaginary_part = -0.1;
    job.settings.real_scale = 0.01;
    job.settings.imaginary_scale = 0.01;
    const RECT rect{100, 40, 121, 61};
    start_calculation(job, 21, 21);
    wait_for_calculation(job);
    Canvas canvas(400, 300, 0x00336699);
    Colour_Map_Cache colour_map;
    render_plot(job, rect, colour_map, canvas.dc);
    EXPECT_EQ(canvas.at(rect.left + 10, rect.bottom - 10), Black) << "s = 1";
    // The legend's ends: arg -π and π are the same hue (cyan-blue, opposite red).
    const int bar_row = rect.bottom + 95;
    const double left = oklab_hue(canvas.at(rect.left, bar_row));
    const double right = oklab_hue(canvas.at(rect.right, bar_row));
    EXPECT_NEAR(std::remainder(left - right, 2.0 * std::numbers::pi), 0.0, 0.05);
    EXPECT_NEAR(
        std::remainder(left - (29.23 * std::numbers::pi / 180.0 + std::numbers::pi), 2.0 * std::numbers::pi),
        0.0, 0.05);
}

}  // namespace
