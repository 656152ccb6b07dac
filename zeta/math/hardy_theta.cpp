#include "zeta/math/hardy_theta.h"

#include <cmath>
#include <complex>

#include "zeta/math/constants.h"

namespace zeta_math {

namespace {

using Complex_Double = std::complex<double>;

constexpr double asymptotic_from = 100.0;
constexpr Double_Double dd_pi_over_8{0.39269908169872414, 1.5308084989341915e-17};

// B_2k / (2k (2k − 1)), k = 1 ... 12: Stirling's series of ln Γ.
constexpr double stirling_coefficients[] = {
    0.08333333333333333,   -0.002777777777777778,  0.0007936507936507937, -0.0005952380952380953,
    0.0008417508417508417, -0.0019175269175269176, 0.00641025641025641,   -0.029550653594771242,
    0.17964437236883057,   -1.3924322169059011,    13.402864044168393,    -156.84828462600203,
};

// B_2k / 2k, k = 1 ... 12: the asymptotic series of the digamma function.
constexpr double digamma_coefficients[] = {
    0.08333333333333333,  -0.008333333333333333, 0.003968253968253968, -0.004166666666666667,
    0.007575757575757576, -0.021092796092796094, 0.08333333333333333,  -0.4432598039215686,
    3.0539543302701198,   -26.456212121212122,   281.4601449275362,    -3607.510546398047,
};

constexpr double shifted_modulus = 20.0;  // Stirling's series is used at |z| ≥ this

// ln Γ(z) for Re z > 0 and Im z ≥ 0, the branch continuous from the positive real axis.
Complex_Double log_gamma(Complex_Double z) {
    Complex_Double shift = 0.0;
    while (std::abs(z) < shifted_modulus) {
        shift += std::log(z);
        z += 1.0;
    }
    const Complex_Double inverse = 1.0 / z;
    const Complex_Double inverse_square = inverse * inverse;
    Complex_Double power = inverse;
    Complex_Double sum = 0.0;
    for (const double coefficient : stirling_coefficients) {
        sum += coefficient * power;
        power *= inverse_square;
    }
    return (z - 0.5) * std::log(z) - z + 0.5 * log_two_pi + sum - shift;
}

// ψ(z) = Γ'(z)/Γ(z) for Re z > 0.
Complex_Double digamma(Complex_Double z) {
    Complex_Double shift = 0.0;
    while (std::abs(z) < shifted_modulus) {
        shift += 1.0 / z;
        z += 1.0;
    }
    const Complex_Double inverse_square = 1.0 / (z * z);
    Complex_Double power = inverse_square;
    Complex_Double sum = 0.0;
    for (const double coefficient : digamma_coefficients) {
        sum += coefficient * power;
        power *= inverse_square;
    }
    return std::log(z) - 0.5 / z - sum - shift;
}

// 1/(48t) + 7/(5760t³) + 31/(80640t⁵) + 127/(430080t⁷) + 511/(1216512t⁹).
double theta_series(double t) {
    const double inverse = 1.0 / t;
    const double square = inverse * inverse;
    return inverse *
           (1.0 / 48.0 +
            square * (7.0 / 5760.0 +
                      square * (31.0 / 80640.0 + square * (127.0 / 430080.0 + square * 511.0 / 1216512.0))));
}

// W(c) for c > 0: the w with w e^w = c.
double lambert_w(double c) {
    double w = c < 1.0 ? c : std::log(c) - std::log(std::log(c) + 1.0) + 0.5;
    for (int i = 0; i < 60; ++i) {
        const double e = std::exp(w);
        const double step = (w * e - c) / (e * (w + 1.0));
        w -= step;
        if (std::fabs(step) <= 1e-16 * std::fabs(w)) break;
    }
    return w;
}

// ln(1 + j/64), j = 0 ... 64, and 1/(2k + 1), k = 0 ... 7, computed once (thread-safe static).
struct Log_Table {
    Double_Double logs[65];
    Double_Double reciprocals[8];
    Log_Table() {
        for (int j = 0; j <= 64; ++j)
            logs[j] = log_dd(Double_Double{1.0 + j / 64.0, 0.0});
        for (int k = 0; k < 8; ++k)
            reciprocals[k] = Double_Double{1.0, 0.0} / Double_Double{2.0 * k + 1.0, 0.0};
    }
};

const Log_Table& log_table() {
    static const Log_Table table;
    return table;
}

}  // namespace

Double_Double log_of(double x) {
    int exponent = 0;
    const double mantissa = 2.0 * std::frexp(x, &exponent);  // [1, 2)
    exponent -= 1;
    const int j = static_cast<int>((mantissa - 1.0) * 64.0);
    const double c = 1.0 + j / 64.0;
    // z = (m − c)/(m + c), |z| ≤ 1/129; m − c is exact.
    const Double_Double z = Double_Double{mantissa - c, 0.0} / two_sum(mantissa, c);
    const Double_Double square = z * z;
    // 2 atanh z = 2 Σ z^(2k+1)/(2k + 1), k = 0 ... 7 (the next term is below 1e-32 of the sum).
    const Log_Table& table = log_table();
    Double_Double sum = table.reciprocals[7];
    for (int k = 6; k >= 0; --k)
        sum = sum * square + table.reciprocals[k];
    return dd_log_two * static_cast<double>(exponent) + table.logs[j] + sum * z * 2.0;
}

Double_Double theta(double t) {
    if (t < asymptotic_from) {
        const Complex_Double z(0.25, 0.5 * t);
        return Double_Double{log_gamma(z).imag() - 0.5 * t * log_pi, 0.0};
    }
    const Double_Double log_ratio = log_of(t) - dd_log_two_pi;
    const double half = 0.5 * t;  // exact
    Double_Double value = log_ratio * half - Double_Double{half, 0.0} - dd_pi_over_8;
    return value + Double_Double{theta_series(t), 0.0};
}

double theta_derivative(double t) {
    if (t < asymptotic_from) {
        const Complex_Double z(0.25, 0.5 * t);
        return 0.5 * digamma(z).real() - 0.5 * log_pi;
    }
    const double square = 1.0 / (t * t);
    return 0.5 * std::log(t / (2.0 * pi)) -
           square * (1.0 / 48.0 + square * (7.0 / 1920.0 + square * (31.0 / 16128.0)));
}

double reduced_theta(double t, double t_low) {
    Double_Double value = theta(t);
    if (t_low != 0.0) value = value + Double_Double{theta_derivative(t) * t_low, 0.0};
    return reduce_modulo_two_pi(value);
}

Theta_Near::Theta_Near(double t_0)
    : t_0_(t_0),
      theta_0_(theta(t_0)),
      half_log_((log_of(t_0) - dd_log_two_pi) * 0.5),
      series_0_(theta_series(t_0)) {}

double Theta_Near::reduced(double delta, double delta_low) const {
    const double x = delta / t_0_;
    // Σ_{j≥2} (−x)^(j−2) / (j(j − 1)) by Horner's rule; |x| ≤ 1/20 makes 16 terms enough for 1e-20.
    double sum = 0.0;
    for (int j = 17; j >= 2; --j)
        sum = sum * -x + 1.0 / (static_cast<double>(j) * (j - 1));
    const Double_Double linear = Double_Double{delta, delta_low} * half_log_;
    const double small = 0.5 * delta * x * sum + (theta_series(t_0_ + delta) - series_0_);
    return reduce_modulo_two_pi(theta_0_ + linear + Double_Double{small, 0.0});
}

double Theta_Near::derivative(double delta) const {
    return theta_derivative(t_0_ + delta);
}

double gram_point(int64_t n) {
    // θ(t) ≈ (t/2) ln(t/2πe) − π/8 gives the start: with u = t/2πe, u ln u = (n + 1/8)/e.
    const double c = (static_cast<double>(n) + 0.125) / std::exp(1.0);
    double t = 2.0 * pi * std::exp(1.0) * c / lambert_w(c);
    const Double_Double target =
        two_product(static_cast<double>(n), dd_pi.hi) + Double_Double{static_cast<double>(n) * dd_pi.lo, 0.0};
    // Newton's method, in double while the steps are large, then with θ in double-double.
    for (int i = 0; i < 12 && t >= asymptotic_from; ++i) {
        const double value = 0.5 * t * std::log(t / (2.0 * pi)) - 0.5 * t - 0.125 * pi + theta_series(t);
        const double step = (value - (target.hi + target.lo)) / theta_derivative(t);
        t -= step;
        if (std::fabs(step) <= 1e-9 * t) break;
    }
    for (int i = 0; i < 12; ++i) {
        const double residual = (theta(t) - target).hi;
        const double step = residual / theta_derivative(t);
        t -= step;
        if (std::fabs(step) <= 2e-16 * t) break;
    }
    return t;
}

int64_t gram_index(double t) {
    const Double_Double turns = theta(t) / dd_pi;
    double whole = std::floor(turns.hi);
    if (turns.hi == whole && turns.lo < 0.0) whole -= 1.0;
    return static_cast<int64_t>(whole);
}

double zero_spacing(double t) {
    return 2.0 * pi / std::log(std::fmax(t, 50.0) / (2.0 * pi));
}

}  // namespace zeta_math
