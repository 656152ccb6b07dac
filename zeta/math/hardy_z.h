// Hardy's Z(t) = e^(iθ(t)) ζ(1/2 + it), real for real t, with a bound on the error of each computed value, so
// that its sign can be trusted where |value| exceeds the bound.
//
//   t ≥ 200:  the Riemann–Siegel formula with the corrections C0 ... C4 (riemann_siegel_correction.h); the
//             truncation error is Gabcke's 0.017 t^(−11/4), and the rounding error of the main sum is bounded
//             from the error of each term and the order of summation (main_sum_error).
//   any t:    Euler–Maclaurin summation of ζ(1/2 + it) with about (t + 61)/π terms, whose remainder after m
//             Bernoulli terms is at most |s + 2m + 1| / (σ + 2m + 1) times the first omitted term; then
//             Z = Re(e^(iθ)ζ), whose sign does not depend on the error of θ (e^(iθ̃)ζ = e^(i(θ̃−θ)) Z).
#pragma once

#include <cstdint>
#include <vector>

#include "zeta/math/dirichlet_terms.h"
#include "zeta/math/hardy_theta.h"

namespace zeta_math {

struct Hardy_Z {
    double value = 0.0;
    double derivative = 0.0;  // Z'(t), approximate: it guides the search but never decides a sign
    double error = 0.0;       // |value − Z(t)| ≤ error

    // +1 or −1 when the sign is certain, 0 when |value| does not exceed the error bound.
    int sign() const { return value > error ? 1 : (value < -error ? -1 : 0); }
};

// From this height the Riemann–Siegel formula is used (Gabcke's bound holds from t = 200).
constexpr double riemann_siegel_from = 200.0;

// Bound on the rounding error of 2 Re(e^(iθ) Σ_{n≤N} n^(−1/2) u_n) when every computed u_n is within
// term_units · 2^-53 of n^(−it) and the products and sums are formed as in this library: n^(−1/2) rounded
// twice, one rounding per product, four running accumulators (⌈N/4⌉ + 2 additions on any path), θ within
// 4·2^-53 after its reduction and three roundings in the final combination. With R = Σ n^(−1/2) ≤ 2√N:
//   2·√2·R·(term_units + 4 + N/4 + 3)·2^-53 + 18·R·2^-53 ≤ R·(3·term_units + N + 48)·2^-53.
double main_sum_error(int32_t terms, double term_units);

// One thread's evaluator: scratch arrays for the terms at one t. The tables must reach
// required_terms(t) for every t it is asked about.
class Hardy_Z_Evaluator {
public:
    explicit Hardy_Z_Evaluator(const Dirichlet_Tables& tables);

    // Z(t) for t ≥ 0: Euler–Maclaurin below riemann_siegel_from, Riemann–Siegel from there.
    Hardy_Z evaluate(double t);
    // t ≥ riemann_siegel_from; t_low as in unit_terms. θ comes from `theta_near` when given (for
    // |t − its centre| ≤ 2√centre), which saves a double-double logarithm.
    Hardy_Z riemann_siegel(double t, double t_low = 0.0, const Theta_Near* theta_near = nullptr);
    // The same value as riemann_siegel(t) when t is within 1/(64 ln N) of the last point riemann_siegel was
    // asked about (with the same N): the terms there are turned by e^(−i(t − t_last) ln n) from a short
    // Taylor series, a few multiplications per term instead of a phase, a reduction and a cosine. Otherwise
    // it is riemann_siegel(t).
    Hardy_Z riemann_siegel_near(double t, const Theta_Near* theta_near = nullptr);
    // t ≥ 0; the cost grows like t.
    Hardy_Z euler_maclaurin(double t, const Theta_Near* theta_near = nullptr);
    // The same as euler_maclaurin(t), from the last Euler–Maclaurin terms turned as riemann_siegel_near does.
    Hardy_Z euler_maclaurin_near(double t, const Theta_Near* theta_near = nullptr);

    static int32_t riemann_siegel_terms(double t);
    static int32_t euler_maclaurin_terms(double t);
    // The tables that evaluate(t) and euler_maclaurin(t) need.
    static int32_t required_terms(double t, bool euler_maclaurin);

    const Dirichlet_Tables& tables() const { return tables_; }

private:
    void make_terms(double t, double t_low, int32_t count);

    const Dirichlet_Tables& tables_;
    std::vector<double> cosines_;
    std::vector<double> sines_;
    std::vector<double> real_;  // n^(−1/2) n^(−it) at the last point
    std::vector<double> imaginary_;
    std::vector<double> shifted_real_;  // the same turned to a nearby point
    std::vector<double> shifted_imaginary_;
    double last_t_ = -1.0;  // the last point whose terms are kept (with t_low = 0), or −1
    int32_t last_terms_ = 0;
    bool last_euler_maclaurin_ = false;  // whether they are Euler–Maclaurin's
};

}  // namespace zeta_math
