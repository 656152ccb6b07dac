#include "zeta/plot/accurate_fill.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "zeta/math/accurate_plot.h"
#include "zeta/plot/parallel_blocks.h"
#include "zeta/plot/plot_geometry.h"

bool fill_grid_accurately(const Plot_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
                          int thread_count, std::atomic<int64_t>* cells_done) {
    if (grid.width < 1 || grid.height < 1) return true;
    std::vector<double> sigmas(static_cast<size_t>(grid.width));
    for (int32_t x = 0; x < grid.width; ++x)
        sigmas[static_cast<size_t>(x)] = column_sigma(settings, x);
    std::vector<double> heights(static_cast<size_t>(grid.height));
    for (int32_t y = 0; y < grid.height; ++y)
        heights[static_cast<size_t>(y)] = row_t(settings, y);
    const int workers = std::max(thread_count, 1);
    zeta_math::Accurate_Zeta_Plot plot(std::move(sigmas), std::move(heights), workers);
    std::atomic<bool> out_of_memory{false};
    const bool completed = run_blocks(plot.block_count(), workers, cancel, [&](int64_t block, int worker) {
        // The workers' own threads must not throw: running out of memory stops the fill and is thrown again
        // on the calling thread.
        try {
            const Complex* values = plot.evaluate_block(block, worker, &cancel, cells_done);
            if (!values) return false;
            for (int32_t i = 0; i < plot.row_count(block); ++i) {
                const Complex* row = values + static_cast<size_t>(i) * static_cast<size_t>(grid.width);
                for (int32_t x = 0; x < grid.width; ++x)
                    store_zeta(grid, settings, x, plot.first_row(block) + i, row[x]);
                mark_row_finished(grid, plot.first_row(block) + i);
            }
            return true;
        } catch (const std::bad_alloc&) {
            out_of_memory = true;
            return false;
        }
    });
    if (out_of_memory) throw std::bad_alloc();
    return completed;
}
