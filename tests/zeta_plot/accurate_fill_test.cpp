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

// Cells of rows that the saddle-point formula sums (30 ≤ |t| ≤ 10^13) differ from evaluate_zeta_accurately by
// rounding: measured below 10^-13 · max(1, |ζ|), allowed 5·10^-13 (as in tests/zeta_math). Other rows take
// the very same path as evaluate_zeta_accurately and equal it.
constexpr double plot_tolerance = 5e-13;

void fill(const Plot_Settings& settings, Value_Grid& grid, int32_t width, int32_t height, int threads) {
    ASSERT_TRUE(allocate(grid, width, height));
    const std::atomic<bool> cancel{false};
    std::atomic<int64_t> cells{0};
    EXPECT_TRUE(fill_grid_accurately(settings, grid, cancel, threads, &cells));
    EXPECT_EQ(cells.load(), int64_t{width} * height);
}

// Fills a grid with 1, 2 and 3 threads: the grids are identical, and every cell is evaluate_zeta_accurately
// at that point (after the mode and the clamp) up to plot_tolerance.
void expect_fill_matches_each_value(const Plot_Settings& settings, int32_t width, int32_t height) {
    Value_Grid grid;
    fill(settings, grid, width, height, 1);
    for (const int threads : {2, 3}) {
        Value_Grid other;
        fill(settings, other, width, height, threads);
        int differences = 0;
        for (int32_t x = 0; x < width; ++x) {
            for (int32_t y = 0; y < height; ++y)
                differences += same_bits(read_cell(grid, x, y), read_cell(other, x, y)) ? 0 : 1;
        }
        EXPECT_EQ(differences, 0) << threads << " threads";
    }
    int mismatches = 0;
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < height; ++y) {
            const Complex s{static_cast<double>(x) * settings.real_scale + settings.real_part,
                            static_cast<double>(y) * settings.imaginary_scale + settings.imaginary_part};
            Complex zeta;
            evaluate_zeta_accurately(s, zeta);
            const double expected = cell_value(settings.mode, zeta, settings.ceiling, settings.floor);
            const double cell = read_cell(grid, x, y);
            // The error is relative to |ζ| even where the graphed part of ζ is small.
            const double scale = std::max(1.0, std::hypot(zeta.real, zeta.imaginary));
            const bool saddle_row = std::fabs(s.imaginary) >= 30.0;
            const bool close =
                saddle_row ? std::fabs(cell - expected) <= plot_tolerance * scale : same_bits(cell, expected);
            if (!close && !(std::isnan(cell) && std::isnan(expected)) && mismatches++ < 5)
                ADD_FAILURE() << "cell " << x << ", " << y << ": " << cell << " != " << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace

// Rows from t = −35 to 35 cross both changes of method (|t| = 30) and t = 0; columns from σ = −31 to 31 cross
// the change to the functional equation at σ = −1, the pole and both edges of the domain.
TEST(AccurateFill, CellsAreTheirOwnEvaluationsAcrossTheMethodsOnAnyNumberOfThreads) {
    expect_fill_matches_each_value(settings_at(-31.0, -35.0, 2.0, 0.5), 32, 141);
}

// The saddle formula's N = ⌊√(t/2π)⌋ changes from 125 to 126 at t ≈ 99 752 inside this plot.
TEST(AccurateFill, CellsAreTheirOwnEvaluationsWhereTheNumberOfTermsChanges) {
    expect_fill_matches_each_value(settings_at(0.0, 99740.0, 0.02, 0.5), 9, 50);
}

// High up, where a block of rows follows one chain of the row recurrence.
TEST(AccurateFill, CellsAreTheirOwnEvaluationsHighUp) {
    expect_fill_matches_each_value(settings_at(-0.5, 3e9, 0.25, 0.37), 9, 40);
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

// A cancel request at t = 10^8 stops both workers soon: what they compute after it is a small part of the
// plot. The canceller may run late on a loaded machine, so the work is counted from the moment the request is
// made.
TEST(AccurateFill, CancelStopsTheFillHighUp) {
    const Plot_Settings settings = settings_at(0.0, 1e8, 0.02, 0.1);
    constexpr int32_t width = 200, height = 4000;
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, width, height));
    std::atomic<bool> cancel{false};
    std::atomic<int64_t> cells{0};
    int64_t cells_when_cancelled = 0;
    std::thread canceller([&] {
        while (cells.load() == 0)
            std::this_thread::yield();
        cancel = true;
        cells_when_cancelled = cells.load();
    });
    EXPECT_FALSE(fill_grid_accurately(settings, grid, cancel, 2, &cells));
    canceller.join();
    EXPECT_LT(cells.load() - cells_when_cancelled, int64_t{width} * height / 8);
}

TEST(AccurateFill, HeightsBeyondTheLimitGiveNaNAtOnce) {
    const Plot_Settings settings = settings_at(0.5, 2 * accurate_height_limit, 0.02, 1.0);
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 3, 3));
    const std::atomic<bool> cancel{false};
    ASSERT_TRUE(fill_grid_accurately(settings, grid, cancel, 2));
    EXPECT_TRUE(std::isnan(read_cell(grid, 2, 2)));
}
