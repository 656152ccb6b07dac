// Plots through Accurate_Zeta_Plot: the same bits whatever the workers, blocks and kernel variant; within
// rounding of evaluate_zeta_accurately; cancellation and progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "tests/support/sanitizer_scale.h"
#include "zeta/math/accurate_plot.h"
#include "zeta/math/accurate_zeta.h"
#include "zeta/math/power_sum_kernel.h"

namespace {

using zeta_math::Accurate_Zeta_Plot;
using zeta_math::Kernel_Variant;

// Plot cells differ from evaluate_zeta_accurately by rounding only: measured up to 7·10^-14 · max(1, |ζ|)
// at t = 10^12 (the row tables' recurrence and the column powers' steps), allowed here 5·10^-13.
constexpr double plot_tolerance = 5e-13;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// Every block of the plot on `workers` threads, each taking the next block from a shared counter.
std::vector<Complex> evaluate(const std::vector<double>& sigmas, const std::vector<double>& heights,
                              int workers) {
    Accurate_Zeta_Plot plot(sigmas, heights, workers);
    std::vector<Complex> values(sigmas.size() * heights.size());
    std::atomic<int64_t> next{0};
    auto work = [&](int worker) {
        for (int64_t block = next++; block < plot.block_count(); block = next++) {
            const Complex* block_values = plot.evaluate_block(block, worker);
            ASSERT_NE(block_values, nullptr);
            std::copy(block_values, block_values + static_cast<size_t>(plot.row_count(block)) * sigmas.size(),
                      values.begin() + static_cast<std::ptrdiff_t>(plot.first_row(block) * sigmas.size()));
        }
    };
    std::vector<std::thread> threads;
    for (int worker = 1; worker < workers; ++worker)
        threads.emplace_back(work, worker);
    work(0);
    for (std::thread& thread : threads)
        thread.join();
    return values;
}

bool same_bits(const std::vector<Complex>& a, const std::vector<Complex>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Complex)) == 0;
}

// Columns over the whole domain and past it, with the pole's σ and non-finite σ.
std::vector<double> awkward_sigmas() {
    std::vector<double> sigmas;
    for (int x = 0; x < 23; ++x)
        sigmas.push_back(-31.0 + 2.75 * x);
    for (const double sigma : {1.0, 0.5, nan, infinity, -infinity, 2.0})
        sigmas.push_back(sigma);
    return sigmas;
}

// Rows across t = 0 and |t| = 30 (Euler–Maclaurin below), where N changes (t = 2π·126² ≈ 99752), far up,
// past the limit, and not finite.
std::vector<double> awkward_heights() {
    std::vector<double> heights;
    for (int y = 0; y < 40; ++y)
        heights.push_back(-38.0 + 1.9 * y);
    for (int y = 0; y < 50; ++y)
        heights.push_back(99740.0 + 0.5 * y);
    for (int y = 0; y < scaled(20, 6); ++y)
        heights.push_back(-3e9 - 0.25 * y);
    // After t = 31 the chain goes on with a step of 10^12 (a step table of its own).
    for (const double t : {2e13, nan, -infinity, 31.0, under_sanitizer ? 1e9 : 1e12})
        heights.push_back(t);
    return heights;
}

}  // namespace

TEST(AccuratePlot, ValuesDoNotDependOnWorkersOrKernelVariant) {
    const std::vector<double> sigmas = awkward_sigmas();
    const std::vector<double> heights = awkward_heights();
    const Kernel_Variant chosen = zeta_math::kernel_variant();
    ASSERT_TRUE(zeta_math::set_kernel_variant(Kernel_Variant::Generic));
    const std::vector<Complex> reference = evaluate(sigmas, heights, 1);
    for (const int workers : {2, 3}) {
        EXPECT_TRUE(same_bits(evaluate(sigmas, heights, workers), reference)) << workers << " workers";
    }
    for (const Kernel_Variant variant : {Kernel_Variant::Avx2, Kernel_Variant::Avx512}) {
        if (!zeta_math::set_kernel_variant(variant)) continue;
        EXPECT_TRUE(same_bits(evaluate(sigmas, heights, 2), reference))
            << zeta_math::kernel_variant_name(variant);
    }
    zeta_math::set_kernel_variant(chosen);
}

// Rows that are not summed by the saddle-point formula are what evaluate_zeta_accurately gives, bit for bit;
// the others are within plot_tolerance.
TEST(AccuratePlot, CellsAreTheSingleValuesUpToRounding) {
    const std::vector<double> sigmas = awkward_sigmas();
    std::vector<double> heights = awkward_heights();
    for (int y = 0; y < scaled(40, 8); ++y)
        heights.push_back(1e8 + 0.37 * y);
    const std::vector<Complex> values = evaluate(sigmas, heights, 2);
    double worst = 0.0;
    for (size_t y = 0; y < heights.size(); ++y) {
        const bool saddle = std::fabs(heights[y]) >= 30.0 && std::fabs(heights[y]) <= accurate_height_limit;
        for (size_t x = 0; x < sigmas.size(); ++x) {
            Complex single;
            evaluate_zeta_accurately(Complex{sigmas[x], heights[y]}, single);
            const Complex cell = values[y * sigmas.size() + x];
            if (!saddle || !std::isfinite(sigmas[x])) {
                EXPECT_EQ(std::memcmp(&cell, &single, sizeof cell), 0)
                    << "σ = " << sigmas[x] << ", t = " << heights[y];
                continue;
            }
            const std::complex<double> expected(single.real, single.imaginary);
            const std::complex<double> actual(cell.real, cell.imaginary);
            if (!std::isfinite(std::abs(expected))) {  // |ζ| past the largest double, far left high up
                EXPECT_FALSE(std::isfinite(std::abs(actual)))
                    << "σ = " << sigmas[x] << ", t = " << heights[y];
                continue;
            }
            const double error = std::abs(actual - expected) / std::max(1.0, std::abs(expected));
            worst = std::max(worst, error);
            EXPECT_LE(error, plot_tolerance) << "σ = " << sigmas[x] << ", t = " << heights[y];
        }
    }
    std::printf("plot cells against single values: worst %.3g\n", worst);
}

// A plot from t = 10^6 up, where the sums that fall below 10^-19 · |ζ| far from the strip are left out.
TEST(AccuratePlot, CellsFarFromTheStripAreTheSingleValuesUpToRounding) {
    std::vector<double> sigmas;
    for (int x = 0; x <= 60; ++x)
        sigmas.push_back(-30.0 + x);
    std::vector<double> heights;
    for (int y = 0; y < 35; ++y)
        heights.push_back(1e6 + 0.5 * y);
    const std::vector<Complex> values = evaluate(sigmas, heights, 2);
    double worst = 0.0;
    for (size_t y = 0; y < heights.size(); ++y) {
        for (size_t x = 0; x < sigmas.size(); ++x) {
            Complex single;
            evaluate_zeta_accurately(Complex{sigmas[x], heights[y]}, single);
            const Complex cell = values[y * sigmas.size() + x];
            const std::complex<double> expected(single.real, single.imaginary);
            const double error = std::abs(std::complex<double>(cell.real, cell.imaginary) - expected) /
                                 std::max(1.0, std::abs(expected));
            worst = std::max(worst, error);
            EXPECT_LE(error, plot_tolerance) << "σ = " << sigmas[x] << ", t = " << heights[y];
        }
    }
    std::printf("plot cells far from the strip against single values: worst %.3g\n", worst);
}

TEST(AccuratePlot, PlotsWithoutRowsOrColumnsHaveNothingToDo) {
    EXPECT_EQ(Accurate_Zeta_Plot({0.5}, {}, 2).block_count(), 0);
    Accurate_Zeta_Plot no_columns({}, {1e9, 1e9 + 1.0}, 2);
    for (int64_t block = 0; block < no_columns.block_count(); ++block)
        EXPECT_NE(no_columns.evaluate_block(block, 0), nullptr);
}

TEST(AccuratePlot, ProgressCountsEveryCellOnce) {
    const std::vector<double> sigmas = {0.25, 0.5, 3.0};
    std::vector<double> heights = awkward_heights();
    Accurate_Zeta_Plot plot(sigmas, heights, 1);
    std::atomic<int64_t> cells{0};
    for (int64_t block = 0; block < plot.block_count(); ++block) {
        const int64_t before = cells;
        ASSERT_NE(plot.evaluate_block(block, 0, nullptr, &cells), nullptr);
        EXPECT_EQ(cells - before, int64_t{plot.row_count(block)} * 3);
    }
    EXPECT_EQ(cells, static_cast<int64_t>(sigmas.size() * heights.size()));
}

// At t = 10^12 a block of 32 rows sums 4·10^5 terms per cell: a cancel request stops it early. The columns
// are many so that the rows after the first cells take most of the time; what is computed after the request
// (counted from when it is made, as the canceller may run late) is a small part of the block.
TEST(AccuratePlot, CancelStopsABlockHighUp) {
    std::vector<double> sigmas;
    for (int x = 0; x < 512; ++x)
        sigmas.push_back(x / 512.0);
    std::vector<double> heights;
    for (int y = 0; y < 32; ++y)
        heights.push_back(1e12 + 0.1 * y);
    Accurate_Zeta_Plot plot(sigmas, heights, 1);
    std::atomic<bool> cancel{false};
    std::atomic<int64_t> cells{0};
    int64_t cells_when_cancelled = 0;
    std::thread canceller([&] {
        while (cells == 0)
            std::this_thread::yield();
        cancel = true;
        cells_when_cancelled = cells.load();
    });
    EXPECT_EQ(plot.evaluate_block(0, 0, &cancel, &cells), nullptr);
    canceller.join();
    EXPECT_LT(cells - cells_when_cancelled, static_cast<int64_t>(sigmas.size() * heights.size()) / 4);
}
