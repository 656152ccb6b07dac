#include "zeta/plot/value_grid.h"

#include <algorithm>
#include <cmath>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

bool grid_size_fits(int32_t width, int32_t height, bool with_moduli) {
    const uint64_t column_bytes = static_cast<uint64_t>(height) * sizeof(double) + sizeof(double*);
    return static_cast<uint64_t>(width) * column_bytes * (with_moduli ? 2 : 1) <= largest_grid_bytes();
}

void allocate_planes(std::vector<std::unique_ptr<double[]>>& plane, int32_t width, int32_t height,
                     bool set_cells) {
    plane.resize(static_cast<size_t>(width));
    for (auto& column : plane) {
        if (set_cells) {
            column = std::make_unique<double[]>(static_cast<size_t>(height));
        } else {
            column.reset(new double[static_cast<size_t>(height)]);
        }
    }
}

void drop(std::vector<std::unique_ptr<double[]>>& plane) {
    plane.clear();
    plane.shrink_to_fit();
}

uint64_t physical_memory_bytes() {
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return status.ullTotalPhys;
#else
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0) return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(page_size);
#endif
}

// Cells set at a time between two looks at the cancel flag: a few milliseconds of work.
constexpr size_t cells_per_clear = size_t{1} << 20;

void next_generation(Value_Grid& grid) {
    std::lock_guard lock(grid.range_mutex);
    ++grid.generation;
}

bool allocate_columns(Value_Grid& grid, int32_t width, int32_t height, bool set_cells, bool with_moduli) {
    next_generation(grid);
    grid.columns.clear();
    grid.moduli.clear();
    grid.row_finished.reset();
    grid.rows_finished.store(0, std::memory_order_relaxed);
    grid.width = 0;
    grid.height = 0;
    grid.first_unset_column.store(set_cells ? INT32_MAX : 0, std::memory_order_release);
    if (width < 0 || height < 0 || !grid_size_fits(width, height, with_moduli)) return false;
    try {
        allocate_planes(grid.columns, width, height, set_cells);
        if (with_moduli) allocate_planes(grid.moduli, width, height, set_cells);
        grid.row_finished = std::make_unique<std::atomic<bool>[]>(static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        drop(grid.columns);
        drop(grid.moduli);
        return false;
    }
    grid.width = width;
    grid.height = height;
    return true;
}

}  // namespace

uint64_t largest_grid_bytes() {
    // The 32-bit target's limit; on a smaller machine a quarter of its memory.
    uint64_t largest = 0xFFFFFFFFull;
    if (const uint64_t physical = physical_memory_bytes(); physical != 0)
        largest = std::min(largest, physical / 4);
    return largest;
}

bool allocate(Value_Grid& grid, int32_t width, int32_t height, bool with_moduli) {
    return allocate_columns(grid, width, height, true, with_moduli);
}

bool allocate_unset(Value_Grid& grid, int32_t width, int32_t height, bool with_moduli) {
    return allocate_columns(grid, width, height, false, with_moduli);
}

bool clear_cells(Value_Grid& grid, const std::atomic<bool>& cancel) {
    const size_t height = static_cast<size_t>(grid.height);
    for (int32_t x = std::min(grid.first_unset_column.load(std::memory_order_relaxed), grid.width);
         x < grid.width; ++x) {
        for (auto* plane : {&grid.columns, &grid.moduli}) {
            if (plane->empty()) continue;
            double* column = (*plane)[static_cast<size_t>(x)].get();
            for (size_t y = 0; y < height; y += cells_per_clear) {
                if (cancel.load(std::memory_order_relaxed)) return false;
                std::fill(column + y, column + std::min(height, y + cells_per_clear), 0.0);
            }
        }
        grid.first_unset_column.store(x + 1, std::memory_order_release);
    }
    grid.first_unset_column.store(INT32_MAX, std::memory_order_release);
    return true;
}

void release(Value_Grid& grid) {
    grid.first_unset_column.store(INT32_MAX, std::memory_order_release);
    drop(grid.columns);
    drop(grid.moduli);
    grid.row_finished.reset();
    grid.rows_finished.store(0, std::memory_order_relaxed);
    grid.width = 0;
    grid.height = 0;
    std::lock_guard lock(grid.range_mutex);
    grid.maximum = 0.0;
    grid.minimum = 0.0;
    ++grid.generation;
}

void update_range(Value_Grid& grid) {
    if (grid.columns.empty() || !grid.columns[0] || grid.height < 1) return;
    // Called by the thread that wrote the cells, so they are read directly; columns never set read as 0.0.
    const std::vector<std::unique_ptr<double[]>>& plane = grid.moduli.empty() ? grid.columns : grid.moduli;
    const int32_t first_unset = grid.first_unset_column.load(std::memory_order_acquire);
    double maximum = first_unset > 0 ? plane[0][0] : 0.0;
    double minimum = maximum;
    for (int32_t x = 0; x < grid.width; ++x) {
        const double* column = plane[static_cast<size_t>(x)].get();
        for (int32_t y = 0; y < grid.height; ++y) {
            const double cell = x < first_unset ? column[y] : 0.0;
            if (maximum < cell) maximum = cell;
            if (minimum > cell) minimum = cell;
        }
    }
    std::lock_guard lock(grid.range_mutex);
    grid.maximum = maximum;
    grid.minimum = minimum;
    ++grid.generation;
}

void mark_row_finished(Value_Grid& grid, int32_t y) {
    grid.row_finished[static_cast<size_t>(y)].store(true, std::memory_order_release);
    grid.rows_finished.fetch_add(1, std::memory_order_release);
}

void store_zeta(Value_Grid& grid, const Plot_Settings& settings, int32_t x, int32_t y, const Complex& zeta) {
    write_cell(grid, x, y, cell_value(settings.mode, zeta, settings.ceiling, settings.floor));
    if (!grid.moduli.empty()) {
        std::atomic_ref<double>(grid.moduli[static_cast<size_t>(x)][static_cast<size_t>(y)])
            .store(std::hypot(zeta.real, zeta.imaginary), std::memory_order_relaxed);
    }
}

Value_Range read_range(const Value_Grid& grid) {
    std::lock_guard lock(grid.range_mutex);
    return Value_Range{grid.minimum, grid.maximum};
}

Value_Range read_range(const Value_Grid& grid, uint64_t* generation) {
    std::lock_guard lock(grid.range_mutex);
    *generation = grid.generation;
    return Value_Range{grid.minimum, grid.maximum};
}
