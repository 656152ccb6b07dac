// ζ on a plot with the accurate method: columns of constant σ, rows of constant t, evaluated a block of rows
// at a time by any number of workers.
//
// Rows with |t| ≥ 30 take the saddle-point formula (zeta/math/saddle_point.h), and their cell sums
// Σ n^-σ n^-it over every column and row of a block at once are a matrix product (power_sum_kernel.h): the
// columns' powers n^-σ come panel by panel from Column_Powers, the rows' n^-it from Row_Phases, each built
// once per block for all its cells. Other rows (|t| < 30, beyond accurate_height_limit, not finite) go
// through Accurate_Zeta_Rows and equal evaluate_zeta_accurately.
//
// The values do not depend on the number of workers, on how the blocks are shared out, or on the processor
// (kernel variant); they differ from evaluate_zeta_accurately by rounding only: the tests measure it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "zeta/math/zeta_function.h"

namespace zeta_math {

class Accurate_Zeta_Plot {
public:
    // `sigmas`: the σ of each column; `heights`: the t of each row. Up to `workers` workers (numbered 0 ...
    // workers − 1) may evaluate blocks at once, each with a workspace of its own.
    Accurate_Zeta_Plot(std::vector<double> sigmas, std::vector<double> heights, int workers);
    ~Accurate_Zeta_Plot();
    Accurate_Zeta_Plot(const Accurate_Zeta_Plot&) = delete;
    Accurate_Zeta_Plot& operator=(const Accurate_Zeta_Plot&) = delete;

    int64_t block_count() const;
    int32_t first_row(int64_t block) const;
    int32_t row_count(int64_t block) const;
    int32_t columns() const;

    // Evaluates the cells of the block's rows into the worker's array of values, which it returns: value
    // (row − first_row(block)) · columns() + column, valid until the worker's next block. Tests `cancel`
    // (when given) at least every millisecond or so and returns null once it is set. `cells_done`, when
    // given, grows as the work goes on, by the block's cell count in all when it completes. Throws
    // std::bad_alloc when its tables do not fit in memory.
    const Complex* evaluate_block(int64_t block, int worker, const std::atomic<bool>* cancel = nullptr,
                                  std::atomic<int64_t>* cells_done = nullptr);

private:
    struct Worker;
    struct Row_Layout;

    std::vector<double> sigmas_;
    std::vector<double> heights_;
    std::vector<int32_t> block_starts_;  // the first row of each block, then the number of rows
    std::unique_ptr<Row_Layout> layout_;
    std::vector<std::unique_ptr<Worker>> workers_;
};

}  // namespace zeta_math
