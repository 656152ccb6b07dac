#include "tests/zeta_math/arb_reference.h"

#include <acb.h>
#include <acb_dirichlet.h>
#include <arb.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

double to_double(const arb_t x) {
    return arf_get_d(arb_midref(x), ARF_RND_NEAR);
}

// Σ n^-s over n ≤ M for Re s ≥ 9, with M so large that the rest stays below 10^-22.
void direct_sum(acb_t sum, const acb_t s, double sigma, slong precision) {
    const long terms = static_cast<long>(std::ceil(std::exp(22.0 * std::log(10.0) / (sigma - 1.0)))) + 2;
    acb_t term;
    acb_t log_n;
    acb_init(term);
    acb_init(log_n);
    acb_zero(sum);
    for (long n = 1; n <= terms; ++n) {
        acb_set_ui(log_n, static_cast<ulong>(n));
        acb_log(log_n, log_n, precision);
        acb_mul(term, log_n, s, precision);
        acb_neg(term, term);
        acb_exp(term, term, precision);
        acb_add(sum, sum, term, precision);
    }
    acb_clear(term);
    acb_clear(log_n);
}

// χ(s) = 2^s π^(s−1) sin(πs/2) Γ(1 − s).
void chi(acb_t result, const acb_t s, slong precision) {
    acb_t factor;
    acb_t base;
    acb_init(factor);
    acb_init(base);
    acb_set_ui(base, 2);
    acb_pow(result, base, s, precision);
    acb_const_pi(base, precision);
    acb_sub_ui(factor, s, 1, precision);
    acb_pow(factor, base, factor, precision);
    acb_mul(result, result, factor, precision);
    acb_mul_2exp_si(factor, s, -1);
    acb_sin_pi(factor, factor, precision);
    acb_mul(result, result, factor, precision);
    acb_neg(factor, s);
    acb_add_ui(factor, factor, 1, precision);
    acb_gamma(factor, factor, precision);
    acb_mul(result, result, factor, precision);
    acb_clear(factor);
    acb_clear(base);
}

// acb_zeta takes seconds far from the critical strip at large t; there the sum itself converges at once, or
// does after the functional equation.
void zeta_value(acb_t value, const acb_t s, double sigma, slong precision) {
    if (sigma >= 9.0) {
        direct_sum(value, s, sigma, precision);
    } else if (sigma <= -8.0) {
        acb_t reflected;
        acb_t factor;
        acb_init(reflected);
        acb_init(factor);
        acb_neg(reflected, s);
        acb_add_ui(reflected, reflected, 1, precision);
        direct_sum(value, reflected, 1.0 - sigma, precision);
        chi(factor, s, precision);
        acb_mul(value, value, factor, precision);
        acb_clear(reflected);
        acb_clear(factor);
    } else {
        acb_zeta(value, s, precision);
    }
}

}  // namespace

std::complex<double> reference_zeta(std::complex<double> s) {
    acb_t argument;
    acb_t value;
    acb_init(argument);
    acb_init(value);
    acb_set_d_d(argument, s.real(), s.imag());
    std::complex<double> result;
    for (slong precision = 128; precision <= 2048; precision *= 2) {
        zeta_value(value, argument, s.real(), precision);
        result = {to_double(acb_realref(value)), to_double(acb_imagref(value))};
        const double bound = 1e-14 * std::max(1.0, std::abs(result));
        const double radius =
            mag_get_d(arb_radref(acb_realref(value))) + mag_get_d(arb_radref(acb_imagref(value)));
        if (radius < bound) break;
    }
    acb_clear(argument);
    acb_clear(value);
    return result;
}

std::vector<double> first_zero_heights(int count) {
    return zero_heights(1, count);
}

std::vector<double> zero_heights(long first_number, int count) {
    std::vector<double> heights;
    arb_ptr zeros = _arb_vec_init(count);
    fmpz_t first;
    fmpz_init_set_ui(first, static_cast<ulong>(first_number));
    acb_dirichlet_hardy_z_zeros(zeros, first, count, 128);
    for (int i = 0; i < count; ++i)
        heights.push_back(to_double(zeros + i));
    fmpz_clear(first);
    _arb_vec_clear(zeros, count);
    return heights;
}

double gram_point(long n) {
    arb_t point;
    fmpz_t index;
    arb_init(point);
    fmpz_init(index);
    fmpz_set_si(index, n);
    acb_dirichlet_gram_point(point, index, nullptr, nullptr, 128);
    const double result = to_double(point);
    fmpz_clear(index);
    arb_clear(point);
    return result;
}

long zero_count(double t) {
    arb_t height;
    arb_t count;
    arb_init(height);
    arb_init(count);
    arb_set_d(height, t);
    acb_dirichlet_zeta_nzeros(count, height, 128);
    const long result = static_cast<long>(std::llround(to_double(count)));
    arb_clear(height);
    arb_clear(count);
    return result;
}

static double hardy_function(double t, bool theta) {
    acb_t point;
    acb_t value;
    acb_init(point);
    acb_init(value);
    acb_set_d(point, t);
    if (theta) {
        acb_dirichlet_hardy_theta(value, point, nullptr, nullptr, 1, 192);
    } else {
        acb_dirichlet_hardy_z(value, point, nullptr, nullptr, 1, 192);
    }
    const double result = to_double(acb_realref(value));
    acb_clear(point);
    acb_clear(value);
    return result;
}

double hardy_z(double t) {
    return hardy_function(t, false);
}

double hardy_theta(double t) {
    return hardy_function(t, true);
}

double zeta_error(std::complex<double> accurate, std::complex<double> reference) {
    return std::abs(accurate - reference) / std::max(1.0, std::abs(reference));
}
