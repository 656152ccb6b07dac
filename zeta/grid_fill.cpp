#include "zeta/grid_fill.h"

#include <algorithm>
#include <barrier>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#include "zeta/zeta_series.h"

namespace {

constexpr int64_t tile_cell_limit = int64_t{1} << 18;    // partial sums: 4 MiB
constexpr int64_t table_byte_limit = int64_t{16} << 20;  // n^σ, cos and sin tables of one block of terms
constexpr int32_t block_term_limit = 1024;
constexpr int32_t cells_per_pass = 4;     // cells of a column summed together
constexpr int32_t cells_per_finish = 64;  // cells of a column finished by one work item

struct Tile {
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t columns = 0;
    int32_t rows = 0;
};

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

// Fills a grid tile by tile. Per tile and block of terms, the threads first build the tables (n^σ per column,
// cos and sin of ln(n)·t per row), then sum the cells, then finish them. Each phase hands out its work items
// to whichever thread asks next, and the threads meet at a barrier between phases.
class Grid_Filler {
public:
    Grid_Filler(const Calculation_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
                int thread_count, std::atomic<int64_t>* terms_summed)
        : settings_(settings),
          grid_(grid),
          cancel_(cancel),
          terms_summed_(terms_summed),
          plan_(plan_fill(grid.width, grid.height, settings.precision)),
          barrier_(thread_count, Phase_End{this}) {
        const size_t columns = static_cast<size_t>(plan_.tile_columns);
        const size_t rows = static_cast<size_t>(plan_.tile_rows);
        const size_t block = static_cast<size_t>(plan_.block_terms);
        sums_.resize(columns * rows * 2);
        powers_.resize(columns * block);
        trig_.resize(rows * block * 2);
        logs_.resize(block);
        sigmas_.resize(columns);
        factor_q_.resize(columns);
        ts_.resize(rows);
        factor_trig_.resize(rows * 2);
    }

    // False when stopped by the cancel flag.
    bool work() {
        for (int32_t left = 0; left < grid_.width; left += plan_.tile_columns) {
            for (int32_t bottom = 0; bottom < grid_.height; bottom += plan_.tile_rows) {
                const Tile tile{left, bottom, std::min(plan_.tile_columns, grid_.width - left),
                                std::min(plan_.tile_rows, grid_.height - bottom)};
                if (!fill_tile(tile)) return false;
            }
        }
        return true;
    }

    // Stands in for a second thread that could not be started.
    void leave() { barrier_.arrive_and_drop(); }

private:
    struct Phase_End {
        Grid_Filler* filler;
        void operator()() noexcept {
            filler->next_item_.store(0, std::memory_order_relaxed);
            filler->stop_after_phase_ = filler->stopped_.load(std::memory_order_relaxed);
        }
    };

    // Runs the phase's items, one at a time from a shared counter, and waits for the other thread. The cancel
    // flag is tested before every item. False when the fill stops.
    template <class Item>
    bool run_phase(int64_t items, Item&& item) {
        for (;;) {
            const int64_t index = next_item_.fetch_add(1, std::memory_order_relaxed);
            if (index >= items) break;
            if (cancel_.load(std::memory_order_relaxed)) {
                stopped_.store(true, std::memory_order_relaxed);
                break;
            }
            item(index);
        }
        barrier_.arrive_and_wait();
        // Read only between two barriers, so both threads take the same decision.
        return !stop_after_phase_;
    }

    int32_t blocks() const {
        if (settings_.precision < 1) return 0;
        return static_cast<int32_t>((int64_t{settings_.precision} - 1) / plan_.block_terms + 1);
    }

    int64_t first_term(int32_t block) const { return int64_t{block} * plan_.block_terms + 1; }

    int32_t terms_in(int32_t block) const {
        return static_cast<int32_t>(
            std::min<int64_t>(plan_.block_terms, int64_t{settings_.precision} - first_term(block) + 1));
    }

    void fill_logs(int32_t block) {
        const int64_t first = first_term(block);
        for (int32_t k = 0; k < terms_in(block); ++k)
            logs_[k] = std::log(static_cast<double>(first + k));
    }

    bool fill_tile(const Tile& tile) {
        const int32_t blocks = this->blocks();
        if (!run_phase(int64_t{tile.columns} + tile.rows + 1,
                       [&](int64_t item) { set_up(tile, item, blocks); })) {
            return false;
        }
        const int32_t groups = (tile.rows + cells_per_pass - 1) / cells_per_pass;
        for (int32_t block = 0; block < blocks; ++block) {
            if (!run_phase(int64_t{tile.columns} + tile.rows,
                           [&](int64_t item) { fill_tables(tile, item, block); })) {
                return false;
            }
            const int64_t sums = int64_t{tile.columns} * groups;
            const bool next_block = block + 1 < blocks;
            if (!run_phase(sums + (next_block ? 1 : 0), [&](int64_t item) {
                    if (item == sums) {
                        fill_logs(block + 1);
                    } else {
                        add_block(tile, static_cast<int32_t>(item / groups),
                                  static_cast<int32_t>(item % groups) * cells_per_pass, block);
                    }
                })) {
                return false;
            }
        }
        const int32_t finishes = (tile.rows + cells_per_finish - 1) / cells_per_finish;
        return run_phase(int64_t{tile.columns} * finishes, [&](int64_t item) {
            finish(tile, static_cast<int32_t>(item / finishes),
                   static_cast<int32_t>(item % finishes) * cells_per_finish);
        });
    }

    // Coordinates and the factor 1 / (1 - 2^(1 - s)) of a column or a row, or the logarithms of the first
    // block.
    void set_up(const Tile& tile, int64_t item, int32_t blocks) {
        if (item < tile.columns) {
            const int32_t i = static_cast<int32_t>(item);
            sigmas_[i] = static_cast<double>(tile.left + i) * settings_.real_scale + settings_.real_part;
            factor_q_[i] = std::pow(2.0, 1.0 - sigmas_[i]);
            double* sums = &sums_[static_cast<size_t>(i) * tile.rows * 2];
            std::fill(sums, sums + static_cast<size_t>(tile.rows) * 2, 0.0);
        } else if (item < int64_t{tile.columns} + tile.rows) {
            const int32_t j = static_cast<int32_t>(item - tile.columns);
            ts_[j] =
                static_cast<double>(tile.bottom + j) * settings_.imaginary_scale + settings_.imaginary_part;
            const double phi = -(zeta_series::log_of_two() * ts_[j]);
            factor_trig_[2 * j] = std::cos(phi);
            factor_trig_[2 * j + 1] = std::sin(phi);
        } else if (blocks > 0) {
            fill_logs(0);
        }
    }

    // n^σ of a column, or cos and sin of ln(n)·t of a row, for the terms of the block.
    void fill_tables(const Tile& tile, int64_t item, int32_t block) {
        const size_t stride = static_cast<size_t>(plan_.block_terms);
        const int64_t first = first_term(block);
        const int32_t count = terms_in(block);
        if (item < tile.columns) {
            double* powers = &powers_[static_cast<size_t>(item) * stride];
            const double sigma = sigmas_[item];
            for (int32_t k = 0; k < count; ++k)
                powers[k] = std::pow(static_cast<double>(first + k), sigma);
        } else {
            const size_t j = static_cast<size_t>(item - tile.columns);
            double* trig = &trig_[j * stride * 2];
            const double t = ts_[j];
            for (int32_t k = 0; k < count; ++k) {
                const double theta = logs_[k] * t;
                trig[2 * k] = std::cos(theta);
                trig[2 * k + 1] = std::sin(theta);
            }
        }
    }

    // Adds the block's terms to up to cells_per_pass cells of column i from row j on.
    void add_block(const Tile& tile, int32_t i, int32_t j, int32_t block) {
        const size_t stride = static_cast<size_t>(plan_.block_terms);
        const int64_t first = first_term(block);
        const int32_t count = terms_in(block);
        const double* powers = &powers_[static_cast<size_t>(i) * stride];
        double* sums = &sums_[(static_cast<size_t>(i) * tile.rows + j) * 2];
        const double* trig = &trig_[static_cast<size_t>(j) * stride * 2];
        if (terms_summed_) {
            const int32_t cells = std::min(cells_per_pass, tile.rows - j);
            terms_summed_->fetch_add(int64_t{cells} * count, std::memory_order_relaxed);
        }
        if (j + cells_per_pass <= tile.rows) {
            add_terms<cells_per_pass>(first, count, powers, trig, stride * 2, sums);
            return;
        }
        for (int32_t cell = 0; j + cell < tile.rows; ++cell) {
            add_terms<1>(first, count, powers, trig + cell * stride * 2, stride * 2, sums + 2 * cell);
        }
    }

    // Divides the sums of column i from row j on by the eta factor and stores the cells.
    void finish(const Tile& tile, int32_t i, int32_t j) {
        const double* sums = &sums_[static_cast<size_t>(i) * tile.rows * 2];
        const int32_t end = std::min(tile.rows, j + cells_per_finish);
        for (; j < end; ++j) {
            const Complex zeta = zeta_series::divide_by_eta_factor(
                factor_trig_[2 * j], factor_trig_[2 * j + 1], factor_q_[i], sums[2 * j], sums[2 * j + 1]);
            write_cell(grid_, tile.left + i, tile.bottom + j,
                       cell_value(settings_.mode, zeta, settings_.ceiling, settings_.floor));
        }
    }

    const Calculation_Settings& settings_;
    Value_Grid& grid_;
    const std::atomic<bool>& cancel_;
    std::atomic<int64_t>* const terms_summed_;
    const Fill_Plan plan_;
    std::atomic<int64_t> next_item_{0};
    std::atomic<bool> stopped_{false};
    bool stop_after_phase_ = false;
    std::barrier<Phase_End> barrier_;
    std::vector<double> sums_;         // [column][row][real, imaginary]
    std::vector<double> powers_;       // [column][k]: n^σ
    std::vector<double> trig_;         // [row][k][cos, sin] of ln(n)·t
    std::vector<double> logs_;         // [k]: ln(n)
    std::vector<double> sigmas_;       // [column]
    std::vector<double> factor_q_;     // [column]: 2^(1 - σ)
    std::vector<double> ts_;           // [row]
    std::vector<double> factor_trig_;  // [row][cos, sin] of -(ln 2 · t)
};

}  // namespace

Fill_Plan plan_fill(int32_t width, int32_t height, int32_t precision) {
    Fill_Plan plan;
    const int64_t columns = std::max(width, 1);
    const int64_t rows = std::max(height, 1);
    // Whole columns where they fit, so that each row table serves as many columns as possible.
    plan.tile_rows = static_cast<int32_t>(std::min(rows, tile_cell_limit));
    plan.tile_columns =
        static_cast<int32_t>(std::clamp<int64_t>(tile_cell_limit / plan.tile_rows, 1, columns));
    const int64_t entries_per_term = plan.tile_columns + 2 * int64_t{plan.tile_rows};
    const int64_t block = table_byte_limit / (entries_per_term * int64_t{sizeof(double)});
    plan.block_terms = static_cast<int32_t>(
        std::clamp<int64_t>(std::min<int64_t>({block, block_term_limit, precision}), 1, block_term_limit));
    const size_t tile_columns = static_cast<size_t>(plan.tile_columns);
    const size_t tile_rows = static_cast<size_t>(plan.tile_rows);
    const size_t block_terms = static_cast<size_t>(plan.block_terms);
    plan.workspace_bytes =
        sizeof(double) * (tile_columns * tile_rows * 2 + tile_columns * block_terms +
                          tile_rows * block_terms * 2 + block_terms + tile_columns * 2 + tile_rows * 3);
    return plan;
}

int64_t fill_work(int32_t width, int32_t height, int32_t precision) {
    return int64_t{std::max(width, 0)} * std::max(height, 0) * std::max(precision, 0);
}

bool fill_grid(const Calculation_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
               int thread_count, std::atomic<int64_t>* terms_summed) {
    if (grid.width < 1 || grid.height < 1) return true;
    const bool two_threads = thread_count > 1 && int64_t{grid.width} * grid.height > 1;
    Grid_Filler filler(settings, grid, cancel, two_threads ? 2 : 1, terms_summed);
    if (!two_threads) return filler.work();
    bool helper_done = false;
    std::thread helper;
    try {
        helper = std::thread([&] { helper_done = filler.work(); });
    } catch (const std::system_error&) {
        filler.leave();  // this thread does all the work
        return filler.work();
    }
    const bool done = filler.work();
    helper.join();
    return done && helper_done;
}
