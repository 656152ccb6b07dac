// Fills a value grid with the graphed quantity of ζ from the accurate method: the columns' σ and the rows' t
// go to zeta_math::Accurate_Zeta_Plot (zeta/math/accurate_plot.h), whose blocks of rows the workers share.
// Cells differ from evaluate_zeta_accurately at the same point by rounding only (tests measure how much), and
// do not depend on the number of threads.
#pragma once

#include <atomic>
#include <cstdint>

#include "zeta/math/accurate_zeta.h"
#include "zeta/plot/grid_fill.h"
#include "zeta/plot/value_grid.h"

// Fills every cell of `grid` (already allocated) on up to `thread_count` threads, in blocks of rows taken
// from a shared counter (run_blocks). Returns true when every cell was filled, false when stopped by
// `cancel`. `cells_done`, when given, grows with the work done, up to width × height. Throws std::bad_alloc
// when the tables do not fit in memory.
bool fill_grid_accurately(const Plot_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
                          int thread_count = calculation_thread_count(),
                          std::atomic<int64_t>* cells_done = nullptr);
