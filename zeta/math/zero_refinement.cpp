#include "zeta/math/zero_refinement.h"

#include <algorithm>
#include <cmath>

namespace zeta_math {

namespace {

constexpr int most_evaluations = 80;

// The zero of the line through the two ends, kept inside the bracket.
double secant(const Z_Sample& low, const Z_Sample& high) {
    const double width = high.t - low.t;
    const double share = low.z.value / (low.z.value - high.z.value);
    const double x = low.t + (std::isfinite(share) ? std::clamp(share, 0.0, 1.0) : 0.5) * width;
    return std::clamp(x, low.t, high.t);
}

// The zero of the cubic through both ends' values and slopes, found by Newton's method from the secant's
// zero; the secant's zero when the cubic leads out of the bracket.
double hermite_root(const Z_Sample& low, const Z_Sample& high) {
    const double width = high.t - low.t;
    const double f0 = low.z.value;
    const double f1 = high.z.value;
    const double d0 = low.z.derivative * width;
    const double d1 = high.z.derivative * width;
    const double start = (secant(low, high) - low.t) / width;
    double u = start;
    for (int i = 0; i < 8; ++i) {
        const double u2 = u * u;
        const double u3 = u2 * u;
        const double value = f0 * (2.0 * u3 - 3.0 * u2 + 1.0) + d0 * (u3 - 2.0 * u2 + u) +
                             f1 * (-2.0 * u3 + 3.0 * u2) + d1 * (u3 - u2);
        const double slope = f0 * (6.0 * u2 - 6.0 * u) + d0 * (3.0 * u2 - 4.0 * u + 1.0) +
                             f1 * (-6.0 * u2 + 6.0 * u) + d1 * (3.0 * u2 - 2.0 * u);
        u -= value / slope;
        if (!(u > 0.0 && u < 1.0)) return low.t + start * width;
    }
    return low.t + u * width;
}

}  // namespace

double zero_tolerance(double gamma) {
    const double magnitude = std::fabs(gamma);
    return std::max(1e-10, 4.0 * (std::nextafter(magnitude, INFINITY) - magnitude));
}

Refined_Zero refine_zero(Z_Sample low, Z_Sample high, const Z_Function& evaluate) {
    Refined_Zero result;
    const int low_sign = low.z.sign();
    // The ends may be points t + t_low that are not doubles: a quarter of the tolerance is kept for that.
    const double tolerance = 0.75 * zero_tolerance(high.t);
    double x = hermite_root(low, high);
    double previous_step = high.t - low.t;
    while (high.t - low.t > tolerance && result.evaluations < most_evaluations) {
        const double width = high.t - low.t;
        if (!(x > low.t && x < high.t)) x = low.t + 0.5 * width;
        if (!(x > low.t && x < high.t)) break;  // no double left between the ends
        const Hardy_Z z = evaluate(x);
        ++result.evaluations;
        const int sign = z.sign();
        if (sign == 0) {
            // Z is within its error bound of 0 here: the zero is close. Probe on both sides.
            const double reach = std::min(0.5 * tolerance, 0.5 * width);
            for (const double probe : {x - reach, x + reach}) {
                if (!(probe > low.t && probe < high.t)) continue;
                const Hardy_Z value = evaluate(probe);
                ++result.evaluations;
                if (value.sign() == low_sign) low = {probe, 0.0, value};
                if (value.sign() == -low_sign) high = {probe, 0.0, value};
            }
            if (high.t - low.t > tolerance) {
                // The error bound is too large for this tolerance: settle for the best estimate.
                result.gamma = x;
                return result;
            }
            break;
        }
        if (sign == low_sign) {
            low = {x, 0.0, z};
        } else {
            high = {x, 0.0, z};
        }
        // Newton while it converges inside the bracket, else bisection. x is now an end of the bracket, so
        // the zero lies on the side of the other end.
        const double toward = x == low.t ? 1.0 : -1.0;
        const double step = -z.value / z.derivative;
        double next = low.t + 0.5 * (high.t - low.t);
        if (std::isfinite(step) && step * toward >= 0.0 && std::fabs(step) < 0.5 * previous_step) {
            // Just past a predicted zero that is close (closer than an ulp, maybe), so that the next value
            // closes the bracket.
            const double past = 0.25 * tolerance;
            const double target = std::fabs(step) < past ? x + toward * (std::fabs(step) + past) : x + step;
            if (target > low.t && target < high.t) next = target;
        }
        previous_step = next == x + step ? std::fabs(step) : std::fabs(next - x);
        x = next;
    }
    result.certified = high.t - low.t <= tolerance;
    result.gamma = secant(low, high);
    return result;
}

}  // namespace zeta_math
