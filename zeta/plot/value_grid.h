// The computed cells of a plot, one column of doubles per pixel column, with their smallest and largest
// value.
//
// Threads: the columns, `width` and `height` change only on the UI thread (allocate, release) while no
// calculation runs. During a calculation the worker writes cells and, at the end, the range; the UI thread
// may meanwhile read cells with read_cell (relaxed atomic loads: a cell may still hold an older value) and
// the range with read_range. Do not read `maximum`, `minimum` or cells directly from another thread than the
// writer.
#pragma once

#include <atomic>
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "zeta/plot/plot_settings.h"

struct Value_Range {
    double minimum = 0.0;
    double maximum = 0.0;
};

struct Value_Grid {
    std::vector<std::unique_ptr<double[]>> columns;  // cell [x][y]: y = 0 is the bottom row
    // |ζ| of every cell, laid out like the cells, for quantities coloured as a phase portrait; empty
    // otherwise.
    std::vector<std::unique_ptr<double[]>> moduli;
    // Rows whose cells are all written, for fills that finish whole rows at a time (the accurate method), so
    // that a long calculation can be shown as it goes; `rows_finished` counts them.
    std::unique_ptr<std::atomic<bool>[]> row_finished;
    std::atomic<int32_t> rows_finished{0};
    // What the cells are computed for; written with the columns, on the UI thread.
    Plot_Settings settings;
    int32_t width = 0;
    int32_t height = 0;
    // Columns from this one on have not been set since allocate_unset and read as 0.0.
    std::atomic<int32_t> first_unset_column{INT32_MAX};
    double maximum = 0.0;  // guarded by range_mutex
    double minimum = 0.0;  // guarded by range_mutex
    // Guarded by range_mutex: changes whenever the cells may have changed (allocate, release, update_range).
    // Two reads with equal generations and a range other than 0 / 0 saw the same cells.
    uint64_t generation = 0;
    mutable std::mutex range_mutex;
};

// Allocates `width` columns of `height` cells (set to 0.0), and as many moduli when `with_moduli`; the range
// is left as it is. A grid that cannot be allocated, or whose byte count exceeds largest_grid_bytes(), is
// left empty and false is returned.
bool allocate(Value_Grid& grid, int32_t width, int32_t height, bool with_moduli = false);

// The same without setting the cells, so that no page of a large grid is touched yet: they read as 0.0 until
// clear_cells has set them on whichever thread fills the grid.
bool allocate_unset(Value_Grid& grid, int32_t width, int32_t height, bool with_moduli = false);

// Sets the cells of a grid from allocate_unset to 0.0, column by column; each column reads as set once it is.
// Stops early, returning false, once `cancel` is set.
bool clear_cells(Value_Grid& grid, const std::atomic<bool>& cancel);

// The most bytes (cells and column pointers) a grid may take: what a 32-bit process could address, and at
// most a quarter of the machine's physical memory.
uint64_t largest_grid_bytes();

// Frees the cells; the grid is then empty with the range 0.0 / 0.0. Harmless on an empty grid.
void release(Value_Grid& grid);

// Sets the range to the smallest and largest cell (modulus, where the grid keeps moduli), starting from
// cell [0][0]; NaN cells never win a comparison. Does nothing for a grid without cells.
void update_range(Value_Grid& grid);

Value_Range read_range(const Value_Grid& grid);
// The range and, read with it at once, the grid's generation.
Value_Range read_range(const Value_Grid& grid, uint64_t* generation);

// Cell access that is safe while a calculation writes cells (see above).
inline double read_cell(const Value_Grid& grid, int32_t x, int32_t y) {
    if (x >= grid.first_unset_column.load(std::memory_order_acquire)) return 0.0;
    return std::atomic_ref<double>(grid.columns[static_cast<size_t>(x)][static_cast<size_t>(y)])
        .load(std::memory_order_relaxed);
}

// The cells of column x, to read many at once without atomic loads: only on the UI thread, and only when the
// range read with read_range is not 0 / 0. A calculation starts from a released grid (range 0 / 0) and sets
// the range after its last cell is written, so from then until the next start no cell changes.
inline const double* finished_column(const Value_Grid& grid, int32_t x) {
    return grid.columns[static_cast<size_t>(x)].get();
}

inline void write_cell(Value_Grid& grid, int32_t x, int32_t y, double value) {
    std::atomic_ref<double>(grid.columns[static_cast<size_t>(x)][static_cast<size_t>(y)])
        .store(value, std::memory_order_relaxed);
}

// Marks row y as written whole (after its cells); any thread.
void mark_row_finished(Value_Grid& grid, int32_t y);

inline bool row_is_finished(const Value_Grid& grid, int32_t y) {
    return grid.row_finished[static_cast<size_t>(y)].load(std::memory_order_acquire);
}

// A cell's |ζ| where the grid keeps moduli, safe while a calculation writes them (like read_cell).
inline double read_modulus(const Value_Grid& grid, int32_t x, int32_t y) {
    if (x >= grid.first_unset_column.load(std::memory_order_acquire)) return 0.0;
    return std::atomic_ref<double>(grid.moduli[static_cast<size_t>(x)][static_cast<size_t>(y)])
        .load(std::memory_order_relaxed);
}

// The moduli of column x, under the same conditions as finished_column; only where the grid keeps moduli.
inline const double* finished_moduli(const Value_Grid& grid, int32_t x) {
    return grid.moduli[static_cast<size_t>(x)].get();
}

// Stores the quantity of ζ that `settings` graph into cell [x][y], and |ζ| beside it where the grid keeps
// moduli.
void store_zeta(Value_Grid& grid, const Plot_Settings& settings, int32_t x, int32_t y, const Complex& zeta);
