#include "zeta/math/zeta_function.h"

#include <cmath>

#include "zeta/math/zeta_series.h"

void evaluate_zeta(int32_t terms, const Complex& s, Complex& result) {
    const double sigma = s.real;
    const double t = s.imaginary;
    double sum_real = 0.0;
    double sum_imaginary = 0.0;
    // A 64-bit counter: terms may be INT32_MAX.
    for (int64_t n = 1; n <= terms; ++n) {
        const double nd = static_cast<double>(n);
        const double theta = std::log(nd) * t;
        const double p = std::pow(nd, sigma);
        const double c = std::cos(theta) * p;
        const double sn = std::sin(theta) * p;
        zeta_series::add_term(c, sn, zeta_series::term_sign(n), sum_real, sum_imaginary);
    }
    const double phi = -(zeta_series::log_of_two() * t);
    const double q = std::pow(2.0, 1.0 - sigma);
    result = zeta_series::divide_by_eta_factor(std::cos(phi), std::sin(phi), q, sum_real, sum_imaginary);
}
