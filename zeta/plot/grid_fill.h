// Fills a value grid with the graphed quantity of ζ, without windows: the worker of a plot job calls it, and
// benchmarks and tests call it directly.
//
// Instead of evaluating every cell on its own, the fill computes n^σ once per column (where the shared table
// holds it) and cos and sin of ln(n)·t once per row of each block of cells, in passes of n, and sums each
// cell's terms in increasing n with exactly the operations of evaluate_zeta, so every cell is bit-identical
// to evaluate_zeta at that point (after the mode and the clamp), whatever the number of threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "zeta/plot/parallel_blocks.h"
#include "zeta/plot/plot_settings.h"
#include "zeta/plot/value_grid.h"

// Fills every cell of `grid` (already allocated) for `settings`, using up to `thread_count` threads (the
// calling thread is one of them). `cancel` is tested before every column of a block of cells, so the fill
// stops within a fraction of a millisecond of it being set. Returns true when every cell was filled, false
// when the fill stopped because `cancel` was set. Throws std::bad_alloc when the working tables cannot be
// allocated (Fill_Plan below, besides the grid). `terms_summed`, when given, grows by one for every series
// term that is added to a cell, up to fill_work() for a completed fill; other threads may read it for
// progress.
bool fill_grid(const Plot_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
               int thread_count = calculation_thread_count(), std::atomic<int64_t>* terms_summed = nullptr);

// The number of cell terms that a fill of the grid sums (fits easily for any grid that allocate() accepts).
int64_t fill_work(int32_t width, int32_t height, int32_t precision);

// How the fill cuts the grid: blocks of cells that one worker sums through all terms, block_terms terms at a
// time, and the part of the n^σ table that all workers share.
struct Fill_Plan {
    int32_t block_columns = 0;
    int32_t block_rows = 0;
    int32_t block_terms = 0;
    int32_t shared_terms = 0;  // n^σ of every column is shared for n up to this
    int64_t blocks = 0;
    size_t shared_bytes = 0;  // the shared n^σ table, at most fill_shared_limit
    size_t worker_bytes = 0;  // partial sums and tables of each worker
};

constexpr size_t fill_shared_limit = size_t{16} << 20;

Fill_Plan plan_fill(int32_t width, int32_t height, int32_t precision);
