#include "zeta/plot/grid_fill.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "tests/support/sanitizer_scale.h"
#include "zeta/math/zeta_function.h"

namespace {

std::string describe(const Plot_Settings& s, int32_t width, int32_t height) {
    std::ostringstream text;
    text.precision(17);
    text << width << "x" << height << " precision " << s.precision << " mode " << s.mode << " real "
         << s.real_part << " + x*" << s.real_scale << " imaginary " << s.imaginary_part << " + y*"
         << s.imaginary_scale << " ceiling " << s.ceiling << " floor " << s.floor;
    return text.str();
}

// Evaluates every cell on its own and compares the filled grid bit for bit (NaN and infinities included).
void expect_same_as_each_cell_evaluated(const Plot_Settings& settings, int32_t width, int32_t height,
                                        int thread_count) {
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, width, height));
    std::atomic<bool> cancel{false};
    ASSERT_TRUE(fill_grid(settings, grid, cancel, thread_count));
    int mismatches = 0;
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < height; ++y) {
            const Complex s{static_cast<double>(x) * settings.real_scale + settings.real_part,
                            static_cast<double>(y) * settings.imaginary_scale + settings.imaginary_part};
            Complex zeta;
            evaluate_zeta(settings.precision, s, zeta);
            const double expected = cell_value(settings.mode, zeta, settings.ceiling, settings.floor);
            const double actual = read_cell(grid, x, y);
            if (std::memcmp(&expected, &actual, sizeof(double)) != 0 && ++mismatches <= 3) {
                ADD_FAILURE() << "cell [" << x << "][" << y << "] is " << actual << ", evaluated " << expected
                              << " (" << describe(settings, width, height) << ", " << thread_count
                              << " threads)";
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << describe(settings, width, height);
}

Plot_Settings random_settings(std::mt19937_64& random, int32_t precision) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Plot_Settings settings;
    settings.real_part = -3.0 + 6.0 * unit(random);
    settings.imaginary_part = -40.0 + 80.0 * unit(random);
    settings.real_scale = -0.2 + 0.4 * unit(random);
    settings.imaginary_scale = -0.5 + 1.0 * unit(random);
    settings.ceiling = -1.0 + 6.0 * unit(random);
    settings.floor = -5.0 + 6.0 * unit(random);  // now and then above the ceiling
    settings.mode = static_cast<Graph_Mode>(random() % 4);
    settings.precision = precision;
    return settings;
}

Plot_Settings settings_with(double real_part, double real_scale, double imaginary_part,
                            double imaginary_scale, Graph_Mode mode, int32_t precision) {
    return Plot_Settings{.ceiling = 5.0,
                         .floor = -5.0,
                         .real_part = real_part,
                         .imaginary_part = imaginary_part,
                         .real_scale = real_scale,
                         .imaginary_scale = imaginary_scale,
                         .precision = precision,
                         .mode = mode};
}

TEST(FillGrid, EveryCellIsBitIdenticalToEvaluatingItAlone) {
    std::mt19937_64 random(20240611);
    const int cases = scaled(6, 3);
    const int thread_counts[] = {1, 2, 3, 7};
    for (const int32_t precision : {0, 1, 2, 100, 3000}) {
        for (int i = 0; i < cases; ++i) {
            const Plot_Settings settings = random_settings(random, precision);
            const int32_t small = precision > 1000 ? 5 : 13;
            const int32_t large = precision > 1000 ? 9 : 37;
            expect_same_as_each_cell_evaluated(settings, small, large, thread_counts[i % 4]);
            expect_same_as_each_cell_evaluated(settings, large, small, thread_counts[(i + 1) % 4]);
        }
    }
}

TEST(FillGrid, EveryThreadCountGivesTheSameCells) {
    // Odd sizes with partial blocks of rows and columns; a few blocks fewer and more than threads.
    const Plot_Settings settings = settings_with(0.05, 0.021, -7.3, 0.37, Reciprocal_Absolute_Value, 300);
    for (const int threads : {1, 2, 3, 7}) {
        expect_same_as_each_cell_evaluated(settings, 23, 51, threads);
        expect_same_as_each_cell_evaluated(settings, 3, 17, threads);
    }
}

TEST(FillGrid, NaNAndInfiniteCellsAreBitIdenticalToo) {
    for (const Graph_Mode mode : {Absolute_Value, Real_Part, Imaginary_Part, Reciprocal_Absolute_Value}) {
        // Column 2 at σ = 1 and row 3 at t = 0: the cell s = 1 is NaN.
        expect_same_as_each_cell_evaluated(settings_with(0.5, 0.25, -1.5, 0.5, mode, 100), 5, 7, 2);
        // n^σ overflows (the t = 0 row gives 0 · ∞) and underflows.
        expect_same_as_each_cell_evaluated(settings_with(395.0, 2.0, -1.0, 0.5, mode, 100), 6, 5, 2);
        expect_same_as_each_cell_evaluated(settings_with(-420.0, 3.0, -1.0, 0.5, mode, 50), 6, 5, 2);
        // Settings that are not numbers at all, as the Options window may produce.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double infinity = std::numeric_limits<double>::infinity();
        expect_same_as_each_cell_evaluated(settings_with(nan, 0.1, 2.0, 0.5, mode, 20), 3, 4, 2);
        expect_same_as_each_cell_evaluated(settings_with(0.5, 0.1, infinity, 0.5, mode, 20), 3, 4, 2);
        expect_same_as_each_cell_evaluated(settings_with(nan, 0.1, -infinity, 0.0, mode, 20), 3, 4, 2);
    }
}

TEST(FillGrid, GridsOfManyBlocksAreBitIdentical) {
    // Too wide for n^σ of every term to be shared: the later terms (or all) are computed by each block.
    expect_same_as_each_cell_evaluated(settings_with(0.2, 0.0007, 3.0, 0.9, Real_Part, 1100), 2100, 3, 3);
    expect_same_as_each_cell_evaluated(settings_with(-0.4, 0.0003, 9.0, 0.4, Absolute_Value, 300), 9000, 2,
                                       2);
    const int32_t tall = scaled(600001, 300001);
    expect_same_as_each_cell_evaluated(settings_with(0.3, 0.01, -50.0, 0.001, Real_Part, 1), 1, tall, 2);
    expect_same_as_each_cell_evaluated(settings_with(-50.0, 0.001, 0.3, 0.01, Imaginary_Part, 2), tall, 1, 1);
    const int32_t side = scaled(700, 530);
    expect_same_as_each_cell_evaluated(settings_with(0.1, 0.003, -20.0, 0.07, Absolute_Value, 2), side, side,
                                       1);
}

TEST(FillGrid, ACancelRequestStopsBeforeTheFirstCell) {
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 40, 30));
    for (int32_t x = 0; x < 40; ++x) {
        for (int32_t y = 0; y < 30; ++y)
            write_cell(grid, x, y, 123.0);
    }
    std::atomic<bool> cancel{true};
    for (const int threads : {1, 2, 7}) {
        EXPECT_FALSE(fill_grid(settings_with(0.0, 0.02, -5.0, 0.1, Real_Part, 100), grid, cancel, threads));
        for (int32_t x = 0; x < 40; ++x) {
            for (int32_t y = 0; y < 30; ++y)
                ASSERT_EQ(read_cell(grid, x, y), 123.0);
        }
    }
}

TEST(FillGrid, CountsEveryTermOfEveryCellOnce) {
    // A partial pass of cells, several blocks of terms, several tiles.
    const int32_t cases[][3] = {{7, 13, 100}, {3, 5, 2500}, {1, 300001, 2}};
    for (const auto& [width, height, precision] : cases) {
        const int64_t work = int64_t{width} * height * precision;
        EXPECT_EQ(fill_work(width, height, precision), work);
        for (const int threads : {1, 3}) {
            Value_Grid grid;
            ASSERT_TRUE(allocate(grid, width, height));
            std::atomic<bool> cancel{false};
            std::atomic<int64_t> terms_summed{0};
            ASSERT_TRUE(fill_grid(settings_with(0.3, 0.01, -5.0, 0.1, Real_Part, precision), grid, cancel,
                                  threads, &terms_summed));
            EXPECT_EQ(terms_summed.load(), work) << width << "x" << height << ", " << threads << " threads";
        }
    }
}

TEST(FillGrid, AGridWithoutCellsIsFilledAtOnce) {
    Value_Grid grid;
    std::atomic<bool> cancel{false};
    EXPECT_TRUE(fill_grid(settings_with(0.0, 0.02, -5.0, 0.1, Real_Part, 100), grid, cancel, 2));
}

TEST(PlanFill, TheWorkspaceStaysUnderTheLimit) {
    const int32_t sizes[][2] = {
        {1, 1},         {80, 520},      {260, 80},   {1000, 1000}, {1, INT32_MAX},
        {INT32_MAX, 1}, {65536, 65536}, {5, 300000}, {300000, 5},  {INT32_MAX, INT32_MAX}};
    for (const auto& size : sizes) {
        for (const int32_t precision : {0, 1, 100, 3000, INT32_MAX}) {
            const Fill_Plan plan = plan_fill(size[0], size[1], precision);
            EXPECT_LE(plan.shared_bytes, fill_shared_limit) << size[0] << "x" << size[1];
            EXPECT_LE(plan.worker_bytes, size_t{2} << 20) << size[0] << "x" << size[1];
            EXPECT_GE(plan.block_terms, 1);
            EXPECT_GE(plan.block_columns, 1);
            EXPECT_GE(plan.block_rows, 1);
            EXPECT_LE(plan.block_columns, size[0]);
            EXPECT_LE(plan.block_rows, size[1]);
            EXPECT_LE(plan.shared_terms, std::max(precision, 0));
            // Every cell lies in exactly one block.
            const int64_t columns = (int64_t{size[0]} - 1) / plan.block_columns + 1;
            const int64_t rows = (int64_t{size[1]} - 1) / plan.block_rows + 1;
            EXPECT_EQ(plan.blocks, columns * rows);
        }
    }
}

}  // namespace
