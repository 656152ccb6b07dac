// ζ(s) accurate to about 10^-10 relative (absolute where |ζ| < 1) for −30 ≤ σ ≤ 30 and |t| ≤ 10^12, at any
// height up to accurate_height_limit.
//
//   |t| < 30:   Euler–Maclaurin summation with about |t| + 50 terms; for σ < −1 through the functional
//               equation ζ(s) = χ(s) ζ(1 − s).
//   |t| ≥ 30:   Riemann's saddle-point formula (zeta/math/saddle_point.h) with N = ⌊√(t/2π)⌋ terms.
//   t < 0:      ζ(conj s) = conj ζ(s).
// n^-it comes from zeta/math/phase_table.h (phases of primes in double-double, composites as products), and
// n^-σ likewise from the primes' values. Plots go through zeta/math/accurate_plot.h instead.
#pragma once

#include <atomic>
#include <complex>
#include <cstdint>
#include <vector>

#include "zeta/math/zeta_function.h"

// Above this |t| the sums grow past what memory and time allow: the value is NaN.
constexpr double accurate_height_limit = 1e13;

// Evaluates ζ along rows of constant t for a fixed list of σ values. The tables that depend on t alone
// (n^-it, the integral's nodes, parts of χ) are built once per row and serve every σ; the tables that depend
// on σ (n^-σ, n^(σ−1), the nodes' powers) are built once per σ and kept for the following rows. One object
// per thread; values are bit-identical whatever rows were evaluated before, and to evaluate_zeta_accurately.
class Accurate_Zeta_Rows {
public:
    explicit Accurate_Zeta_Rows(std::vector<double> sigmas);
    ~Accurate_Zeta_Rows();
    Accurate_Zeta_Rows(const Accurate_Zeta_Rows&) = delete;
    Accurate_Zeta_Rows& operator=(const Accurate_Zeta_Rows&) = delete;

    // values[i] = ζ(σ_i + it) for every σ_i. Tests `cancel` (when given) between cells and while building
    // tables; returns false, with `values` partly written, when it is set.
    bool evaluate(double t, Complex* values, const std::atomic<bool>* cancel = nullptr);

    size_t columns() const;

    // The number of series terms that a row at height t sums per cell (for progress and block sizes).
    static int32_t terms_per_cell(double t);

private:
    friend bool evaluate_zeta_accurately(const Complex& s, Complex& result, const std::atomic<bool>* cancel);
    struct Tables;
    Tables* tables_;
};

// ζ(s) on its own; bit-identical to the value Accurate_Zeta_Rows gives for the same s. s = 1 gives NaN in
// both parts. Keeps its tables' storage per thread (about 32 bytes per term) for the next value.
void evaluate_zeta_accurately(const Complex& s, Complex& result);

// The same, testing `cancel` while it builds its tables: false, `result` untouched, once it is set.
bool evaluate_zeta_accurately(const Complex& s, Complex& result, const std::atomic<bool>* cancel);
