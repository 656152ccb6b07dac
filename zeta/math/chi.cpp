#include "zeta/math/chi.h"

#include <cmath>
#include <iterator>

#include "zeta/math/constants.h"
#include "zeta/math/double_double.h"

namespace zeta_math {

namespace {

using Complex_Double = std::complex<double>;

// B_2k / (2k (2k − 1)), k = 1 ... 12.
constexpr double stirling_coefficients[] = {
    0.08333333333333333,   -0.002777777777777778,  0.0007936507936507937, -0.0005952380952380953,
    0.0008417508417508417, -0.0019175269175269176, 0.00641025641025641,   -0.029550653594771242,
    0.17964437236883057,   -1.3924322169059011,    13.402864044168393,    -156.84828462600203,
};

// Σ B_2k / (2k (2k − 1) z^(2k − 1)) for |z| ≥ 10.
Complex_Double stirling_sum(Complex_Double z) {
    const Complex_Double inverse = 1.0 / z;
    const Complex_Double inverse_square = inverse * inverse;
    Complex_Double power = inverse;
    Complex_Double sum = 0.0;
    for (const double coefficient : stirling_coefficients) {
        const Complex_Double term = coefficient * power;
        sum += term;
        if (std::abs(term) < 1e-18 * std::abs(sum)) break;
        power *= inverse_square;
    }
    return sum;
}

// log Γ(z) up to a multiple of 2πi, for Re z > 0.
Complex_Double log_gamma(Complex_Double z) {
    Complex_Double shift = 0.0;
    while (std::abs(z) < 20.0) {
        shift += std::log(z);
        z += 1.0;
    }
    return (z - 0.5) * std::log(z) - z + 0.5 * log_two_pi + stirling_sum(z) - shift;
}

// sin(πx) and cos(πx), with x reduced exactly to [−1/2, 1/2] first, so that both are accurate near their
// zeros.
void sin_cos_pi(double x, double& sine, double& cosine) {
    double r = x - 2.0 * std::nearbyint(0.5 * x);  // [−1, 1], exact
    double sign = 1.0;
    if (r > 0.5) {
        r = 1.0 - r;
        sign = -1.0;  // sin(π(1 − r)) = sin(πr), cos(π(1 − r)) = −cos(πr)
    } else if (r < -0.5) {
        r = -1.0 - r;
        sign = -1.0;
    }
    sine = std::sin(pi * r);
    cosine = sign * std::cos(pi * r);
}

// t·(atan(α) − α) without cancellation.
double arctangent_excess(double t, double alpha) {
    if (std::fabs(alpha) >= 0.1) return t * (std::atan(alpha) - alpha);
    const double square = alpha * alpha;
    double power = alpha * square;
    double sum = 0.0;
    for (int k = 1; k <= 9; ++k) {
        sum += (k % 2 == 1 ? -power : power) / (2.0 * k + 1.0);
        power *= square;
    }
    return t * sum;
}

// Σ B_2k / (2k (2k − 1) z^(2k − 1)) over the first `terms` terms.
Complex_Double stirling_sum(Complex_Double z, int terms) {
    const double norm = z.real() * z.real() + z.imag() * z.imag();
    const Complex_Double inverse(z.real() / norm, -z.imag() / norm);
    const Complex_Double inverse_square = inverse * inverse;
    Complex_Double power = inverse;
    Complex_Double sum = 0.0;
    for (int k = 0; k < terms; ++k) {
        sum += stirling_coefficients[k] * power;
        power *= inverse_square;
    }
    return sum;
}

}  // namespace

Chi_Row chi_row(double t) {
    Chi_Row row;
    row.t = t;
    row.damping = std::exp(-pi * t);
    // |1 − s| ≥ t: the terms past these fall below 10^-18 of the first.
    constexpr int most_terms = static_cast<int>(std::size(stirling_coefficients));
    while (row.stirling_terms < most_terms &&
           std::fabs(stirling_coefficients[row.stirling_terms]) >=
               1e-18 * stirling_coefficients[0] * std::pow(t, 2.0 * row.stirling_terms))
        ++row.stirling_terms;
    const Double_Double log_ratio = log_dd(Double_Double{t, 0.0}) - dd_log_two_pi;
    row.log_t_over_two_pi = log_ratio.hi + log_ratio.lo;
    row.reduced_phase = reduce_modulo_two_pi(Double_Double{t, 0.0} - log_ratio * t);
    return row;
}

// With z = 1 − s, r = 1/2 − σ, α = (1 − σ)/t, β = atan α and λ = ln(1 + α²)/2, Stirling's series gives
//   Re log χ = r ln(t/2π) + rλ + t(β − α) + Re log(1 − e^(iπs)) + Re S(z)
//   Im log χ = t − t ln(t/2π) + π/4 + rβ − tλ + Im log(1 − e^(iπs)) + Im S(z)
// where S is the Stirling sum; the terms in πt/2 of log sin(πs/2) and log Γ(1 − s) cancel exactly.
Complex_Double chi_high(double sigma, const Chi_Row& row) {
    const double t = row.t;
    const double r = 0.5 - sigma;
    const double alpha = (1.0 - sigma) / t;
    double beta = 0.0;
    double lambda = 0.0;
    const double square = alpha * alpha;
    if (std::fabs(alpha) < 1e-3) {
        // atan and ln(1 + α²)/2 by their series, the next terms below 10^-21 relative.
        beta = alpha * (1.0 - square * (1.0 / 3.0 - square * 0.2));
        lambda = 0.5 * square * (1.0 - square * (0.5 - square * (1.0 / 3.0)));
    } else {
        beta = std::atan(alpha);
        lambda = 0.5 * std::log1p(square);
    }
    Complex_Double correction = stirling_sum(Complex_Double(1.0 - sigma, -t), row.stirling_terms);
    const double damping = row.damping;
    if (damping > 1e-20) {
        double sine = 0.0;
        double cosine = 0.0;
        sin_cos_pi(sigma, sine, cosine);
        correction += std::log(1.0 - damping * Complex_Double(cosine, sine));
    }
    const double real =
        r * row.log_t_over_two_pi + r * lambda + arctangent_excess(t, alpha) + correction.real();
    const double imaginary = row.reduced_phase + (0.25 * pi + r * beta - t * lambda + correction.imag());
    return std::exp(real) * Complex_Double(std::cos(imaginary), std::sin(imaginary));
}

Complex_Double chi_low(Complex_Double s) {
    // sin(π(σ + it)/2) = sin(πσ/2) cosh(πt/2) + i cos(πσ/2) sinh(πt/2)
    double sine = 0.0;
    double cosine = 0.0;
    sin_cos_pi(0.5 * s.real(), sine, cosine);
    const double half_pi_t = 0.5 * pi * s.imag();
    const Complex_Double sin_half(sine * std::cosh(half_pi_t), cosine * std::sinh(half_pi_t));
    const Complex_Double exponent = s * log_two_pi - log_pi + log_gamma(1.0 - s);
    return std::exp(exponent) * sin_half;
}

}  // namespace zeta_math
