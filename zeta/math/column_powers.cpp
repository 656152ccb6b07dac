#include "zeta/math/column_powers.h"

#include <algorithm>
#include <cmath>

#include "zeta/math/double_double.h"
#include "zeta/math/power_sum_kernel.h"

namespace zeta_math {

namespace {

static_assert(tile_a_rows == 6, "fill_panel writes the rows of a tile one by one");
constexpr size_t restart_interval = 32;   // columns from one exp to the next at most
constexpr double largest_step = 1.0;      // n^-δ from a double ln n stays within an ulp or two up to here
constexpr double largest_excess = 1e-10;  // the step's excess over its base: ε ln n stays below 10^-8
constexpr size_t most_steps = 8;

// Entry k of row r in the tile layout.
inline size_t tile_index(size_t row, size_t k, size_t capacity) {
    return ((row / tile_a_rows) * capacity + k) * tile_a_rows + row % tile_a_rows;
}

}  // namespace

Column_Powers::Column_Powers(const std::vector<double>& sigmas, std::vector<int32_t> slots)
    : sigmas_(sigmas),
      slots_(std::move(slots)),
      column_step_(sigmas.size(), -1),
      column_excess_(sigmas.size(), 0.0),
      tiles_(static_cast<int32_t>((2 * sigmas.size() + tile_a_rows - 1) / tile_a_rows)) {
    for (size_t i = 1; i < sigmas_.size(); ++i) {
        if (i % restart_interval == 0 || !std::isfinite(sigmas_[i]) || !std::isfinite(sigmas_[i - 1]))
            continue;
        const Double_Double step = two_sum(sigmas_[i], -sigmas_[i - 1]);
        if (step.lo != 0.0 || !(std::fabs(step.hi) <= largest_step)) continue;
        // Steps of a row of σ differ in their last bits: each is one of a few base steps plus an excess.
        size_t base = 0;
        Double_Double excess;
        for (; base < steps_.size(); ++base) {
            excess = two_sum(step.hi, -steps_[base]);
            if (excess.lo == 0.0 && std::fabs(excess.hi) <= largest_excess) break;
        }
        if (base == steps_.size()) {
            if (steps_.size() == most_steps) continue;
            steps_.push_back(step.hi);
            excess = Double_Double{};
        }
        column_step_[i] = static_cast<int>(base);
        column_excess_[i] = excess.hi;
    }
    step_down_.resize(steps_.size());
    step_up_.resize(steps_.size());
    if (slots_.empty()) {
        for (int32_t row = 0; row < static_cast<int32_t>(2 * sigmas_.size()); ++row)
            slots_.push_back(row);
    }
}

void Column_Powers::fill_panel(int32_t first, int32_t count, int32_t capacity, double* a) {
    const size_t size = static_cast<size_t>(count);
    logs_.resize(size);
    staged_.resize(static_cast<size_t>(tiles_) * tile_a_rows * size);
    minus_.resize(size);
    reflected_.resize(size);
    for (size_t k = 0; k < size; ++k)
        logs_[k] = std::log(static_cast<double>(first) + static_cast<double>(k));
    for (size_t s = 0; s < steps_.size(); ++s) {
        step_down_[s].resize(size);
        step_up_[s].resize(size);
        for (size_t k = 0; k < size; ++k) {
            step_down_[s][k] = std::exp(-steps_[s] * logs_[k]);
            step_up_[s][k] = std::exp(steps_[s] * logs_[k]);
        }
    }
    const size_t stride = static_cast<size_t>(capacity);
    const Plot_Kernels& kernels = plot_kernels(kernel_variant());
    for (size_t i = 0; i < sigmas_.size(); ++i) {
        const int step = column_step_[i];
        if (step < 0) {
            const double sigma = sigmas_[i];
            for (size_t k = 0; k < size; ++k) {
                minus_[k] = std::exp(-sigma * logs_[k]);
                reflected_[k] = std::exp((sigma - 1.0) * logs_[k]);
            }
        } else {
            // n^∓(δ + ε) = n^∓δ · (1 ∓ ε ln n), the rest of the series below 10^-18.
            kernels.step_powers(
                minus_.data(), reflected_.data(), step_down_[static_cast<size_t>(step)].data(),
                step_up_[static_cast<size_t>(step)].data(), logs_.data(), column_excess_[i], size);
        }
        std::copy(minus_.begin(), minus_.end(),
                  staged_.begin() + static_cast<std::ptrdiff_t>(slots_[2 * i] * size));
        std::copy(reflected_.begin(), reflected_.end(),
                  staged_.begin() + static_cast<std::ptrdiff_t>(slots_[2 * i + 1] * size));
    }
    std::fill(staged_.begin() + static_cast<std::ptrdiff_t>(2 * sigmas_.size() * size), staged_.end(), 0.0);
    for (size_t tile = 0; tile < static_cast<size_t>(tiles_); ++tile) {
        double* out = a + tile * stride * tile_a_rows;
        const double* rows = staged_.data() + tile * tile_a_rows * size;
        for (size_t k = 0; k < size; ++k) {
            double* entry = out + k * tile_a_rows;
            entry[0] = rows[k];
            entry[1] = rows[size + k];
            entry[2] = rows[2 * size + k];
            entry[3] = rows[3 * size + k];
            entry[4] = rows[4 * size + k];
            entry[5] = rows[5 * size + k];
        }
    }
}

bool Column_Powers::fill_nodes(const Saddle_Nodes& nodes, double* a, const std::atomic<bool>* cancel) {
    constexpr size_t stride = 2 * saddle_node_count;
    node_minus_.resize(saddle_node_count);
    node_reflected_.resize(saddle_node_count);
    for (size_t i = 0; i < sigmas_.size(); ++i) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return false;
        node_powers(sigmas_[i], nodes, node_minus_.data(), node_reflected_.data());
        for (size_t j = 0; j < saddle_node_count; ++j) {
            const size_t minus = static_cast<size_t>(slots_[2 * i]);
            const size_t reflected = static_cast<size_t>(slots_[2 * i + 1]);
            a[tile_index(minus, 2 * j, stride)] = node_minus_[j].real();
            a[tile_index(minus, 2 * j + 1, stride)] = node_minus_[j].imag();
            a[tile_index(reflected, 2 * j, stride)] = node_reflected_[j].real();
            a[tile_index(reflected, 2 * j + 1, stride)] = node_reflected_[j].imag();
        }
    }
    for (size_t row = 2 * sigmas_.size(); row < static_cast<size_t>(tiles_) * tile_a_rows; ++row) {
        for (size_t k = 0; k < stride; ++k)
            a[tile_index(row, k, stride)] = 0.0;
    }
    return true;
}

}  // namespace zeta_math
