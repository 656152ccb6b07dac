#include "zeta/value_grid.h"

#include <new>

namespace {

// A grid is refused when its byte count (pointers and cells) does not fit in 32 bits, as on the 32-bit
// target; this also keeps a huge rectangle from reserving memory that the fill would then touch.
constexpr uint64_t largest_grid_bytes = 0xFFFFFFFFull;

bool grid_size_fits(int32_t width, int32_t height) {
    const uint64_t column_bytes = static_cast<uint64_t>(height) * sizeof(double) + sizeof(double*);
    return static_cast<uint64_t>(width) * column_bytes <= largest_grid_bytes;
}

}  // namespace

bool allocate(Value_Grid& grid, int32_t width, int32_t height) {
    grid.columns.clear();
    grid.width = 0;
    grid.height = 0;
    if (width < 0 || height < 0 || !grid_size_fits(width, height)) return false;
    try {
        grid.columns.resize(static_cast<size_t>(width));
        for (auto& column : grid.columns)
            column = std::make_unique<double[]>(static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        grid.columns.clear();
        grid.columns.shrink_to_fit();
        return false;
    }
    grid.width = width;
    grid.height = height;
    return true;
}

void release(Value_Grid& grid) {
    grid.columns.clear();
    grid.columns.shrink_to_fit();
    grid.width = 0;
    grid.height = 0;
    std::lock_guard lock(grid.range_mutex);
    grid.maximum = 0.0;
    grid.minimum = 0.0;
}

void update_range(Value_Grid& grid) {
    if (grid.columns.empty() || !grid.columns[0] || grid.height < 1) return;
    double maximum = read_cell(grid, 0, 0);
    double minimum = maximum;
    for (int32_t x = 0; x < grid.width; ++x) {
        for (int32_t y = 0; y < grid.height; ++y) {
            const double cell = read_cell(grid, x, y);
            if (maximum < cell) maximum = cell;
            if (minimum > cell) minimum = cell;
        }
    }
    std::lock_guard lock(grid.range_mutex);
    grid.maximum = maximum;
    grid.minimum = minimum;
}

Value_Range read_range(const Value_Grid& grid) {
    std::lock_guard lock(grid.range_mutex);
    return Value_Range{grid.minimum, grid.maximum};
}
