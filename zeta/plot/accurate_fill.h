// Fills a value grid with the graphed quantity of ζ from the accurate method (zeta/math/accurate_zeta.h).
// Every row of the grid has one t and every column one σ: each worker keeps the tables of a range of columns
// and builds the tables of each row it evaluates once for all those columns. Every cell equals
// evaluate_zeta_accurately at that point (after the mode and the clamp).
#pragma once

#include <atomic>
#include <cstdint>

#include "zeta/math/accurate_zeta.h"
#include "zeta/plot/grid_fill.h"
#include "zeta/plot/value_grid.h"

// Fills rows first_row ... first_row + row_count − 1 of the columns that `rows` was made for (their σ, in
// order, from column first_column on). Tests `cancel` before every cell. `cells_done`, when given, grows by
// one per cell. Returns false when stopped by `cancel`.
bool fill_accurate_block(Accurate_Zeta_Rows& rows, const Plot_Settings& settings, Value_Grid& grid,
                         int32_t first_column, int32_t first_row, int32_t row_count,
                         const std::atomic<bool>& cancel, std::atomic<int64_t>* cells_done = nullptr);

// Fills every cell of `grid` (already allocated) on up to `thread_count` threads, in blocks of rows taken
// from a shared counter (run_blocks). Returns true when every cell was filled, false when stopped by
// `cancel`. `cells_done`, when given, grows by one per filled cell, up to width × height.
bool fill_grid_accurately(const Plot_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
                          int thread_count = calculation_thread_count(),
                          std::atomic<int64_t>* cells_done = nullptr);
