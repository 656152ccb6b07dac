// The A side of a plot's cell sums (zeta/math/power_sum_kernel.h): for each column σ_i two rows of A,
// n^-σ_i (row 2i) and n^(σ_i − 1) (row 2i + 1), laid out in tiles of tile_a_rows rows, a panel of n at a
// time; and the same for the integral's nodes.
//
// Along a row of the plot the σ of neighbouring columns differ by a step δ (the exact difference of the two
// doubles), so n^-σ_i = n^-σ_(i−1) · n^-δ: one multiplication per entry, with n^∓δ computed once per panel
// for each of a few base steps; a step that differs from its base by a tiny ε (rounding of the σ) takes the
// factor 1 − ε ln n as well. Every 32nd column, and wherever the step is not exact or large, starts afresh
// from exp, which keeps each entry within about 100 roundings.
#pragma once

#include <atomic>
#include <complex>
#include <cstdint>
#include <vector>

#include "zeta/math/saddle_point.h"

namespace zeta_math {

class Column_Powers {
public:
    // Row r of A goes to place slots[r] of the tile layout (a permutation of 0 ... 2 · columns − 1); without
    // slots, to place r.
    explicit Column_Powers(const std::vector<double>& sigmas, std::vector<int32_t> slots = {});

    int32_t tiles() const { return tiles_; }

    // Writes the entries for n = first ... first + count − 1 (first ≥ 1) to a[(tile · capacity + k) ·
    // tile_a_rows + place within the tile], k = n − first < count ≤ capacity; places past 2 · columns get 0.
    void fill_panel(int32_t first, int32_t count, int32_t capacity, double* a);

    // The nodes' x_j^-σ_i (rows 2i) and x_j^(σ_i − 1) (rows 2i + 1) as 2 · saddle_node_count entries of k
    // each: the real part at k = 2j, the imaginary part at 2j + 1, in the same tile layout with capacity
    // 2 · saddle_node_count. Tests `cancel` between columns; false when it is set.
    bool fill_nodes(const Saddle_Nodes& nodes, double* a, const std::atomic<bool>* cancel);

private:
    std::vector<double> sigmas_;
    std::vector<int32_t> slots_;
    // How column i gets its powers: from exp (step < 0), or from column i − 1 times the powers of the base
    // step steps_[step] and of the excess column_excess_[i].
    std::vector<int> column_step_;
    std::vector<double> column_excess_;
    std::vector<double> steps_;
    int32_t tiles_ = 0;
    // Per panel: ln n, n^-δ and n^δ for each step, and the current column's two rows.
    std::vector<double> logs_;
    std::vector<std::vector<double>> step_down_;
    std::vector<std::vector<double>> step_up_;
    std::vector<double> minus_;
    std::vector<double> reflected_;
    // The panel's rows by place, one after the other, before they are interleaved.
    std::vector<double> staged_;
    std::vector<std::complex<double>> node_minus_;
    std::vector<std::complex<double>> node_reflected_;
};

}  // namespace zeta_math
