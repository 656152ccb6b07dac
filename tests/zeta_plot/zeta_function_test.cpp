#include "zeta/math/zeta_function.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

namespace {

Complex zeta(int32_t terms, double sigma, double t) {
    Complex result;
    evaluate_zeta(terms, Complex{sigma, t}, result);
    return result;
}

// The same partial sum by plain complex arithmetic, for comparison.
std::complex<long double> reference_zeta(int32_t terms, double sigma, double t) {
    const std::complex<long double> s(sigma, t);
    std::complex<long double> eta = 0;
    for (int32_t n = 1; n <= terms; ++n) {
        const long double sign = n % 2 == 1 ? 1.0L : -1.0L;
        eta += sign * std::pow(static_cast<long double>(n), -s);
    }
    return eta / (1.0L - std::pow(2.0L, 1.0L - s));
}

TEST(EvaluateZeta, WithoutTermsTheResultIsZero) {
    for (const int32_t terms : {0, -1, INT32_MIN}) {
        const Complex result = zeta(terms, 0.3, 2.5);
        EXPECT_EQ(result.real, 0.0) << terms;
        EXPECT_EQ(result.imaginary, 0.0) << terms;
    }
}

TEST(EvaluateZeta, AtOneTheResultIsNaNWithAnyNumberOfTerms) {
    for (const int32_t terms : {0, 1, 100}) {
        const Complex result = zeta(terms, 1.0, 0.0);
        EXPECT_TRUE(std::isnan(result.real)) << terms;
        EXPECT_TRUE(std::isnan(result.imaginary)) << terms;
    }
}

TEST(EvaluateZeta, OneTermGivesTheReciprocalOfTheEtaFactor) {
    for (const auto& [sigma, t] : {std::pair{0.25, 3.0}, {2.0, -7.5}, {-1.5, 0.1}}) {
        const std::complex<double> s(sigma, t);
        const std::complex<double> expected = 1.0 / (1.0 - std::pow(2.0, 1.0 - s));
        const Complex result = zeta(1, sigma, t);
        EXPECT_NEAR(result.real, expected.real(), 1e-13 * std::abs(expected));
        EXPECT_NEAR(result.imaginary, expected.imag(), 1e-13 * std::abs(expected));
    }
}

TEST(EvaluateZeta, AgreesWithComplexArithmetic) {
    for (const auto& [sigma, t, terms] :
         {std::tuple{0.5, 14.0, 200}, {1.3, -40.0, 57}, {-0.7, 3.3, 20}, {3.0, 0.5, 1000}}) {
        const std::complex<long double> expected = reference_zeta(terms, sigma, t);
        const Complex result = zeta(terms, sigma, t);
        const double tolerance = 1e-11 * static_cast<double>(std::abs(expected));
        EXPECT_NEAR(result.real, static_cast<double>(expected.real()), tolerance) << sigma << " " << t;
        EXPECT_NEAR(result.imaginary, static_cast<double>(expected.imag()), tolerance) << sigma << " " << t;
    }
}

TEST(EvaluateZeta, OnTheRealAxisTheImaginaryPartIsZero) {
    for (const double sigma : {-2.0, 0.0, 0.5, 0.999, 1.5, 7.0}) {
        const Complex result = zeta(50, sigma, 0.0);
        EXPECT_EQ(result.imaginary, 0.0) << sigma;
        EXPECT_FALSE(std::isnan(result.real)) << sigma;
    }
}

TEST(EvaluateZeta, ZetaOfTwoIsPiSquaredOverSix) {
    const Complex result = zeta(100000, 2.0, 0.0);
    EXPECT_NEAR(result.real, std::numbers::pi * std::numbers::pi / 6.0, 1e-9);
    EXPECT_EQ(result.imaginary, 0.0);
}

TEST(EvaluateZeta, NearlyVanishesAtTheFirstZeroOnTheCriticalLine) {
    const Complex result = zeta(10000, 0.5, 14.134725);
    EXPECT_LT(std::hypot(result.real, result.imaginary), 0.01);
    const Complex away = zeta(10000, 0.5, 16.0);
    EXPECT_GT(std::hypot(away.real, away.imaginary), 0.5);
}

TEST(EvaluateZeta, IsVeryLargeWhereTheEtaFactorVanishes) {
    const double t = 2.0 * std::numbers::pi / std::numbers::ln2;
    const Complex result = zeta(1000, 1.0, t);
    EXPECT_GT(std::hypot(result.real, result.imaginary), 1e6);
}

TEST(EvaluateZeta, TinyPowersOfNDoNotUnderflowTheModulus) {
    // 5^-400 is a normal double whose square is not: the squared modulus needs the extended range.
    const std::complex<long double> expected = reference_zeta(5, -400.0, 3.0);
    const Complex result = zeta(5, -400.0, 3.0);
    ASSERT_TRUE(std::isfinite(result.real));
    EXPECT_NEAR(result.real / static_cast<double>(expected.real()), 1.0, 1e-12);
    EXPECT_NEAR(result.imaginary / static_cast<double>(expected.imag()), 1.0, 1e-12);
}

TEST(EvaluateZeta, OverflowingPowerOfNGivesNaN) {
    // 6^400 overflows a double.
    const Complex result = zeta(10, 400.0, 3.0);
    EXPECT_TRUE(std::isnan(result.real));
    EXPECT_TRUE(std::isnan(result.imaginary));
}

}  // namespace
