// Arithmetic shared by evaluate_zeta and the grid fill. Both must perform the very same operations in the
// same order on the same values, so that a filled grid is bit-identical to evaluating every cell on its own.
#pragma once

#include <cmath>
#include <cstdint>

#include "zeta/math/zeta_function.h"

namespace zeta_series {

// (-1)^(n - 1) without calling pow.
inline double term_sign(int64_t n) {
    return (n & 1) != 0 ? 1.0 : -1.0;
}

inline double log_of_two() {
    return std::log(2.0);
}

// Adds g · conj(n^s) / |n^s|² to the running sums, where c + i·s = n^s. The squared modulus and the quotients
// are held in long double so that they neither overflow nor underflow; each sum is rounded to double per
// term.
inline void add_term(double c, double s, double g, double& sum_real, double& sum_imaginary) {
    const long double d = static_cast<long double>(s) * static_cast<long double>(s) +
                          static_cast<long double>(c) * static_cast<long double>(c);
    const long double real_quotient = static_cast<long double>(c * g) / d;
    const long double imaginary_quotient = static_cast<long double>(-(s * g)) / d;
    sum_real = static_cast<double>(real_quotient + static_cast<long double>(sum_real));
    sum_imaginary = static_cast<double>(imaginary_quotient + static_cast<long double>(sum_imaginary));
}

// Divides the eta sum by 1 - 2^(1 - s), given cos φ and sin φ for φ = -(ln 2 · t) and q = 2^(1 - σ).
inline Complex divide_by_eta_factor(double cos_phi, double sin_phi, double q, double sum_real,
                                    double sum_imaginary) {
    const double qc = cos_phi * q;
    const long double qs = static_cast<long double>(sin_phi) * static_cast<long double>(q);
    const long double r = 1.0L - static_cast<long double>(qc);
    const long double m = r * r + qs * qs;
    const long double a = r / m;
    const long double b = qs / m;
    const long double sr = sum_real;
    const long double si = sum_imaginary;
    return Complex{static_cast<double>(a * sr - b * si), static_cast<double>(a * si + b * sr)};
}

}  // namespace zeta_series
