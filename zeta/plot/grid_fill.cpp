#include "zeta/plot/grid_fill.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "zeta/math/zeta_series.h"
#include "zeta/plot/parallel_blocks.h"
#include "zeta/plot/plot_geometry.h"

namespace {

constexpr int32_t block_term_limit = 256;  // terms summed per pass over a block
constexpr int32_t block_column_limit = 1024;
constexpr int32_t block_rows_shared = 16;   // rows of a block when the n^σ table is shared
constexpr int32_t block_rows_private = 64;  // when each block computes its own n^σ
constexpr int32_t cells_per_pass = 4;       // cells of a column summed together

// Adds terms first ... first + count - 1 to `cells` consecutive cells of one column.
template <int cells>
void add_terms(int64_t first, int32_t count, const double* powers, const double* trig, size_t trig_row_stride,
               double* sums) {
    double sum_real[cells];
    double sum_imaginary[cells];
    for (int cell = 0; cell < cells; ++cell) {
        sum_real[cell] = sums[2 * cell];
        sum_imaginary[cell] = sums[2 * cell + 1];
    }
    for (int32_t k = 0; k < count; ++k) {
        const double p = powers[k];
        const double g = zeta_series::term_sign(first + k);
        // Each cell's sum is one long chain of dependent additions; interleaving the independent chains of
        // several cells keeps the divider busy.
#pragma GCC unroll 8
        for (int cell = 0; cell < cells; ++cell) {
            const double* row = trig + cell * trig_row_stride;
            const double c = row[2 * k] * p;
            const double s = row[2 * k + 1] * p;
            zeta_series::add_term(c, s, g, sum_real[cell], sum_imaginary[cell]);
        }
    }
    for (int cell = 0; cell < cells; ++cell) {
        sums[2 * cell] = sum_real[cell];
        sums[2 * cell + 1] = sum_imaginary[cell];
    }
}

// Fills a grid in blocks of cells that the workers take one at a time (see run_blocks). A block sums its
// cells through all terms, a pass of up to block_terms terms at a time: cos and sin of ln(n)·t for its rows
// are its own, and n^σ of a column comes from the table that all blocks share, filled by the first block that
// needs it. A block that finds a part of that table still being filled by another worker computes that part
// itself instead of waiting. The values are the same either way, so the grid does not depend on who did what.
class Grid_Filler {
public:
    Grid_Filler(const Plot_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel, int workers,
                std::atomic<int64_t>* terms_summed)
        : settings_(settings),
          grid_(grid),
          cancel_(cancel),
          terms_summed_(terms_summed),
          plan_(plan_fill(grid.width, grid.height, settings.precision)) {
        const size_t shared_blocks = static_cast<size_t>(blocks_of_terms(plan_.shared_terms));
        const size_t width = static_cast<size_t>(grid.width);
        if (plan_.shared_terms > 0) {
            shared_powers_.reset(new double[width * static_cast<size_t>(plan_.shared_terms)]);
            marks_.reset(new std::atomic<uint8_t>[width * shared_blocks]());
        }
        workspaces_.resize(static_cast<size_t>(std::clamp<int64_t>(plan_.blocks, 1, workers)));
        for (Workspace& workspace : workspaces_)
            workspace.allocate(plan_);
    }

    int workers() const { return static_cast<int>(workspaces_.size()); }

    // False when stopped by the cancel flag.
    bool fill_block(int64_t block, int worker) {
        const int64_t bands = (int64_t{grid_.height} - 1) / plan_.block_rows + 1;
        const int32_t left = static_cast<int32_t>(block / bands) * plan_.block_columns;
        const int32_t bottom = static_cast<int32_t>(block % bands) * plan_.block_rows;
        const int32_t columns = std::min(plan_.block_columns, grid_.width - left);
        const int32_t rows = std::min(plan_.block_rows, grid_.height - bottom);
        Workspace& work = workspaces_[static_cast<size_t>(worker)];
        std::fill(work.sums.begin(), work.sums.end(), 0.0);
        for (int32_t i = 0; i < columns; ++i)
            work.sigmas[i] = column_sigma(settings_, left + i);
        for (int32_t j = 0; j < rows; ++j)
            work.ts[j] = row_t(settings_, bottom + j);
        const int32_t term_blocks = blocks_of_terms(settings_.precision);
        for (int32_t term_block = 0; term_block < term_blocks; ++term_block) {
            const int64_t first = int64_t{term_block} * plan_.block_terms + 1;
            const int32_t count =
                static_cast<int32_t>(std::min<int64_t>(plan_.block_terms, settings_.precision - first + 1));
            fill_trig(work, rows, first, count);
            for (int32_t i = 0; i < columns; ++i) {
                if (cancel_.load(std::memory_order_relaxed)) return false;
                const double* powers = powers_of(work, left + i, term_block, first, count);
                add_column(work, i, rows, powers, first, count);
            }
        }
        finish(work, left, bottom, columns, rows);
        return true;
    }

private:
    struct Workspace {
        std::vector<double> sums;    // [column][row][real, imaginary], rows of block_rows
        std::vector<double> trig;    // [row][k][cos, sin] of ln(n)·t
        std::vector<double> logs;    // [k]: ln(n)
        std::vector<double> powers;  // [k]: n^σ of one column when not taken from the shared table
        std::vector<double> sigmas;  // [column]
        std::vector<double> ts;      // [row]

        void allocate(const Fill_Plan& plan) {
            const size_t columns = static_cast<size_t>(plan.block_columns);
            const size_t rows = static_cast<size_t>(plan.block_rows);
            const size_t terms = static_cast<size_t>(plan.block_terms);
            sums.resize(columns * rows * 2);
            trig.resize(rows * terms * 2);
            logs.resize(terms);
            powers.resize(terms);
            sigmas.resize(columns);
            ts.resize(rows);
        }
    };

    enum : uint8_t { Part_Empty = 0, Part_Filling = 1, Part_Ready = 2 };

    int32_t blocks_of_terms(int32_t terms) const {
        if (terms < 1) return 0;
        return static_cast<int32_t>((int64_t{terms} - 1) / plan_.block_terms + 1);
    }

    void fill_trig(Workspace& work, int32_t rows, int64_t first, int32_t count) {
        for (int32_t k = 0; k < count; ++k)
            work.logs[k] = std::log(static_cast<double>(first + k));
        const size_t stride = static_cast<size_t>(plan_.block_terms) * 2;
        for (int32_t j = 0; j < rows; ++j) {
            double* trig = &work.trig[static_cast<size_t>(j) * stride];
            const double t = work.ts[j];
            for (int32_t k = 0; k < count; ++k) {
                const double theta = work.logs[k] * t;
                trig[2 * k] = std::cos(theta);
                trig[2 * k + 1] = std::sin(theta);
            }
        }
    }

    static void fill_powers(double* powers, double sigma, int64_t first, int32_t count) {
        for (int32_t k = 0; k < count; ++k)
            powers[k] = std::pow(static_cast<double>(first + k), sigma);
    }

    // n^σ of the column for the terms of the term block: from the shared table where it holds them, filled
    // here when nobody has started that part yet; otherwise computed into the workspace.
    const double* powers_of(Workspace& work, int32_t column, int32_t term_block, int64_t first,
                            int32_t count) {
        const double sigma = column_sigma(settings_, column);
        if (first - 1 + count > plan_.shared_terms) {
            fill_powers(work.powers.data(), sigma, first, count);
            return work.powers.data();
        }
        const size_t part =
            static_cast<size_t>(column) * static_cast<size_t>(blocks_of_terms(plan_.shared_terms)) +
            static_cast<size_t>(term_block);
        double* shared =
            &shared_powers_[static_cast<size_t>(column) * static_cast<size_t>(plan_.shared_terms) +
                            static_cast<size_t>(first - 1)];
        std::atomic<uint8_t>& mark = marks_[part];
        uint8_t state = mark.load(std::memory_order_acquire);
        if (state == Part_Ready) return shared;
        if (state == Part_Empty &&
            mark.compare_exchange_strong(state, Part_Filling, std::memory_order_relaxed)) {
            fill_powers(shared, sigma, first, count);
            mark.store(Part_Ready, std::memory_order_release);
            return shared;
        }
        fill_powers(work.powers.data(), sigma, first, count);
        return work.powers.data();
    }

    // Adds the terms to the cells of column i of the block, cells_per_pass rows at a time.
    void add_column(Workspace& work, int32_t i, int32_t rows, const double* powers, int64_t first,
                    int32_t count) {
        const size_t stride = static_cast<size_t>(plan_.block_terms) * 2;
        double* sums = &work.sums[static_cast<size_t>(i) * static_cast<size_t>(plan_.block_rows) * 2];
        int32_t j = 0;
        for (; j + cells_per_pass <= rows; j += cells_per_pass) {
            add_terms<cells_per_pass>(first, count, powers, &work.trig[static_cast<size_t>(j) * stride],
                                      stride, sums + 2 * j);
        }
        for (; j < rows; ++j)
            add_terms<1>(first, count, powers, &work.trig[static_cast<size_t>(j) * stride], stride,
                         sums + 2 * j);
        if (terms_summed_) terms_summed_->fetch_add(int64_t{rows} * count, std::memory_order_relaxed);
    }

    // Divides each sum by the eta factor and stores the cells.
    void finish(const Workspace& work, int32_t left, int32_t bottom, int32_t columns, int32_t rows) {
        for (int32_t i = 0; i < columns; ++i) {
            const double q = std::pow(2.0, 1.0 - work.sigmas[i]);
            const double* sums =
                &work.sums[static_cast<size_t>(i) * static_cast<size_t>(plan_.block_rows) * 2];
            for (int32_t j = 0; j < rows; ++j) {
                const double phi = -(zeta_series::log_of_two() * work.ts[j]);
                const Complex zeta = zeta_series::divide_by_eta_factor(std::cos(phi), std::sin(phi), q,
                                                                       sums[2 * j], sums[2 * j + 1]);
                store_zeta(grid_, settings_, left + i, bottom + j, zeta);
            }
        }
    }

    const Plot_Settings& settings_;
    Value_Grid& grid_;
    const std::atomic<bool>& cancel_;
    std::atomic<int64_t>* const terms_summed_;
    const Fill_Plan plan_;
    std::unique_ptr<double[]> shared_powers_;        // [column][n - 1]: n^σ for n up to shared_terms
    std::unique_ptr<std::atomic<uint8_t>[]> marks_;  // [column][term block]: Part_...
    std::vector<Workspace> workspaces_;              // one per worker
};

}  // namespace

Fill_Plan plan_fill(int32_t width, int32_t height, int32_t precision) {
    Fill_Plan plan;
    const int64_t columns = std::max(width, 1);
    const int64_t rows = std::max(height, 1);
    const int64_t terms = std::max(precision, 0);
    plan.block_terms = static_cast<int32_t>(std::clamp<int64_t>(terms, 1, block_term_limit));
    // n^σ for every column and term when it fits, else for whole term blocks as far as they fit.
    const int64_t shared_limit = static_cast<int64_t>(fill_shared_limit) /
                                 (columns * int64_t{sizeof(double) + 1});  // values and marks
    plan.shared_terms = static_cast<int32_t>(
        terms <= shared_limit ? terms : shared_limit / plan.block_terms * plan.block_terms);
    // Blocks that compute their own n^σ are taller, so that each value serves more cells.
    const bool shared = plan.shared_terms == terms;
    plan.block_rows =
        static_cast<int32_t>(std::min<int64_t>(rows, shared ? block_rows_shared : block_rows_private));
    plan.block_columns = static_cast<int32_t>(
        std::min<int64_t>(columns, shared ? block_column_limit : block_column_limit / 4));
    plan.blocks = ((columns - 1) / plan.block_columns + 1) * ((rows - 1) / plan.block_rows + 1);
    const size_t shared_blocks =
        plan.shared_terms > 0 ? static_cast<size_t>((int64_t{plan.shared_terms} - 1) / plan.block_terms + 1)
                              : 0;
    plan.shared_bytes = static_cast<size_t>(columns) *
                        (static_cast<size_t>(plan.shared_terms) * sizeof(double) + shared_blocks);
    const size_t block_columns = static_cast<size_t>(plan.block_columns);
    const size_t block_rows = static_cast<size_t>(plan.block_rows);
    const size_t block_terms = static_cast<size_t>(plan.block_terms);
    plan.worker_bytes = sizeof(double) * (block_columns * block_rows * 2 + block_rows * block_terms * 2 +
                                          block_terms * 2 + block_columns + block_rows);
    return plan;
}

int64_t fill_work(int32_t width, int32_t height, int32_t precision) {
    return int64_t{std::max(width, 0)} * std::max(height, 0) * std::max(precision, 0);
}

bool fill_grid(const Plot_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
               int thread_count, std::atomic<int64_t>* terms_summed) {
    if (grid.width < 1 || grid.height < 1) return true;
    Grid_Filler filler(settings, grid, cancel, std::max(thread_count, 1), terms_summed);
    return run_blocks(plan_fill(grid.width, grid.height, settings.precision).blocks, filler.workers(), cancel,
                      [&filler](int64_t block, int worker) { return filler.fill_block(block, worker); });
}
