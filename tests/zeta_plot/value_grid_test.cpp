#include "zeta/plot/value_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

#include <unistd.h>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

void fill_with(Value_Grid& grid, double value) {
    for (int32_t x = 0; x < grid.width; ++x) {
        for (int32_t y = 0; y < grid.height; ++y)
            write_cell(grid, x, y, value);
    }
}

TEST(ValueGrid, ReleaseEmptiesTheGridAndZeroesTheRange) {
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 2, 2));
    fill_with(grid, 4.0);
    update_range(grid);
    release(grid);
    EXPECT_TRUE(grid.columns.empty());
    EXPECT_EQ(grid.width, 0);
    EXPECT_EQ(grid.height, 0);
    EXPECT_EQ(read_range(grid).maximum, 0.0);
    EXPECT_EQ(read_range(grid).minimum, 0.0);
    release(grid);
    EXPECT_EQ(grid.width, 0);
}

TEST(ValueGrid, AGridTooLargeToAllocateIsLeftEmpty) {
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 2, 2));
    EXPECT_FALSE(allocate(grid, 100000, 100000));
    EXPECT_TRUE(grid.columns.empty());
    EXPECT_EQ(grid.width, 0);
    EXPECT_EQ(grid.height, 0);
    EXPECT_FALSE(allocate(grid, INT32_MAX, 1));
    EXPECT_FALSE(allocate(grid, 1, INT32_MAX));
    EXPECT_FALSE(allocate(grid, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(grid.columns.empty());
}

// Resident memory of this process, from /proc.
int64_t resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    int64_t size = 0;
    int64_t resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGE_SIZE);
}

TEST(ValueGrid, AnUnsetGridTouchesNoCellUntilItIsCleared) {
    EXPECT_LE(largest_grid_bytes(), uint64_t{0xFFFFFFFF});
    EXPECT_LE(largest_grid_bytes(),
              static_cast<uint64_t>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGE_SIZE) / 4);
    constexpr int32_t width = 64;
    constexpr int32_t height = 1 << 19;  // 256 MiB of cells
    const int64_t before = resident_bytes();
    Value_Grid grid;
    ASSERT_TRUE(allocate_unset(grid, width, height));
    EXPECT_LT(resident_bytes() - before, int64_t{64} << 20) << "allocating set the cells";
    EXPECT_EQ(read_cell(grid, 0, 0), 0.0);
    EXPECT_EQ(read_cell(grid, width - 1, height - 1), 0.0);

    std::atomic<bool> cancel{true};
    EXPECT_FALSE(clear_cells(grid, cancel));
    EXPECT_EQ(read_cell(grid, 0, 5), 0.0);
    cancel = false;
    ASSERT_TRUE(clear_cells(grid, cancel));
    write_cell(grid, width - 1, height - 1, 7.0);
    EXPECT_EQ(read_cell(grid, width - 1, height - 1), 7.0);
    EXPECT_EQ(read_cell(grid, 3, 12345), 0.0);
}

TEST(UpdateRange, FindsTheSmallestAndLargestCell) {
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 3, 2));
    fill_with(grid, 1.0);
    write_cell(grid, 2, 1, 4.0);
    write_cell(grid, 1, 0, -2.0);
    update_range(grid);
    EXPECT_EQ(read_range(grid).maximum, 4.0);
    EXPECT_EQ(read_range(grid).minimum, -2.0);
}

TEST(UpdateRange, ANaNCellElsewhereIsIgnored) {
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 2, 3));
    fill_with(grid, 0.5);
    write_cell(grid, 1, 1, nan);
    write_cell(grid, 1, 2, -0.25);
    update_range(grid);
    EXPECT_EQ(read_range(grid).maximum, 0.5);
    EXPECT_EQ(read_range(grid).minimum, -0.25);
}

TEST(UpdateRange, ANaNFirstCellMakesBothEndsNaN) {
    Value_Grid grid;
    ASSERT_TRUE(allocate(grid, 2, 3));
    fill_with(grid, 0.5);
    write_cell(grid, 0, 0, nan);
    write_cell(grid, 1, 2, 9.0);
    update_range(grid);
    EXPECT_TRUE(std::isnan(read_range(grid).maximum));
    EXPECT_TRUE(std::isnan(read_range(grid).minimum));
}

TEST(UpdateRange, DoesNothingWithoutCells) {
    Value_Grid grid;
    grid.maximum = 2.0;
    grid.minimum = 1.0;
    update_range(grid);
    EXPECT_EQ(read_range(grid).maximum, 2.0);
    ASSERT_TRUE(allocate(grid, 0, 5));
    update_range(grid);
    EXPECT_EQ(read_range(grid).minimum, 1.0);
}

}  // namespace
