// The correction terms of the Riemann–Siegel formula for Z(t):
//   Z(t) = 2 Σ_{n ≤ N} n^(−1/2) cos(θ(t) − t ln n) + (−1)^(N−1) a^(−1/2) Σ_{k=0}^{4} C_k(p) a^(−k) + R_4(t),
// a = √(t/2π), N = ⌊a⌋, p = a − N, with Gabcke's |R_4(t)| ≤ 0.017 t^(−11/4) for t ≥ 200.
#pragma once

#include <cstdint>

namespace zeta_math {

// a = √(t/2π) split into N = ⌊a⌋ and p = a − N; p within 2·2^-53 of the true fraction.
struct Riemann_Siegel_Split {
    double a = 0.0;
    int64_t terms = 0;      // N
    double fraction = 0.0;  // p in [0, 1)
};

Riemann_Siegel_Split riemann_siegel_split(double t);

struct Riemann_Siegel_Correction {
    double value = 0.0;  // (−1)^(N−1) a^(−1/2) Σ C_k(p) a^(−k)
    double error = 0.0;  // bound on the rounding error of value (the truncation R_4 is apart)
};

Riemann_Siegel_Correction riemann_siegel_correction(const Riemann_Siegel_Split& split);

// Gabcke's bound on R_4(t) for t ≥ 200.
double riemann_siegel_truncation_bound(double t);

// The polynomial coefficients of C_k(p) in powers of p − 1/2 (even powers for C0, C2, C4 and odd for C1,
// C3, lowest first), taken from Arb's power series of Ψ(p) = cos(2π(p² − p − 1/16)) / cos(2πp) at 400 bits.
constexpr int riemann_siegel_coefficient_count = 26;
extern const double riemann_siegel_coefficients[5][riemann_siegel_coefficient_count];

}  // namespace zeta_math
