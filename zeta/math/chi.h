// χ(s) of the functional equation ζ(s) = χ(s) ζ(1 − s), χ(s) = 2^s π^(s−1) sin(πs/2) Γ(1 − s).
#pragma once

#include <complex>

namespace zeta_math {

// The parts of log χ(σ + it) that depend on t alone, for t ≥ 10: ln(t/2π), and the large phase
// t − t·ln(t/2π) reduced modulo 2π (computed in double-double).
struct Chi_Row {
    double t = 0.0;
    double log_t_over_two_pi = 0.0;
    double reduced_phase = 0.0;
    double damping = 0.0;    // e^(−πt)
    int stirling_terms = 0;  // the terms of Stirling's series that matter at this height
};

Chi_Row chi_row(double t);

// χ(σ + it) for t ≥ 10 from Stirling's series of log Γ(1 − s), with the large terms taken from `row`.
std::complex<double> chi_high(double sigma, const Chi_Row& row);

// χ(s) for small |t|, from a shifted Stirling series of log Γ(1 − s) and sin(πs/2) with exact reduction of
// σ/2, so that χ is accurate to a relative 10^-14 up to the trivial zeros.
std::complex<double> chi_low(std::complex<double> s);

}  // namespace zeta_math
