// The Riemann–Siegel theta function θ(t) = arg Γ(1/4 + it/2) − (t/2) ln π, which makes
// Z(t) = e^(iθ(t)) ζ(1/2 + it) real, and the Gram points g_n where θ(g_n) = nπ.
#pragma once

#include <cstdint>

#include "zeta/math/double_double.h"

namespace zeta_math {

// ln x in double-double for a double x > 0, to about 1e-31 relative: ln x = e ln 2 + ln c + 2 atanh((m −
// c)/(m + c)) with x = m·2^e and c = 1 + j/64 the table point just below m, so that eight terms of the series
// suffice.
Double_Double log_of(double x);

// θ(t) for t ≥ 0, continuous from θ(0) = 0. From t = 100 the asymptotic series
//   θ(t) = (t/2) ln(t/2π) − t/2 − π/8 + 1/(48t) + 7/(5760t³) + 31/(80640t⁵) + 127/(430080t⁷) + ...
// in double-double, whose first omitted term is below 1e-25 there; below 100 Stirling's series of ln Γ
// after a shift, good to about 1e-14.
Double_Double theta(double t);

// θ'(t) to about 1e-15 relative.
double theta_derivative(double t);

// θ(t) − 2πk in [−π, π], for the phase of e^(iθ(t)); t_low is a small correction to t (|t_low| ≤ ulp(t))
// for points t + t_low that are not doubles.
double reduced_theta(double t, double t_low = 0.0);

// θ(t_0 + δ) for |δ| ≤ 2√t_0 and t_0 ≥ 100, from θ(t_0) and ln(t_0/2π) in double-double: with x = δ/t_0,
//   θ(t_0 + δ) = θ(t_0) + (δ/2) ln(t_0/2π) + (δx/2) Σ_{j≥2} (−x)^(j−2) / (j(j − 1)) + s(t_0 + δ) − s(t_0),
// s being the series in 1/t; a value costs a double-double product and a short series instead of a logarithm.
// The terms after the linear one stay below δ²/4t_0 ≤ 1, so that one double holds them to 1e-16.
class Theta_Near {
public:
    explicit Theta_Near(double t_0);

    double centre() const { return t_0_; }
    // θ(t_0 + δ + δ_low) − 2πk in [−π, π].
    double reduced(double delta, double delta_low = 0.0) const;
    double derivative(double delta) const;

private:
    double t_0_;
    Double_Double theta_0_;
    Double_Double half_log_;  // ln(t_0/2π)/2
    double series_0_;
};

// The Gram point g_n for n ≥ 0 (g_0 = 17.8455...), to about one ulp.
double gram_point(int64_t n);

// ⌊θ(t)/π⌋ for t ≥ 7, where θ increases: the n with g_n ≤ t < g_(n+1), up to rounding at the Gram points.
int64_t gram_index(double t);

// The average distance between zeros near t, 2π / ln(t/2π) (at least that of t = 50).
double zero_spacing(double t);

}  // namespace zeta_math
