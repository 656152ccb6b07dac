// The terms n^(−it), n = 1 ... N, of the sums that give Z(t): tables of ln n and of smallest prime factors,
// built once and then only read (by any number of threads), and the terms at one t.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "zeta/math/double_double.h"

namespace zeta_math {

constexpr double unit_roundoff = 1.1102230246251565e-16;  // 2^-53

// Error of one computed term n^(−it) (as a complex number of modulus 1) per prime factor of n, in units of
// 2^-53: a prime's phase t·ln p is rounded once after its reduction modulo 2π (≤ π·2^-53), its cosine and
// sine are within an ulp each (the C library's documented accuracy), and each product of two earlier terms
// adds at most √5·2^-53 (complex multiplication without fused multiply-add).
constexpr double term_error_per_factor = 9.0;

class Dirichlet_Tables {
public:
    // Tables for n = 1 ... largest (at least 1).
    explicit Dirichlet_Tables(int32_t largest);

    int32_t largest() const { return largest_; }
    const Double_Double& log(int32_t n) const { return logs_[static_cast<size_t>(n)]; }
    const Double_Double& log_halves(int32_t n) const { return log_halves_[static_cast<size_t>(n)]; }
    double log_double(int32_t n) const { return logs_[static_cast<size_t>(n)].hi; }
    double inverse_square_root(int32_t n) const { return inverse_square_roots_[static_cast<size_t>(n)]; }
    int32_t smallest_factor(int32_t n) const { return smallest_factors_[static_cast<size_t>(n)]; }
    // Index n: the number of prime factors of n counted with multiplicity, at most log2 n.
    int32_t factor_count(int32_t n) const { return factor_counts_[static_cast<size_t>(n)]; }

    // Contiguous arrays for vector loops, index n = 0 ... largest (entry 0 unused).
    const double* log_doubles() const { return log_doubles_.data(); }
    const double* inverse_square_roots() const { return inverse_square_roots_.data(); }

private:
    int32_t largest_;
    std::vector<Double_Double> logs_;
    std::vector<Double_Double> log_halves_;  // split(ln n) for exact products
    std::vector<double> log_doubles_;
    std::vector<double> inverse_square_roots_;
    std::vector<int32_t> smallest_factors_;
    std::vector<int32_t> factor_counts_;
};

// cos(t ln n) and sin(t ln n), n = 1 ... count (≤ tables.largest()), at t = t_high + t_low, where t_low is a
// correction far below 1 (a point that is not a double): primes from double-double phases reduced modulo 2π,
// composites as products of two earlier entries. Entry n is within term_error_per_factor · Ω(n) · 2^-53 of
// the true value. The arrays hold count + 1 entries (index 0 unused).
void unit_terms(const Dirichlet_Tables& tables, double t_high, double t_low, int32_t count, double* cosines,
                double* sines);

}  // namespace zeta_math
