#include "zeta/plot/plot_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "zeta/plot/view_history.h"

namespace {

Plot_Settings settings_at(double real_part, double imaginary_part, double real_scale,
                          double imaginary_scale) {
    Plot_Settings settings;
    settings.real_part = real_part;
    settings.imaginary_part = imaginary_part;
    settings.real_scale = real_scale;
    settings.imaginary_scale = imaginary_scale;
    return settings;
}

TEST(PlotGeometry, ACellsSIsItsIndexTimesTheScalePlusTheCornerRoundedOnce) {
    const Plot_Settings settings = settings_at(0.1, 1e8 + 0.3, 0.07, 0.003);
    for (const int column : {0, 1, 7, 999}) {
        for (const int row : {0, 1, 519, 100000}) {
            const Complex s = cell_s(settings, column, row);
            const double sigma = 0.07 * static_cast<double>(column);
            const double t = 0.003 * static_cast<double>(row);
            EXPECT_EQ(s.real, sigma + 0.1);
            EXPECT_EQ(s.imaginary, t + (1e8 + 0.3));
        }
    }
}

TEST(PlotGeometry, PositionsInvertTheCellsSAndTheNearestRowRoundsToTheClosestRow) {
    const Plot_Settings settings = settings_at(-1.5, 14.0, 0.02, 0.1);
    EXPECT_NEAR(column_position(settings, 0.5), 100.0, 1e-9);
    EXPECT_NEAR(row_position(settings, 14.134725), 1.34725, 1e-9);
    EXPECT_EQ(nearest_row(settings, 520, 14.134725), 1);
    EXPECT_EQ(nearest_row(settings, 520, 14.16), 2);
    EXPECT_EQ(nearest_row(settings, 520, 13.96), 0) << "within half a row below row 0";
    EXPECT_EQ(nearest_row(settings, 520, 13.94), std::nullopt);
    EXPECT_EQ(nearest_row(settings, 520, 14.0 + 519.4 * 0.1), 519);
    EXPECT_EQ(nearest_row(settings, 520, 14.0 + 519.6 * 0.1), std::nullopt);
    EXPECT_EQ(nearest_row(settings, 520, std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(nearest_row(settings_at(0.0, 0.0, 0.0, 0.0), 520, 3.0), std::nullopt) << "a zero scale";
    // A negative scale counts rows downward in t.
    EXPECT_EQ(nearest_row(settings_at(0.0, 10.0, 0.1, -0.5), 20, 8.0), 4);
}

TEST(PlotGeometry, APixelsCellCountsColumnsFromTheLeftAndRowsUpFromTheBottom) {
    const Plot_Area area{100, 60, 180, 580};
    EXPECT_EQ(cell_at_pixel(area, 100, 579)->column, 0);
    EXPECT_EQ(cell_at_pixel(area, 100, 579)->row, 1);
    EXPECT_EQ(cell_at_pixel(area, 100, 580)->row, 0);
    EXPECT_EQ(cell_at_pixel(area, 179, 61)->column, 79);
    EXPECT_EQ(cell_at_pixel(area, 179, 61)->row, 519);
    EXPECT_FALSE(cell_at_pixel(area, 180, 300)) << "the right edge holds no cell";
    EXPECT_FALSE(cell_at_pixel(area, 99, 300));
    EXPECT_FALSE(cell_at_pixel(area, 140, 60)) << "nor the top edge";
    EXPECT_FALSE(cell_at_pixel(area, 140, 581));
    EXPECT_FALSE(cell_at_pixel(Plot_Area{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, INT32_MAX - 1, 0))
        << "beyond 32-bit cell indexes";
}

TEST(PlotSettings, AreEqualFieldByFieldWithNaNEqualToNaN) {
    const Plot_Settings start = start_up_settings();
    EXPECT_EQ(start, start_up_settings());
    Plot_Settings other = start;
    other.method = Accurate_Method;
    EXPECT_FALSE(other == start);
    other = start;
    other.precision = 99;
    EXPECT_FALSE(other == start);
    other = start;
    other.ceiling = std::nan("");
    EXPECT_FALSE(other == start);
    Plot_Settings same_nan = other;
    EXPECT_TRUE(same_nan == other);
    other.floor = -0.0;
    same_nan.floor = 0.0;
    EXPECT_TRUE(same_nan == other) << "-0 and 0 are the same setting";
}

TEST(ZoomAboutCell, KeepsTheCellsS) {
    Plot_Settings settings = settings_at(0.3, 1e8 + 0.25, 0.013, 0.7);
    const Complex before = cell_s(settings, 37, 411);
    zoom_about_cell(settings, 37, 411, 1);
    EXPECT_EQ(settings.real_scale, 0.013 * 0.8);
    const Complex after = cell_s(settings, 37, 411);
    EXPECT_NEAR(after.real, before.real, 1e-15);
    EXPECT_NEAR(after.imaginary, before.imaginary, 1e-7);
}

}  // namespace
