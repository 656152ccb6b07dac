#include "zeta/math/double_double.h"

#include <cmath>

namespace zeta_math {

Double_Double operator/(Double_Double a, Double_Double b) {
    // Two correction steps of long division.
    const double q1 = a.hi / b.hi;
    const Double_Double r1 = a - b * q1;
    const double q2 = r1.hi / b.hi;
    const Double_Double r2 = r1 - b * q2;
    const double q3 = r2.hi / b.hi;
    return quick_two_sum(q1, q2) + Double_Double{q3, 0.0};
}

Double_Double log_dd(Double_Double x) {
    // x = m · 2^e with m in [1/√2, √2); ln m = 2 atanh(z), z = (m − 1) / (m + 1), |z| < 0.172.
    int exponent = 0;
    double mantissa = std::frexp(x.hi, &exponent);  // in [0.5, 1)
    if (mantissa < 0.7071067811865476) {
        exponent -= 1;
    }
    const double scale = std::ldexp(1.0, -exponent);
    const Double_Double m{x.hi * scale, x.lo * scale};
    const Double_Double z = (m - Double_Double{1.0, 0.0}) / (m + Double_Double{1.0, 0.0});
    const Double_Double z2 = z * z;
    // Σ z^(2k+1) / (2k+1) until the terms fall below 10^-33 of the sum.
    Double_Double power = z;
    Double_Double sum = z;
    for (int k = 1; k < 40; ++k) {
        power = power * z2;
        const Double_Double term = power / Double_Double{2.0 * k + 1.0, 0.0};
        sum = sum + term;
        if (std::fabs(term.hi) < 1e-33 * std::fabs(sum.hi) || term.hi == 0.0) break;
    }
    return sum * 2.0 + dd_log_two * static_cast<double>(exponent);
}

double reduce_modulo_two_pi(Double_Double x) {
    const double k = std::nearbyint(x.hi / dd_two_pi.hi);
    const Double_Double turns = two_product(k, dd_two_pi.hi) + two_product(k, dd_two_pi.lo);
    const Double_Double r = x - turns;
    return r.hi + r.lo;
}

}  // namespace zeta_math
