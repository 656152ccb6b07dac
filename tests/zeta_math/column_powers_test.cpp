// The A side of a plot: n^-σ and n^(σ−1) of every column, panel by panel, against powers computed directly
// in long double.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "zeta/math/column_powers.h"
#include "zeta/math/power_sum_kernel.h"

namespace {

using zeta_math::tile_a_rows;

constexpr double epsilon = std::numeric_limits<double>::epsilon();

// Entry k of row r of a panel in the tile layout.
double entry(const std::vector<double>& a, int32_t capacity, size_t row, int32_t k) {
    return a[((row / tile_a_rows) * static_cast<size_t>(capacity) + static_cast<size_t>(k)) * tile_a_rows +
             row % tile_a_rows];
}

// The worst error of the entries in units of what exp(−σ ln n) in doubles cannot avoid: |σ ln n| + 1 ulps.
double worst_error(const std::vector<double>& sigmas, int32_t terms) {
    zeta_math::Column_Powers powers(sigmas);
    constexpr int32_t capacity = 64;
    std::vector<double> a(static_cast<size_t>(powers.tiles()) * capacity * tile_a_rows);
    double worst = 0.0;
    for (int32_t first = 1; first <= terms; first += capacity) {
        const int32_t count = std::min(capacity, terms - first + 1);
        powers.fill_panel(first, count, capacity, a.data());
        for (int32_t k = 0; k < count; ++k) {
            const long double log_n = std::log(static_cast<long double>(first + k));
            for (size_t i = 0; i < sigmas.size(); ++i) {
                const double sigma = sigmas[i];
                for (const size_t reflected : {0, 1}) {
                    const double exponent = reflected ? sigma - 1.0 : -sigma;
                    const double value = entry(a, capacity, 2 * i + reflected, k);
                    const long double exact = std::exp(exponent * log_n);
                    if (!std::isfinite(sigma)) {
                        EXPECT_TRUE(std::isnan(value) || std::isinf(value) || value == 0.0) << sigma;
                        continue;
                    }
                    const double unit = (std::fabs(exponent * static_cast<double>(log_n)) + 1.0) * epsilon;
                    const double error = static_cast<double>(std::fabs((value - exact) / exact)) / unit;
                    worst = std::max(worst, error);
                }
            }
            for (size_t row = 2 * sigmas.size(); row < static_cast<size_t>(powers.tiles()) * tile_a_rows;
                 ++row)
                EXPECT_EQ(entry(a, capacity, row, k), 0.0);
        }
    }
    return worst;
}

}  // namespace

// Columns as a plot makes them (σ = x · scale + σ0, rounded), irregular steps, steps above 1, repeated and
// non-finite σ: every entry stays within 100 units.
TEST(ColumnPowers, EntriesStayCloseToTheDirectPowers) {
    std::vector<std::vector<double>> lists(5);
    for (int x = 0; x < 200; ++x) {
        lists[0].push_back(static_cast<double>(x) * 0.02);
        lists[1].push_back(static_cast<double>(x) * 0.3 - 30.0);
        lists[2].push_back(static_cast<double>(x) * 1e-9 + 0.5);
    }
    for (int x = 0; x < 90; ++x)
        lists[3].push_back(std::sin(x) * 3.0 + 0.01 * x);  // steps of every size, some above 1
    lists[4] = {0.5,
                0.5,
                0.5,
                std::numeric_limits<double>::quiet_NaN(),
                1.0,
                1.5,
                std::numeric_limits<double>::infinity(),
                2.0,
                -std::numeric_limits<double>::infinity(),
                2.1};
    for (size_t i = 0; i < lists.size(); ++i) {
        const double worst = worst_error(lists[i], 3000);
        EXPECT_LT(worst, 100.0) << "list " << i;
        std::printf("column list %zu: worst error %.1f units\n", i, worst);
    }
}

TEST(ColumnPowers, NodePanelHoldsThePowersAtTheNodes) {
    const std::vector<double> sigmas = {-2.5, 0.5, 0.75, 4.0};
    zeta_math::Column_Powers powers(sigmas);
    zeta_math::Saddle_Nodes nodes;
    zeta_math::make_saddle_nodes(126.5, nodes);
    constexpr int32_t capacity = 2 * zeta_math::saddle_node_count;
    std::vector<double> a(static_cast<size_t>(powers.tiles()) * capacity * tile_a_rows);
    ASSERT_TRUE(powers.fill_nodes(nodes, a.data(), nullptr));
    for (size_t i = 0; i < sigmas.size(); ++i) {
        std::complex<double> minus[zeta_math::saddle_node_count];
        std::complex<double> reflected[zeta_math::saddle_node_count];
        zeta_math::node_powers(sigmas[i], nodes, minus, reflected);
        for (int32_t j = 0; j < zeta_math::saddle_node_count; ++j) {
            EXPECT_EQ(entry(a, capacity, 2 * i, 2 * j), minus[j].real());
            EXPECT_EQ(entry(a, capacity, 2 * i, 2 * j + 1), minus[j].imag());
            EXPECT_EQ(entry(a, capacity, 2 * i + 1, 2 * j), reflected[j].real());
            EXPECT_EQ(entry(a, capacity, 2 * i + 1, 2 * j + 1), reflected[j].imag());
        }
    }
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(powers.fill_nodes(nodes, a.data(), &cancel));
}
