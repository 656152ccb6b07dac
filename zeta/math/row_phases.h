// The B side of a plot's cell sums (zeta/math/power_sum_kernel.h): n^-it of a block of rows, a panel of n at
// a time, in the kernel's layout of groups of tile_b_columns rows.
//
// A row either starts a chain with a fresh table (zeta/math/phase_table.h) or follows the row before it:
// with Δ the exact difference of the two rows' t, n^-i(t + Δ) = n^-it · n^-iΔ, one complex multiplication per
// entry, after which the entry is brought back to modulus 1. The tables of n^-iΔ are fresh tables too, one
// per step that occurs (a plot has a handful), so an entry k rows down a chain is within about k · 5·10^-16
// of a fresh one; plots start a chain every phase_chain_rows rows.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "zeta/math/phase_table.h"

namespace zeta_math {

constexpr int32_t phase_chain_rows = 32;

// Whether row y of a plot, at t, continues the chain of row y − 1, at `before`: both saddle rows (30 ≤ |t| ≤
// accurate_height_limit) on the same side of the real axis, y not a multiple of phase_chain_rows, and the
// difference of the two |t| exact.
bool continues_chain(double before, double t, int64_t y);

class Row_Phases {
public:
    struct Row {
        double t = 0.0;        // t ≥ 0
        int32_t terms = 0;     // n^-it is needed for n ≤ terms
        bool follows = false;  // continues the chain of the row before it in the list
        int32_t group = 0;     // where the row goes in the B layout
        int32_t lane = 0;      // 0 ... tile_b_columns − 1
    };

    // Takes the rows of a block and builds the tables their chains start from and the step tables. Tests
    // `cancel`; false when it is set. The first row must not follow.
    bool start(std::vector<Row> rows, const std::atomic<bool>* cancel);

    // Writes n^-it for n = first ... first + count − 1 of every row to b[((group · capacity) + k) ·
    // tile_b_stride + lane] (real part) and 16 doubles further (imaginary part), k = n − first; past the
    // terms of a row's chain, and in lanes without a row, it writes 0. count ≤ capacity. The rows of a group
    // must come one after the other, in the order of their lanes.
    void fill_panel(int32_t first, int32_t count, int32_t capacity, double* b);

    // The bytes of the tables kept.
    size_t bytes() const;

    // The most step tables kept from one block to the next.
    static constexpr size_t kept_steps = 4;

private:
    struct Step {
        double delta = 0.0;
        int32_t terms = 0;
        uint64_t last_use = 0;
        Raw_Buffer<double> re;  // n^-iΔ, index n
        Raw_Buffer<double> im;
    };

    Step* step_table(double delta, int32_t terms, const std::atomic<bool>* cancel);

    std::vector<Row> rows_;
    std::vector<Step*> row_steps_;      // for rows that follow, else null
    std::vector<Phase_Storage> seeds_;  // per chain, in order of the chains' first rows
    std::vector<int32_t> seed_terms_;
    std::vector<std::unique_ptr<Step>> steps_;
    std::shared_ptr<const Prime_Table> primes_;
    uint64_t uses_ = 0;
    std::vector<double> current_re_;  // the chain's current row
    std::vector<double> current_im_;
    std::vector<double> group_re_;  // the rows of the group being written, one after the other
    std::vector<double> group_im_;
    Phase_Storage step_scratch_;  // a step table as it is built
};

}  // namespace zeta_math
