// The B side of a plot: n^-it of many rows reached from each other by the exact step between their t,
// against a fresh table for every row.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "tests/support/sanitizer_scale.h"
#include "zeta/math/phase_table.h"
#include "zeta/math/power_sum_kernel.h"
#include "zeta/math/row_phases.h"

namespace {

using zeta_math::Row_Phases;
using zeta_math::tile_b_columns;
using zeta_math::tile_b_stride;

// Rows t_y = y · scale + base as a plot's fill forms them, chained as a plot chains them unless `unbroken`.
std::vector<Row_Phases::Row> plot_rows(double base, double scale, int32_t count, int32_t terms,
                                       bool unbroken) {
    std::vector<Row_Phases::Row> rows;
    for (int32_t y = 0; y < count; ++y) {
        Row_Phases::Row row;
        row.t = static_cast<double>(y) * scale + base;
        row.terms = terms;
        row.follows = y > 0 && (unbroken || zeta_math::continues_chain(rows.back().t, row.t, y));
        rows.push_back(row);
    }
    return rows;
}

// Runs the rows through Row_Phases and returns, for every `every`-th row (and the last), the largest
// |n^-it − fresh n^-it| over n ≤ terms.
std::vector<double> sampled_errors(std::vector<Row_Phases::Row> rows, int32_t terms, size_t every) {
    for (size_t y = 0; y < rows.size(); ++y) {
        rows[y].group = static_cast<int32_t>(y / tile_b_columns);
        rows[y].lane = static_cast<int32_t>(y % tile_b_columns);
    }
    Row_Phases phases;
    EXPECT_TRUE(phases.start(rows, nullptr));
    constexpr int32_t capacity = 64;
    const size_t groups = (rows.size() + tile_b_columns - 1) / tile_b_columns;
    std::vector<double> b(groups * capacity * tile_b_stride);
    std::vector<size_t> sampled;
    for (size_t y = 0; y < rows.size(); ++y) {
        if (y % every == 0 || y + 1 == rows.size()) sampled.push_back(y);
    }
    // Kept from call to call: fresh pages are slow to come by.
    static std::vector<std::vector<zeta_math::Unit_Complex>> values;
    values.resize(sampled.size());
    for (auto& row_values : values)
        row_values.resize(static_cast<size_t>(terms) + 1);
    for (int32_t first = 1; first <= terms; first += capacity) {
        const int32_t count = std::min(capacity, terms - first + 1);
        phases.fill_panel(first, count, capacity, b.data());
        for (size_t i = 0; i < sampled.size(); ++i) {
            const Row_Phases::Row& row = rows[sampled[i]];
            const double* column = b.data() + static_cast<size_t>(row.group) * capacity * tile_b_stride +
                                   static_cast<size_t>(row.lane);
            for (int32_t k = 0; k < count; ++k)
                values[i][static_cast<size_t>(first + k)] = {column[k * tile_b_stride],
                                                             column[k * tile_b_stride + tile_b_columns]};
        }
    }
    const auto primes = zeta_math::prime_table(terms);
    std::vector<zeta_math::Unit_Complex> fresh(static_cast<size_t>(terms) + 1);
    std::vector<double> errors;
    for (size_t i = 0; i < sampled.size(); ++i) {
        zeta_math::build_phase_table(*primes, rows[sampled[i]].t, terms, fresh.data());
        double worst = 0.0;
        for (size_t n = 1; n <= static_cast<size_t>(terms); ++n)
            worst = std::max(worst, std::hypot(values[i][n].re - fresh[n].re, values[i][n].im - fresh[n].im));
        errors.push_back(worst);
    }
    return errors;
}

}  // namespace

// 1000 rows 0.01 apart at t = 10^10 and 0.1 apart at 10^12, upwards and downwards, the first 20000 n; in
// blocks of 64 rows as a plot takes them.
TEST(RowPhases, AThousandRowsOfAPlotStayWithin1e13OfFreshTables) {
    const int32_t count = scaled(1000, 200);
    const int32_t terms = scaled(20000, 4000);
    for (const auto& [base, scale] :
         {std::pair{1e10, 0.01}, std::pair{1e12, 0.1}, std::pair{1e12 + 100.0, -0.1}}) {
        const std::vector<Row_Phases::Row> rows = plot_rows(base, scale, count, terms, false);
        double worst = 0.0;
        for (size_t first = 0; first < rows.size(); first += 64) {
            const std::vector<Row_Phases::Row> block(
                rows.begin() + static_cast<std::ptrdiff_t>(first),
                rows.begin() + static_cast<std::ptrdiff_t>(std::min(first + 64, rows.size())));
            for (const double error : sampled_errors(block, terms, 1))
                worst = std::max(worst, error);
        }
        std::printf("rows from t = %.17g by %g: worst %.3g\n", base, scale, worst);
        EXPECT_LT(worst, 1e-13) << base;
    }
}

// Without a fresh start the error grows about linearly along the chain, by well under 10^-15 a row: the
// reason plots start a chain every phase_chain_rows rows.
TEST(RowPhases, AnUnbrokenChainDriftsByLessThan1e15ARow) {
    const int32_t count = scaled(1000, 200);
    const int32_t terms = scaled(20000, 4000);
    constexpr size_t every = 37;
    const std::vector<double> errors =
        sampled_errors(plot_rows(1e11, 0.05, count, terms, true), terms, every);
    for (size_t i = 1; i < errors.size(); ++i) {
        const double rows_down = static_cast<double>(std::min(i * every, static_cast<size_t>(count) - 1));
        EXPECT_LT(errors[i], 1e-15 * rows_down) << "row " << rows_down;
    }
    std::printf("unbroken chain: worst %.3g after %d rows\n", errors.back(), count - 1);
}

// Rows of one chain with different numbers of terms: each is right up to its own terms, and the lanes past
// a chain's terms, or without a row, hold 0.
TEST(RowPhases, RowsWithFewerTermsAndEmptyLanes) {
    std::vector<Row_Phases::Row> rows = plot_rows(5e6, 0.25, 5, 900, true);
    rows[1].terms = 700;
    rows[3].terms = 1000;
    for (int32_t y = 0; y < 5; ++y)
        rows[static_cast<size_t>(y)].lane = y;
    Row_Phases phases;
    ASSERT_TRUE(phases.start(rows, nullptr));
    std::vector<double> b(64 * tile_b_stride, 7.0);
    phases.fill_panel(950, 64, 64, b.data());
    const auto primes = zeta_math::prime_table(1100);
    std::vector<zeta_math::Unit_Complex> fresh(1014);
    zeta_math::build_phase_table(*primes, rows[3].t, 1013, fresh.data());
    for (int32_t k = 0; k < 64; ++k) {
        const double* entry = b.data() + k * tile_b_stride;
        if (950 + k <= 1000) {
            EXPECT_LT(std::hypot(entry[3] - fresh[950 + k].re, entry[19] - fresh[950 + k].im), 1e-14);
        } else {
            EXPECT_EQ(entry[3], 0.0);
            EXPECT_EQ(entry[19], 0.0);
        }
        for (int lane = 5; lane < tile_b_columns; ++lane) {
            EXPECT_EQ(entry[lane], 0.0);
            EXPECT_EQ(entry[tile_b_columns + lane], 0.0);
        }
    }
}
