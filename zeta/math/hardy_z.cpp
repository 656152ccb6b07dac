#include "zeta/math/hardy_z.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

#include "zeta/math/constants.h"
#include "zeta/math/hardy_theta.h"
#include "zeta/math/riemann_siegel_correction.h"
#include "zeta/math/term_kernels.h"

namespace zeta_math {

namespace {

using Complex_Double = std::complex<double>;

constexpr int bernoulli_terms = 30;  // of euler_maclaurin_coefficients, whose last bounds the remainder

struct Sums {
    Complex_Double f;  // Σ n^(−1/2) u_n
    Complex_Double g;  // Σ ln n · n^(−1/2) u_n
};

// A value whose sign is never trusted, for a t beyond the tables.
Hardy_Z beyond_tables() {
    Hardy_Z z;
    z.error = std::numeric_limits<double>::infinity();
    return z;
}

// Whether θ(t) may come from the expansion: t − centre is exact (Sterbenz) and small enough.
bool near_enough(const Theta_Near* theta_near, double t) {
    if (theta_near == nullptr) return false;
    const double centre = theta_near->centre();
    return centre >= 100.0 && t >= 0.5 * centre && t <= 2.0 * centre &&
           std::fabs(t - centre) <= 2.0 * std::sqrt(centre);
}

double l1(Complex_Double z) {
    return std::fabs(z.real()) + std::fabs(z.imag());
}

// Z from the main sums at t + t_low and the corrections, with its error bound for terms within term_units.
Hardy_Z riemann_siegel_value(double t, double t_low, const Riemann_Siegel_Split& split, const Sums& sums,
                             double term_units, const Theta_Near* theta_near) {
    const int32_t terms = static_cast<int32_t>(split.terms);
    const double phase = near_enough(theta_near, t) ? theta_near->reduced(t - theta_near->centre(), t_low)
                                                    : reduced_theta(t, t_low);
    const Complex_Double rotation(std::cos(phase), std::sin(phase));
    const Complex_Double f = rotation * sums.f;
    const Complex_Double g = rotation * sums.g;
    const Riemann_Siegel_Correction correction = riemann_siegel_correction(split);
    Hardy_Z z;
    z.value = 2.0 * f.real() + correction.value;
    // Z' = −2 (θ' Im(e^(iθ) F) − Im(e^(iθ) G)); the correction's derivative is far smaller.
    z.derivative = -2.0 * (theta_derivative(t) * f.imag() - g.imag());
    z.error = (main_sum_error(terms, term_units) + correction.error + riemann_siegel_truncation_bound(t)) *
              (1.0 + 1e-6);
    return z;
}

// ζ(1/2 + it) by Euler–Maclaurin from the terms n^(−1/2−it), n = 1 ... N (each within term_units), then Z.
Hardy_Z euler_maclaurin_value(double t, const Dirichlet_Tables& tables, const double* re, const double* im,
                              int32_t n, double term_units, const Theta_Near* theta_near) {
    // Σ_{k<N} k^−s and the derivative's −Σ ln k · k^−s.
    const Term_Sums term_sums = sum_terms(re, im, tables.log_doubles(), n - 1);
    const Sums sums{{term_sums.f_real, term_sums.f_imaginary}, {term_sums.g_real, term_sums.g_imaginary}};
    const Complex_Double s(0.5, t);
    const double nd = static_cast<double>(n);
    const double log_n = tables.log_double(n);
    const Complex_Double n_power(re[n], im[n]);                // N^(−s)
    const Complex_Double integral = nd * n_power / (s - 1.0);  // N^(1−s)/(s − 1)
    const Complex_Double half = 0.5 * n_power;
    Complex_Double zeta = sums.f + integral + half;
    Complex_Double zeta_derivative = -sums.g - integral * (log_n + 1.0 / (s - 1.0)) - log_n * half;
    double tail_magnitude = 0.0;             // Σ |T_k| (k + 1), for the rounding of the Bernoulli terms
    Complex_Double term = n_power * s / nd;  // s N^(−s−1): T_1 / (B_2/2!)
    int k = 1;
    double remainder = 0.0;
    for (;; ++k) {
        const Complex_Double bernoulli_term = euler_maclaurin_coefficients[k - 1] * term;
        const double size = l1(bernoulli_term);  // ≥ the modulus: bounds stay bounds
        if (k > bernoulli_terms || size < 1e-21) {
            // The first omitted term T_k, by Backlund's bound with 2m + 1 = 2k − 1.
            remainder = l1(s + (2.0 * k - 1.0)) / (0.5 + 2.0 * k - 1.0) * size;
            break;
        }
        zeta += bernoulli_term;
        tail_magnitude += size * (k + 1);
        term *= (s + (2.0 * k - 1.0)) * (s + 2.0 * k) / (nd * nd);
    }
    const double phase = near_enough(theta_near, t) ? theta_near->reduced(t - theta_near->centre())
                                                    : reduce_modulo_two_pi(theta(t));
    const Complex_Double rotation(std::cos(phase), std::sin(phase));
    const Complex_Double rotated = rotation * zeta;
    Hardy_Z z;
    z.value = rotated.real();
    // d/dt Re(e^(iθ) ζ(1/2 + it)) = Re(iθ' e^(iθ) ζ + e^(iθ) i ζ'(s))
    z.derivative =
        (Complex_Double(0.0, 1.0) * rotation * (theta_derivative(t) * zeta + zeta_derivative)).real();
    // The sum's rounding as main_sum_error counts it (without θ, whose error only turns e^(iθ)ζ), the
    // integral and half terms from a term within term_units (with four more roundings), the Bernoulli terms'
    // recurrences (four roundings per step), the remainder, and the final rotation.
    const double sum_error = main_sum_error(n, term_units);
    const double tail_error =
        ((term_units + 8.0) * (l1(integral) + l1(half)) + (term_units + 8.0) * tail_magnitude) *
        unit_roundoff * 1.5;
    z.error = (sum_error + tail_error + remainder + 4.0 * unit_roundoff * l1(zeta)) * (1.0 + 1e-6);
    return z;
}

}  // namespace

double main_sum_error(int32_t terms, double term_units) {
    const double n = static_cast<double>(std::max<int32_t>(terms, 1));
    const double weights = 2.0 * std::sqrt(n);  // Σ n^(−1/2) ≤ 2√N − 1
    return weights * (3.0 * term_units + n + 48.0) * unit_roundoff;
}

Hardy_Z_Evaluator::Hardy_Z_Evaluator(const Dirichlet_Tables& tables)
    : tables_(tables),
      cosines_(static_cast<size_t>(tables.largest()) + 1),
      sines_(static_cast<size_t>(tables.largest()) + 1),
      real_(static_cast<size_t>(tables.largest()) + 1),
      imaginary_(static_cast<size_t>(tables.largest()) + 1),
      shifted_real_(static_cast<size_t>(tables.largest()) + 1),
      shifted_imaginary_(static_cast<size_t>(tables.largest()) + 1) {}

int32_t Hardy_Z_Evaluator::riemann_siegel_terms(double t) {
    return static_cast<int32_t>(riemann_siegel_split(t).terms);
}

int32_t Hardy_Z_Evaluator::euler_maclaurin_terms(double t) {
    // With N ≥ (t + 61)/π the Bernoulli terms shrink at least fourfold each, up to the 30th.
    return static_cast<int32_t>(std::ceil((std::fabs(t) + 61.0) / pi));
}

int32_t Hardy_Z_Evaluator::required_terms(double t, bool euler_maclaurin) {
    if (euler_maclaurin || t < riemann_siegel_from) return euler_maclaurin_terms(t);
    return riemann_siegel_terms(t);
}

void Hardy_Z_Evaluator::make_terms(double t, double t_low, int32_t count) {
    unit_terms(tables_, t, t_low, count, cosines_.data(), sines_.data());
}

// Σ_{n ≤ count} n^(−1/2) n^(−it) and Σ ln n · n^(−1/2) n^(−it) from the terms of make_terms.
static Sums weighted_sums(const Dirichlet_Tables& tables, const std::vector<double>& cosines,
                          const std::vector<double>& sines, std::vector<double>& real,
                          std::vector<double>& imaginary, int32_t count) {
    scale_terms(tables.inverse_square_roots(), cosines.data(), sines.data(), real.data(), imaginary.data(),
                count);
    const Term_Sums sums = sum_terms(real.data(), imaginary.data(), tables.log_doubles(), count);
    return {{sums.f_real, sums.f_imaginary}, {sums.g_real, sums.g_imaginary}};
}

Hardy_Z Hardy_Z_Evaluator::evaluate(double t) {
    return t < riemann_siegel_from ? euler_maclaurin(t) : riemann_siegel(t);
}

Hardy_Z Hardy_Z_Evaluator::riemann_siegel(double t, double t_low, const Theta_Near* theta_near) {
    const Riemann_Siegel_Split split = riemann_siegel_split(t);
    if (split.terms > tables_.largest()) return beyond_tables();
    const int32_t terms = static_cast<int32_t>(split.terms);
    make_terms(t, t_low, terms);
    const Sums sums = weighted_sums(tables_, cosines_, sines_, real_, imaginary_, terms);
    last_t_ = t_low == 0.0 ? t : -1.0;
    last_terms_ = terms;
    last_euler_maclaurin_ = false;
    const double term_units = term_error_per_factor * std::log2(std::max(2.0, static_cast<double>(terms)));
    return riemann_siegel_value(t, t_low, split, sums, term_units, theta_near);
}

Hardy_Z Hardy_Z_Evaluator::riemann_siegel_near(double t, const Theta_Near* theta_near) {
    const double delta = t - last_t_;
    const Riemann_Siegel_Split split = riemann_siegel_split(t);
    const int32_t terms = last_terms_;
    if (last_euler_maclaurin_ || last_t_ < 0.0 || split.terms != terms ||
        !(std::fabs(delta) * tables_.log_double(std::max(terms, 2)) <= 1.0 / 64.0))
        return riemann_siegel(t, 0.0, theta_near);
    shift_terms(real_.data(), imaginary_.data(), tables_.log_doubles(), delta, shifted_real_.data(),
                shifted_imaginary_.data(), terms);
    const Term_Sums sums =
        sum_terms(shifted_real_.data(), shifted_imaginary_.data(), tables_.log_doubles(), terms);
    // The terms at t_last, then the turn (shift_terms: 8 units).
    const double term_units =
        term_error_per_factor * std::log2(std::max(2.0, static_cast<double>(terms))) + 3.0 + 8.0;
    return riemann_siegel_value(t, 0.0, split,
                                {{sums.f_real, sums.f_imaginary}, {sums.g_real, sums.g_imaginary}},
                                term_units, theta_near);
}

Hardy_Z Hardy_Z_Evaluator::euler_maclaurin(double t, const Theta_Near* theta_near) {
    const int32_t n = euler_maclaurin_terms(t);
    if (n > tables_.largest()) return beyond_tables();
    make_terms(t, 0.0, n);
    scale_terms(tables_.inverse_square_roots(), cosines_.data(), sines_.data(), real_.data(),
                imaginary_.data(), n);
    last_t_ = t;
    last_terms_ = n;
    last_euler_maclaurin_ = true;
    const double term_units = term_error_per_factor * std::log2(std::max(2.0, static_cast<double>(n)));
    return euler_maclaurin_value(t, tables_, real_.data(), imaginary_.data(), n, term_units, theta_near);
}

Hardy_Z Hardy_Z_Evaluator::euler_maclaurin_near(double t, const Theta_Near* theta_near) {
    const double delta = t - last_t_;
    const int32_t n = euler_maclaurin_terms(t);
    if (!last_euler_maclaurin_ || last_t_ < 0.0 || n != last_terms_ ||
        !(std::fabs(delta) * tables_.log_double(std::max(n, 2)) <= 1.0 / 64.0))
        return euler_maclaurin(t, theta_near);
    shift_terms(real_.data(), imaginary_.data(), tables_.log_doubles(), delta, shifted_real_.data(),
                shifted_imaginary_.data(), n);
    // The terms at t_last, then the turn (shift_terms: 8 units).
    const double term_units =
        term_error_per_factor * std::log2(std::max(2.0, static_cast<double>(n))) + 3.0 + 8.0;
    return euler_maclaurin_value(t, tables_, shifted_real_.data(), shifted_imaginary_.data(), n, term_units,
                                 theta_near);
}

}  // namespace zeta_math
