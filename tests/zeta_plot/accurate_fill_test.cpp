#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "zeta/plot/accurate_fill.h"

namespace {

Plot_Settings settings_at(double sigma, double t, double sigma_step, double t_step) {
    return Plot_Settings{.ceiling = 1e300,
                         .floor = -1e300,
                         .real_part = sigma,
                         .imaginary_part = t,
                         .real_scale = sigma_step,
                         .imaginary_scale = t_step,
                         .mode = Real_Part,
                         .method = Accurate_Method};
}

bool same_bits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Fills a grid with `threads` threads and compares every cell with evaluate_zeta_accurately at that point.
void expect_fill_equals_each_value(const Plot_Settings& settings, int32_t width, int32_t height,
                                   int threads) {
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, width, height));
    const std::atomic<bool> cancel{false};
    std::atomic<int64_t> cells{0};
    ASSERT_TRUE(fill_grid_accurately(settings, grid, cancel, threads, &cells));
    EXPECT_EQ(cells.load(), int64_t{width} * height);
    int mismatches = 0;
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < height; ++y) {
            const Complex s{static_cast<double>(x) * settings.real_scale + settings.real_part,
                            static_cast<double>(y) * settings.imaginary_scale + settings.imaginary_part};
            Complex zeta;
            evaluate_zeta_accurately(s, zeta);
            const double expected = cell_value(settings.mode, zeta, settings.ceiling, settings.floor);
            if (!same_bits(read_cell(grid, x, y), expected) && mismatches++ < 5)
                ADD_FAILURE() << "cell " << x << ", " << y << ": " << read_cell(grid, x, y)
                              << " != " << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace

// Rows from t = −35 to 35 cross both changes of method (|t| = 30) and t = 0; columns from σ = −31 to 31 cross
// the change to the functional equation at σ = −1, the pole and both edges of the domain.
TEST(AccurateFill, EveryCellEqualsItsOwnEvaluationAcrossTheMethodsOnAnyNumberOfThreads) {
    for (const int threads : {1, 3}) {
        SCOPED_TRACE(threads);
        expect_fill_equals_each_value(settings_at(-31.0, -35.0, 2.0, 0.5), 32, 141, threads);
    }
}

// The saddle formula's N = ⌊√(t/2π)⌋ changes from 125 to 126 at t ≈ 99 752 inside this plot.
TEST(AccurateFill, EveryCellEqualsItsOwnEvaluationWhereTheNumberOfTermsChanges) {
    expect_fill_equals_each_value(settings_at(0.0, 99740.0, 0.02, 0.5), 9, 50, 2);
}

TEST(AccurateFill, ThePoleIsNaNAsInTheSeries) {
    Plot_Settings settings = settings_at(1.0, 0.0, 0.0, 0.0);
    settings.mode = Absolute_Value;
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 1, 1));
    const std::atomic<bool> cancel{false};
    ASSERT_TRUE(fill_grid_accurately(settings, grid, cancel, 1));
    EXPECT_TRUE(std::isnan(read_cell(grid, 0, 0)));
}

// A cancel request at t = 10^8 stops both workers long before the plot is done.
TEST(AccurateFill, CancelStopsTheFillHighUp) {
    const Plot_Settings settings = settings_at(0.0, 1e8, 0.02, 0.1);
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 80, 520));
    std::atomic<bool> cancel{false};
    std::atomic<int64_t> cells{0};
    std::thread canceller([&] {
        while (cells.load() == 0)
            std::this_thread::yield();
        cancel = true;
    });
    EXPECT_FALSE(fill_grid_accurately(settings, grid, cancel, 2, &cells));
    canceller.join();
    EXPECT_LT(cells.load(), int64_t{80} * 520 / 4);
}

TEST(AccurateFill, HeightsBeyondTheLimitGiveNaNAtOnce) {
    const Plot_Settings settings = settings_at(0.5, 2 * accurate_height_limit, 0.02, 1.0);
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 3, 3));
    const std::atomic<bool> cancel{false};
    ASSERT_TRUE(fill_grid_accurately(settings, grid, cancel, 2));
    EXPECT_TRUE(std::isnan(read_cell(grid, 2, 2)));
}
