// ζ(s) accurate to about 10^-10 relative (absolute where |ζ| < 1) for −30 ≤ σ ≤ 30 and |t| ≤ 10^8, at any
// height up to accurate_height_limit.
//
//   |t| < 30:   Euler–Maclaurin summation with about |t| + 50 terms; for σ < −1 through the functional
//               equation ζ(s) = χ(s) ζ(1 − s).
//   |t| ≥ 30:   ζ(s) = R(s) + χ(s) conj(R(1 − conj s)) with Riemann's
//               R(s) = Σ_{n ≤ N} n^-s + ∫ x^-s e^(πix²) / (e^(πix) − e^(−πix)) dx,
//               N = ⌊√(t/2π)⌋, the integral taken along the line of slope 1 through N + 1/2, which passes
//               through the saddle point; the trapezoidal rule on 103 nodes gives it to 10^-15.
//   t < 0:      ζ(conj s) = conj ζ(s).
// Phases t·ln p of primes p are formed in double-double and reduced modulo 2π before any cosine is taken;
// n^-it of a composite n is the product of the values of its factors.
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
// per thread; values are bit-identical whatever rows were evaluated before.
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
    struct Tables;
    Tables* tables_;
};

// ζ(s) on its own; bit-identical to the value Accurate_Zeta_Rows gives for the same s. s = 1 gives NaN in
// both parts.
void evaluate_zeta_accurately(const Complex& s, Complex& result);
