#include "zeta/grid_fill.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#include "zeta/zeta_series.h"

namespace {

constexpr int64_t tile_cell_limit = int64_t{1} << 18;    // partial sums: 4 MiB
constexpr int64_t table_byte_limit = int64_t{16} << 20;  // n^σ, cos and sin tables of one block
constexpr int32_t block_term_limit = 1024;
constexpr int cells_per_pass = 4;

struct Region {
    int32_t left = 0;
    int32_t right = 0;  // exclusive
    int32_t bottom = 0;
    int32_t top = 0;  // exclusive
    bool empty() const { return right <= left || top <= bottom; }
};

double column_sigma(const Calculation_Settings& settings, int32_t x) {
    return static_cast<double>(x) * settings.real_scale + settings.real_part;
}

double row_t(const Calculation_Settings& settings, int32_t y) {
    return static_cast<double>(y) * settings.imaginary_scale + settings.imaginary_part;
}

// One thread's share of the grid, filled tile by tile.
class Region_Filler {
public:
    Region_Filler(const Calculation_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
                  Region region)
        : settings_(settings), grid_(grid), cancel_(cancel), region_(region) {
        if (region.empty()) return;
        plan_ = plan_fill(region.right - region.left, region.top - region.bottom, settings.precision);
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
    bool run() {
        if (region_.empty()) return true;
        for (int32_t x0 = region_.left; x0 < region_.right; x0 += plan_.tile_columns) {
            for (int32_t y0 = region_.bottom; y0 < region_.top; y0 += plan_.tile_rows) {
                const Region tile{x0, std::min(region_.right, x0 + plan_.tile_columns), y0,
                                  std::min(region_.top, y0 + plan_.tile_rows)};
                if (!fill_tile(tile)) return false;
            }
        }
        return true;
    }

private:
    bool cancelled() const { return cancel_.load(std::memory_order_relaxed); }

    bool fill_tile(const Region& tile) {
        const int32_t columns = tile.right - tile.left;
        const int32_t rows = tile.top - tile.bottom;
        for (int32_t i = 0; i < columns; ++i)
            sigmas_[i] = column_sigma(settings_, tile.left + i);
        for (int32_t j = 0; j < rows; ++j)
            ts_[j] = row_t(settings_, tile.bottom + j);
        std::fill(sums_.begin(), sums_.begin() + static_cast<ptrdiff_t>(columns) * rows * 2, 0.0);
        for (int64_t first = 1; first <= settings_.precision; first += plan_.block_terms) {
            const int32_t count = static_cast<int32_t>(
                std::min<int64_t>(plan_.block_terms, int64_t{settings_.precision} - first + 1));
            if (!fill_tables(first, count, columns, rows)) return false;
            if (!add_block(first, count, columns, rows)) return false;
        }
        return finish_tile(tile, columns, rows);
    }

    bool fill_tables(int64_t first, int32_t count, int32_t columns, int32_t rows) {
        const size_t block = static_cast<size_t>(plan_.block_terms);
        for (int32_t k = 0; k < count; ++k)
            logs_[k] = std::log(static_cast<double>(first + k));
        for (int32_t i = 0; i < columns; ++i) {
            if (cancelled()) return false;
            double* powers = &powers_[i * block];
            for (int32_t k = 0; k < count; ++k)
                powers[k] = std::pow(static_cast<double>(first + k), sigmas_[i]);
        }
        for (int32_t j = 0; j < rows; ++j) {
            if (cancelled()) return false;
            double* trig = &trig_[j * block * 2];
            const double t = ts_[j];
            for (int32_t k = 0; k < count; ++k) {
                const double theta = logs_[k] * t;
                trig[2 * k] = std::cos(theta);
                trig[2 * k + 1] = std::sin(theta);
            }
        }
        return true;
    }

    bool add_block(int64_t first, int32_t count, int32_t columns, int32_t rows) {
        const size_t block = static_cast<size_t>(plan_.block_terms);
        for (int32_t i = 0; i < columns; ++i) {
            const double* powers = &powers_[i * block];
            double* sums = &sums_[static_cast<size_t>(i) * rows * 2];
            int32_t j = 0;
            // Several cells at a time: each cell's sum is one long chain of dependent additions, and
            // interleaving independent chains keeps the divider busy.
            for (; j + cells_per_pass <= rows; j += cells_per_pass) {
                if (cancelled()) return false;
                add_terms<cells_per_pass>(first, count, powers, &trig_[j * block * 2], block * 2,
                                          &sums[2 * j]);
            }
            for (; j < rows; ++j) {
                if (cancelled()) return false;
                add_terms<1>(first, count, powers, &trig_[j * block * 2], block * 2, &sums[2 * j]);
            }
        }
        return true;
    }

    // Adds terms first ... first + count - 1 to `cells` consecutive cells of one column.
    template <int cells>
    static void add_terms(int64_t first, int32_t count, const double* powers, const double* trig,
                          size_t trig_row_stride, double* sums) {
        double sum_real[cells];
        double sum_imaginary[cells];
        for (int cell = 0; cell < cells; ++cell) {
            sum_real[cell] = sums[2 * cell];
            sum_imaginary[cell] = sums[2 * cell + 1];
        }
        for (int32_t k = 0; k < count; ++k) {
            const double p = powers[k];
            const double g = zeta_series::term_sign(first + k);
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

    bool finish_tile(const Region& tile, int32_t columns, int32_t rows) {
        const double log_two = zeta_series::log_of_two();
        for (int32_t i = 0; i < columns; ++i)
            factor_q_[i] = std::pow(2.0, 1.0 - sigmas_[i]);
        for (int32_t j = 0; j < rows; ++j) {
            const double phi = -(log_two * ts_[j]);
            factor_trig_[2 * j] = std::cos(phi);
            factor_trig_[2 * j + 1] = std::sin(phi);
        }
        for (int32_t i = 0; i < columns; ++i) {
            const double* sums = &sums_[static_cast<size_t>(i) * rows * 2];
            for (int32_t j = 0; j < rows; ++j) {
                if (cancelled()) return false;
                const Complex zeta = zeta_series::divide_by_eta_factor(
                    factor_trig_[2 * j], factor_trig_[2 * j + 1], factor_q_[i], sums[2 * j], sums[2 * j + 1]);
                write_cell(grid_, tile.left + i, tile.bottom + j,
                           cell_value(settings_.mode, zeta, settings_.ceiling, settings_.floor));
            }
        }
        return true;
    }

    const Calculation_Settings& settings_;
    Value_Grid& grid_;
    const std::atomic<bool>& cancel_;
    Region region_;
    Fill_Plan plan_;
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

Fill_Plan plan_fill(int32_t region_width, int32_t region_height, int32_t precision) {
    Fill_Plan plan;
    const int64_t width = std::max(region_width, 1);
    const int64_t height = std::max(region_height, 1);
    // Whole columns where they fit, so that each row table serves as many columns as possible.
    plan.tile_rows = static_cast<int32_t>(std::min(height, tile_cell_limit));
    plan.tile_columns = static_cast<int32_t>(std::clamp<int64_t>(tile_cell_limit / plan.tile_rows, 1, width));
    const int64_t entries_per_term = plan.tile_columns + 2 * int64_t{plan.tile_rows};
    const int64_t block = table_byte_limit / (entries_per_term * int64_t{sizeof(double)});
    plan.block_terms = static_cast<int32_t>(
        std::clamp<int64_t>(std::min<int64_t>({block, block_term_limit, precision}), 1, block_term_limit));
    const size_t columns = static_cast<size_t>(plan.tile_columns);
    const size_t rows = static_cast<size_t>(plan.tile_rows);
    const size_t block_terms = static_cast<size_t>(plan.block_terms);
    plan.workspace_bytes = sizeof(double) * (columns * rows * 2 + columns * block_terms +
                                             rows * block_terms * 2 + block_terms + columns * 2 + rows * 3);
    return plan;
}

bool fill_grid(const Calculation_Settings& settings, Value_Grid& grid, const std::atomic<bool>& cancel,
               int thread_count) {
    const Region whole{0, grid.width, 0, grid.height};
    Region first = whole;
    Region second{0, 0, 0, 0};
    if (thread_count > 1) {
        // Split the longer side: the other side's table (n^σ per column or cos, sin per row) is then the one
        // that both threads compute.
        second = whole;
        if (grid.width >= grid.height) {
            first.right = second.left = grid.width / 2;
        } else {
            first.top = second.bottom = grid.height / 2;
        }
    }
    Region_Filler first_filler(settings, grid, cancel, first);
    Region_Filler second_filler(settings, grid, cancel, second);
    bool second_done = false;
    std::thread helper;
    if (!second.empty()) {
        try {
            helper = std::thread([&] { second_done = second_filler.run(); });
        } catch (const std::system_error&) {
            // No second thread: this one does both shares.
        }
    }
    bool first_done = first_filler.run();
    if (helper.joinable()) {
        helper.join();
    } else if (first_done) {
        second_done = second_filler.run();
    }
    return first_done && second_done;
}
