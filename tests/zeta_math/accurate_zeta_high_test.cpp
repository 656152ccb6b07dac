// The accurate method against Arb from t = 10^9 to 10^12, for single values and for the cells of plots, where
// the values come from the plot machinery (row recurrence, column steps, kernel). Arb takes up to a second
// a value up there, so the points are few.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/support/sanitizer_scale.h"
#include "tests/zeta_math/arb_reference.h"
#include "zeta/math/accurate_plot.h"
#include "zeta/math/accurate_zeta.h"

namespace {

using Point = std::complex<double>;

constexpr double tolerance = 1e-10;
constexpr double heights[] = {1e9, 1e10, 1e11, 1e12};

double error_against_arb(Point s, Complex value) {
    return zeta_error({value.real, value.imaginary}, reference_zeta(s));
}

}  // namespace

// σ from far left (|ζ| about 10^230) to far right, in the strip too, above and below the real axis.
TEST(AccurateZetaHigh, SingleValuesUpToTenToTheTwelve) {
    for (const double height : heights) {
        const bool strip_points = height <= 1e10 || !under_sanitizer;
        double worst = 0.0;
        for (const double sigma : {-20.0, -2.5, 0.5, 1.0, 3.0, 30.0}) {
            if (!strip_points && sigma > -3.0 && sigma < 10.0) continue;
            for (const double t : {height + 0.123456, -(height + 7.5)}) {
                Complex value;
                evaluate_zeta_accurately(Complex{sigma, t}, value);
                const double error = error_against_arb({sigma, t}, value);
                worst = std::max(worst, error);
                EXPECT_LE(error, tolerance) << "s = " << sigma << " + " << t << "i";
            }
        }
        std::printf("single values at t = %g: worst error %.3g\n", height, worst);
    }
}

// A plot of 4 columns by 40 rows (two chains of the row recurrence): against Arb at the deepest row of the
// first chain, and at a cell of the second.
TEST(AccurateZetaHigh, PlotCellsUpToTenToTheTwelve) {
    const std::vector<double> sigmas = {-0.5, 0.25, 1.0, 1.75};
    for (const double height : heights) {
        if (under_sanitizer && height > 1e10) continue;
        std::vector<double> rows;
        for (int y = 0; y < 40; ++y)
            rows.push_back(static_cast<double>(y) * 0.37 + height);
        zeta_math::Accurate_Zeta_Plot plot(sigmas, rows, 1);
        std::vector<Complex> values(sigmas.size() * rows.size());
        for (int64_t block = 0; block < plot.block_count(); ++block) {
            const Complex* block_values = plot.evaluate_block(block, 0);
            ASSERT_NE(block_values, nullptr);
            std::copy(block_values, block_values + plot.row_count(block) * sigmas.size(),
                      values.begin() + plot.first_row(block) * static_cast<std::ptrdiff_t>(sigmas.size()));
        }
        const std::vector<std::pair<int, int>> cells = {{0, 31}, {1, 31}, {2, 31}, {3, 31}, {3, 38}};
        double worst = 0.0;
        for (const auto& [x, y] : cells) {
            const double error =
                error_against_arb({sigmas[static_cast<size_t>(x)], rows[static_cast<size_t>(y)]},
                                  values[static_cast<size_t>(y) * sigmas.size() + static_cast<size_t>(x)]);
            worst = std::max(worst, error);
            EXPECT_LE(error, tolerance) << "cell " << x << ", " << y << " at t = " << height;
        }
        std::printf("plot cells at t = %g: worst error %.3g\n", height, worst);
    }
}

// Far from the critical strip a plot leaves out the sums that fall below 10^-19 · |ζ| (R(s) far left,
// χ(s) R(1 − conj s) far right) and the tails of the others: against Arb, whose direct sums are quick there.
TEST(AccurateZetaHigh, PlotCellsFarFromTheStrip) {
    const std::vector<double> sigmas = {-30.0, -20.0, -9.0, -4.0, 4.0, 9.0, 20.0, 30.0};
    for (const double height : {1e10, 1e12}) {
        if (under_sanitizer && height > 1e10) continue;
        std::vector<double> rows;
        for (int y = 0; y < 40; ++y)
            rows.push_back(static_cast<double>(y) * 0.37 + height);
        zeta_math::Accurate_Zeta_Plot plot(sigmas, rows, 1);
        std::vector<Complex> values(sigmas.size() * rows.size());
        for (int64_t block = 0; block < plot.block_count(); ++block) {
            const Complex* block_values = plot.evaluate_block(block, 0);
            ASSERT_NE(block_values, nullptr);
            std::copy(block_values, block_values + plot.row_count(block) * sigmas.size(),
                      values.begin() + plot.first_row(block) * static_cast<std::ptrdiff_t>(sigmas.size()));
        }
        double worst = 0.0;
        for (const int y : {0, 31}) {
            for (size_t x = 0; x < sigmas.size(); ++x) {
                if (std::fabs(sigmas[x]) < 5.0 && height > 1e10) continue;  // Arb takes a second there
                const Point s(sigmas[x], rows[static_cast<size_t>(y)]);
                const Complex value = values[static_cast<size_t>(y) * sigmas.size() + x];
                const Point reference = reference_zeta(s);
                if (!std::isfinite(std::abs(reference))) {  // |ζ| past the largest double (σ = −30 at 10^12)
                    EXPECT_FALSE(std::isfinite(std::hypot(value.real, value.imaginary))) << s;
                    continue;
                }
                const double error = zeta_error({value.real, value.imaginary}, reference);
                worst = std::max(worst, error);
                EXPECT_LE(error, tolerance)
                    << "σ = " << sigmas[x] << ", t = " << rows[static_cast<size_t>(y)];
            }
        }
        std::printf("plot cells far from the strip at t = %g: worst error %.3g\n", height, worst);
    }
}

// The readout's form: cancelled before it starts, it leaves the result alone; otherwise it is the same value.
TEST(AccurateZetaHigh, OneValueCanBeCancelled) {
    const Complex s{0.5, 1e12 + 0.5};
    std::atomic<bool> cancel{true};
    Complex value{7.0, 7.0};
    EXPECT_FALSE(evaluate_zeta_accurately(s, value, &cancel));
    EXPECT_EQ(value.real, 7.0);
    cancel = false;
    ASSERT_TRUE(evaluate_zeta_accurately(s, value, &cancel));
    Complex plain;
    evaluate_zeta_accurately(s, plain);
    EXPECT_EQ(std::memcmp(&value, &plain, sizeof value), 0);
}
