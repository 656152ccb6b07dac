// The accurate method against Arb over the whole domain −30 ≤ σ ≤ 30, |t| ≤ 10^8, at points chosen where
// faults would show: zeros, the pole, the edges of the domain and the heights where the method changes.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/support/sanitizer_scale.h"
#include "tests/zeta_math/arb_reference.h"
#include "zeta/math/accurate_zeta.h"

namespace {

using Point = std::complex<double>;

constexpr double tolerance = 1e-10;

struct Worst {
    double error = 0.0;
    Point at;
};

// Compares every point (and its mirror image below the real axis) with Arb; prints and returns the worst.
Worst worst_error(const char* group, const std::vector<Point>& points) {
    Worst worst;
    for (const Point& s : points) {
        const Point reference = reference_zeta(s);
        // ζ(conj s) = conj ζ(s): the mirror image is checked against the same reference.
        for (const Point& z : {s, std::conj(s)}) {
            Complex value;
            evaluate_zeta_accurately(Complex{z.real(), z.imag()}, value);
            const Point expected = z == s ? reference : std::conj(reference);
            const double error = zeta_error({value.real, value.imaginary}, expected);
            if (!(error <= worst.error)) worst = {error, z};
        }
    }
    std::printf("%-28s %5zu points  worst error %.3g at s = %.17g %+.17gi\n", group, 2 * points.size(),
                worst.error, worst.at.real(), worst.at.imag());
    return worst;
}

void expect_accurate(const char* group, const std::vector<Point>& points) {
    const Worst worst = worst_error(group, points);
    EXPECT_LE(worst.error, tolerance) << group << " at " << worst.at;
}

// σ spread over the domain, including both edges.
std::vector<double> sigmas() {
    return {-30.0, -29.5, -17.25, -9.0, -3.5, -1.0000001, -1.0, -0.9999999, -0.3,  0.0,
            0.25,  0.5,   0.75,   1.0,  1.5,  2.5,        7.0,  13.3,       29.75, 30.0};
}

}  // namespace

TEST(AccurateZetaArb, FirstZerosOnTheCriticalLine) {
    std::vector<Point> points;
    for (const double height : first_zero_heights(scaled(60, 15))) {
        for (const double offset : {0.0, 1e-7, -0.01})
            points.emplace_back(0.5, height + offset);
        points.emplace_back(0.5 + 1e-7, height);
    }
    expect_accurate("first zeros", points);
}

TEST(AccurateZetaArb, TrivialZerosAndLargeNegativeSigma) {
    std::vector<Point> points;
    for (int k = 1; k <= 15; ++k) {
        const double zero = -2.0 * k;
        for (const double offset : {0.0, 1e-9, -1e-6, 0.5, 1.0}) {
            points.emplace_back(zero + offset, 0.0);
            points.emplace_back(zero + offset, 1e-8);
            points.emplace_back(zero + offset, 3.0);
        }
    }
    for (const double t : {0.0, 0.1, 5.0, 29.0, 31.0, 200.0, 1e4}) {
        for (const double sigma : {-30.0, -27.3, -22.0, -15.5, -4.0})
            points.emplace_back(sigma, t);
    }
    expect_accurate("trivial zeros, negative σ", points);
}

TEST(AccurateZetaArb, CloseToThePole) {
    std::vector<Point> points;
    for (const double d : {1e-12, 1e-9, 1e-6, 1e-3, 0.1}) {
        for (const Point offset : {Point(d, 0), Point(-d, 0), Point(0, d), Point(d, d), Point(-d, -d)})
            points.push_back(1.0 + offset);
    }
    points.emplace_back(0.0, 0.0);
    points.emplace_back(1e-10, 0.0);
    expect_accurate("near s = 1 and s = 0", points);
}

TEST(AccurateZetaArb, PoleGivesNaN) {
    Complex value;
    evaluate_zeta_accurately(Complex{1.0, 0.0}, value);
    EXPECT_TRUE(std::isnan(value.real));
    EXPECT_TRUE(std::isnan(value.imaginary));
}

TEST(AccurateZetaArb, GramPointsAndLehmersPair) {
    std::vector<Point> points;
    for (const long n : {0L, 1L, 2L, 125L, 126L, 1000L, 9999L, 100000L})
        points.emplace_back(0.5, gram_point(n));
    // Lehmer's close pair of zeros near t = 7005.06 and 7005.10, and the low maximum between them.
    for (int i = 0; i <= scaled(40, 8); ++i)
        points.emplace_back(0.5, 7005.0 + 0.005 * i * (40 / scaled(40, 8)));
    for (const double sigma : {0.4, 0.6, 1.0})
        points.emplace_back(sigma, 7005.08);
    expect_accurate("Gram points, Lehmer's pair", points);
}

TEST(AccurateZetaArb, MethodBoundaries) {
    std::vector<Point> points;
    // The change from Euler–Maclaurin to the saddle-point formula at |t| = 30.
    for (const double t : {29.999999, std::nextafter(30.0, 0.0), 30.0, 30.000001}) {
        for (const double sigma : sigmas())
            points.emplace_back(sigma, t);
    }
    // The change to the functional equation at σ = −1 below |t| = 30.
    for (const double t : {0.0, 1.0, 14.13, 29.9}) {
        for (const double sigma : {-1.0000000001, -1.0, -0.9999999999})
            points.emplace_back(sigma, t);
    }
    // The saddle formula's number of terms N = ⌊√(t/2π)⌋ changes at t = 2πN².
    for (const double n : {3.0, 4.0, 12.0, 40.0, 126.0, 1262.0, 3989.0}) {
        const double t = 2.0 * M_PI * n * n;
        for (const double offset : {-1e-7 * t, 0.0, 1e-7 * t}) {
            for (const double sigma : {-30.0, -2.0, 0.5, 3.0, 30.0})
                points.emplace_back(sigma, t + offset);
        }
    }
    expect_accurate("method boundaries", points);
}

TEST(AccurateZetaArb, RandomPointsUpToTenToTheEight) {
    std::mt19937_64 random(15);
    std::uniform_real_distribution<double> sigma(-30.0, 30.0);
    std::uniform_real_distribution<double> exponent(-2.0, 8.0);
    std::vector<Point> points;
    const int count = scaled(1000, 100);
    for (int i = 0; i < count; ++i) {
        const double t = std::pow(10.0, exponent(random));
        points.emplace_back(i % 10 == 0 ? 0.5 : sigma(random), i % 2 == 0 ? t : -t);
    }
    for (const double t : {1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 99999999.9}) {
        for (const double sigma : {-30.0, 0.5, 30.0})
            points.emplace_back(sigma, t);
    }
    expect_accurate("random σ, t up to 1e8", points);
}
