#include "zeta/plot/accurate_fill.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "zeta/plot/parallel_blocks.h"
#include "zeta/plot/plot_geometry.h"

namespace {

constexpr int32_t band_rows = 8;                          // rows of one block
constexpr int64_t column_table_limit = int64_t{4} << 20;  // table entries (n^σ, n^(σ−1)) a worker keeps

// Columns per block: as many as keep each worker's column tables within column_table_limit.
int32_t block_columns(const Plot_Settings& settings, const Value_Grid& grid) {
    int64_t terms = 1;
    for (const int32_t y : {0, grid.height - 1})
        terms = std::max<int64_t>(terms, Accurate_Zeta_Rows::terms_per_cell(row_t(settings, y)));
    return static_cast<int32_t>(std::clamp<int64_t>(column_table_limit / (2 * terms), 1, grid.width));
}

struct Worker {
    int64_t column_block = -1;
    std::unique_ptr<Accurate_Zeta_Rows> rows;
};

}  // namespace

bool fill_accurate_block(Accurate_Zeta_Rows& rows, const Plot_Settings& settings, Value_Grid& grid,
                         int32_t first_column, int32_t first_row, int32_t row_count,
                         const std::atomic<bool>& cancel, std::atomic<int64_t>* cells_done) {
    std::vector<Complex> values(rows.columns());
    const int32_t columns = static_cast<int32_t>(values.size());
    for (int32_t y = first_row; y < first_row + row_count; ++y) {
        if (!rows.evaluate(row_t(settings, y), values.data(), &cancel)) return false;
        for (int32_t i = 0; i < columns; ++i) {
            store_zeta(grid, settings, first_column + i, y, values[static_cast<size_t>(i)]);
        }
        if (cells_done) cells_done->fetch_add(columns, std::memory_order_relaxed);
    }
    return true;
}

bool fill_grid_accurately(const Plot_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
                          int thread_count, std::atomic<int64_t>* cells_done) {
    if (grid.width < 1 || grid.height < 1) return true;
    const int32_t width = block_columns(settings, grid);
    const int64_t column_blocks = (int64_t{grid.width} - 1) / width + 1;
    const int64_t bands = (int64_t{grid.height} - 1) / band_rows + 1;
    std::vector<Worker> workers(static_cast<size_t>(std::max(thread_count, 1)));
    // Blocks go through the bands of one range of columns before the next, so that a worker keeps its
    // column tables from one block to the next.
    return run_blocks(column_blocks * bands, thread_count, cancel, [&](int64_t block, int worker_index) {
        Worker& worker = workers[static_cast<size_t>(worker_index)];
        const int64_t column_block = block / bands;
        const int32_t first_column = static_cast<int32_t>(column_block * width);
        if (worker.column_block != column_block) {
            std::vector<double> sigmas;
            for (int32_t x = first_column; x < std::min(grid.width, first_column + width); ++x)
                sigmas.push_back(column_sigma(settings, x));
            worker.rows = std::make_unique<Accurate_Zeta_Rows>(std::move(sigmas));
            worker.column_block = column_block;
        }
        const int32_t first_row = static_cast<int32_t>(block % bands) * band_rows;
        return fill_accurate_block(*worker.rows, settings, grid, first_column, first_row,
                                   std::min(band_rows, grid.height - first_row), cancel, cells_done);
    });
}
