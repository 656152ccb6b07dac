// Hardy's Z and θ against Arb: every computed value must lie within its own error bound, whichever way it
// was computed (Riemann–Siegel, Euler–Maclaurin, stepped along a grid), and the bounds must stay small enough
// for signs to be useful. The Riemann–Siegel coefficient table is checked against Arb's power series.
#include <arb_poly.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "tests/support/sanitizer_scale.h"
#include "tests/zeta_math/arb_reference.h"
#include "zeta/math/hardy_theta.h"
#include "zeta/math/hardy_z_steps.h"
#include "zeta/math/riemann_siegel_correction.h"
#include "zeta/math/zero_isolation.h"

namespace {

using namespace zeta_math;

// |value − Z(t)| / bound, failing when above 1; also the bound must allow signs (below `largest_bound`).
double checked_ratio(const Hardy_Z& z, double t, double largest_bound, const char* method) {
    const double reference = hardy_z(t);
    const double ratio = std::fabs(z.value - reference) / z.error;
    EXPECT_LE(ratio, 1.0) << method << " at t = " << t << ": " << z.value << " against " << reference;
    EXPECT_LE(z.error, largest_bound) << method << " at t = " << t;
    return ratio;
}

TEST(HardyZArb, ValuesLieWithinTheirErrorBounds) {
    const std::vector<double> heights = {0.5,     14.134725, 50.0,   150.0,       199.99,  200.0,
                                         200.5,   650.0,     1000.0, 2345.6,      7005.08, 1e4,
                                         74920.8, 600269.7,  1e7,    4.2653549e7, 1e8};
    Dirichlet_Tables tables(zero_search_terms(1.1e8));
    Hardy_Z_Evaluator evaluator(tables);
    double worst = 0.0;
    for (const double height : heights) {
        for (const double t : {height, height + 0.137, height + 0.61}) {
            worst = std::max(worst, checked_ratio(evaluator.evaluate(t), t, 1e-8, "evaluate"));
            if (t < 2.5e4)
                worst = std::max(worst, checked_ratio(evaluator.euler_maclaurin(t), t, 1e-10, "EM"));
        }
    }
    std::printf("worst error over its bound: %.3g\n", worst);
}

TEST(HardyZArb, SteppedValuesLieWithinTheirErrorBounds) {
    Dirichlet_Tables tables(zero_search_terms(1.01e8));
    Hardy_Z_Stepper stepper(tables);
    const int count = scaled(300, 140);  // past a restart of the terms at 128
    for (const double start : {1500.0, 1e5, 1e8}) {
        std::vector<Z_Sample> samples(static_cast<size_t>(count));
        ASSERT_TRUE(stepper.evaluate(start, 0.5 * zero_spacing(start), count, samples.data()));
        for (int k = 0; k < count; k += 9) {
            const Z_Sample& sample = samples[static_cast<size_t>(k)];
            const double t = sample.t + sample.t_low;  // within an ulp; Arb takes the double
            if (sample.t_low != 0.0) continue;
            checked_ratio(sample.z, t, 1e-9, "stepped");
        }
        // Points that are not doubles: the stepped value agrees with a direct one at the same exact point.
        Hardy_Z_Evaluator evaluator(tables);
        for (int k = 1; k < count; k += 17) {
            const Z_Sample& sample = samples[static_cast<size_t>(k)];
            const Hardy_Z direct = evaluator.riemann_siegel(sample.t, sample.t_low);
            EXPECT_LE(std::fabs(direct.value - sample.z.value), direct.error + sample.z.error) << sample.t;
        }
    }
}

// Values turned from the terms of a nearby point, as refinement asks for them: within their bounds, and
// computed afresh once too far.
TEST(HardyZArb, NearbyValuesLieWithinTheirErrorBounds) {
    Dirichlet_Tables tables(zero_search_terms(1.01e8));
    Hardy_Z_Evaluator evaluator(tables);
    for (const double start : {2345.6, 74920.8, 1e8}) {
        const Theta_Near near(start);
        evaluator.riemann_siegel(start);
        for (const double offset : {1e-9, -3e-6, 2e-4, 1e-3, 0.3}) {
            const double t = start + offset;
            const Hardy_Z shifted = evaluator.riemann_siegel_near(t, &near);
            checked_ratio(shifted, t, 1e-9, "turned");
            const Hardy_Z direct = evaluator.riemann_siegel(t);
            EXPECT_LE(std::fabs(shifted.value - direct.value), 1e-12) << t;
            evaluator.riemann_siegel(start);
        }
    }
    for (const double start : {14.1347, 150.0, 1500.0}) {
        const Theta_Near near(std::max(start, 100.0));
        evaluator.euler_maclaurin(start);
        for (const double offset : {1e-9, -3e-6, 2e-4, 1e-3, 0.3}) {
            const double t = start + offset;
            const Hardy_Z shifted = evaluator.euler_maclaurin_near(t, &near);
            checked_ratio(shifted, t, 1e-10, "turned EM");
            EXPECT_LE(std::fabs(shifted.value - evaluator.euler_maclaurin(t).value), 1e-13) << t;
            evaluator.euler_maclaurin(start);
        }
    }
}

TEST(LogOf, AgreesWithTheSeriesLogarithm) {
    for (const double x :
         {1.0, 1.0078125, 1.5, 2.0, 3.0, 6.283185307179586, 1e4 + 0.3, 997.0, 1e8 + 7.0, 1e13}) {
        const Double_Double fast = log_of(x);
        const Double_Double reference = log_dd(Double_Double{x, 0.0});
        EXPECT_LE(std::fabs((fast - reference).hi), 1e-30 * std::max(1.0, std::fabs(reference.hi))) << x;
    }
}

TEST(HardyTheta, MatchesArbNearAndFarAndGramPointsSolveIt) {
    for (const double t : {1.0, 6.29, 10.0, 50.0, 99.9, 100.1, 1e3, 74920.8, 1e6, 1e10, 1e12}) {
        const double reference = hardy_theta(t);
        EXPECT_NEAR(theta(t).hi, reference, 2e-15 * std::max(1.0, std::fabs(reference))) << t;
        // Arb's value rounded to a double keeps the phase only while θ is small.
        if (t < 1e5) {
            EXPECT_NEAR(reduced_theta(t), std::remainder(reference, 2.0 * M_PI), 1e-9) << t;
        }
    }
    // The expansion about a centre against the full computation, reduced modulo 2π, as far as 2√centre
    // (offsets that keep centre + δ a double).
    for (const double centre : {150.0, 1e4, 1e8, 1e12}) {
        const Theta_Near near(centre);
        for (const double delta :
             {-std::floor(2.0 * std::sqrt(centre)), -3.75, 0.5, std::floor(2.0 * std::sqrt(centre))}) {
            const double full = reduced_theta(centre + delta);
            const double difference = std::remainder(near.reduced(delta) - full, 2.0 * M_PI);
            EXPECT_LE(std::fabs(difference), 1e-14) << centre << " + " << delta;
        }
    }
    for (const long n : {0L, 1L, 125L, 126L, 1000L, 1000000L}) {
        const double reference = ::gram_point(n);  // Arb's
        // Below t = 100, θ comes from Stirling's series in double: good to about 1e-14 there.
        EXPECT_NEAR(zeta_math::gram_point(n), reference, (n < 30 ? 1e-14 : 4e-16) * reference) << n;
    }
}

// The table's coefficients of C0 ... C4 in powers of p − 1/2, recomputed from Arb's power series of
// Ψ(p) = cos(2π(p² − p − 1/16)) / cos(2πp) at 400 bits and Gabcke's combinations of its derivatives.
TEST(RiemannSiegelCoefficients, MatchArbPowerSeries) {
    constexpr slong length = 2 * riemann_siegel_coefficient_count + 14;
    constexpr slong precision = 400;
    arb_poly_t argument, numerator, denominator, psi;
    arb_poly_init(argument);
    arb_poly_init(numerator);
    arb_poly_init(denominator);
    arb_poly_init(psi);
    arb_t pi, x;
    arb_init(pi);
    arb_init(x);
    arb_const_pi(pi, precision);
    // 2π z² − 5π/8 and 2πz, z = p − 1/2.
    arb_mul_2exp_si(x, pi, 1);
    arb_poly_set_coeff_arb(argument, 2, x);
    arb_mul_ui(x, pi, 5, precision);
    arb_div_ui(x, x, 8, precision);
    arb_neg(x, x);
    arb_poly_set_coeff_arb(argument, 0, x);
    arb_poly_cos_series(numerator, argument, length, precision);
    arb_poly_neg(numerator, numerator);
    arb_poly_zero(argument);
    arb_mul_2exp_si(x, pi, 1);
    arb_poly_set_coeff_arb(argument, 1, x);
    arb_poly_cos_series(denominator, argument, length, precision);
    arb_poly_div_series(psi, numerator, denominator, length, precision);
    std::vector<arb_poly_struct> derivative(13);
    for (arb_poly_struct& d : derivative)
        arb_poly_init(&d);
    arb_poly_set(&derivative[0], psi);
    for (int k = 1; k <= 12; ++k)
        arb_poly_derivative(&derivative[k], &derivative[k - 1], precision);
    // C_k = Σ (factor / π^power) Ψ^(order).
    struct Part {
        int order;
        long numerator;
        ulong denominator;
        int power;
    };
    const std::vector<std::vector<Part>> combinations = {
        {{0, 1, 1, 0}},
        {{3, -1, 96, 2}},
        {{2, 1, 64, 2}, {6, 1, 18432, 4}},
        {{1, -1, 64, 2}, {5, -1, 3840, 4}, {9, -1, 5308416, 6}},
        {{0, 1, 128, 2}, {4, 19, 24576, 4}, {8, 11, 5898240, 6}, {12, 1, 2038431744, 8}},
    };
    arb_t sum, term, power;
    arb_init(sum);
    arb_init(term);
    arb_init(power);
    for (int k = 0; k < 5; ++k) {
        for (int j = 0; j < riemann_siegel_coefficient_count; ++j) {
            const slong exponent = 2 * j + (k % 2);
            arb_zero(sum);
            for (const Part& part : combinations[static_cast<size_t>(k)]) {
                arb_poly_get_coeff_arb(term, &derivative[static_cast<size_t>(part.order)], exponent);
                arb_pow_ui(power, pi, static_cast<ulong>(part.power), precision);
                arb_div(term, term, power, precision);
                arb_mul_si(term, term, part.numerator, precision);
                arb_div_ui(term, term, part.denominator, precision);
                arb_add(sum, sum, term, precision);
            }
            const double expected = arf_get_d(arb_midref(sum), ARF_RND_NEAR);
            EXPECT_NEAR(riemann_siegel_coefficients[k][j], expected, 1e-15 * std::fabs(expected) + 1e-300)
                << "C" << k << " coefficient of (p - 1/2)^" << exponent;
        }
    }
    for (arb_poly_struct& d : derivative)
        arb_poly_clear(&d);
    arb_clear(sum);
    arb_clear(term);
    arb_clear(power);
    arb_clear(pi);
    arb_clear(x);
    arb_poly_clear(argument);
    arb_poly_clear(numerator);
    arb_poly_clear(denominator);
    arb_poly_clear(psi);
}

}  // namespace
