// The process-wide table of primes: smallest factors, logarithms good to double-double, and growth while
// other threads use it.
#include <arb.h>
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "tests/support/sanitizer_scale.h"
#include "zeta/math/prime_table.h"

namespace {

int32_t smallest_factor_by_trial(int32_t n) {
    for (int32_t factor = 2; factor * factor <= n; ++factor) {
        if (n % factor == 0) return factor;
    }
    return n;
}

// |hi + lo − ln p| / ln p, in Arb at 300 bits.
double log_error(int32_t p, zeta_math::Double_Double log) {
    arb_t exact;
    arb_t approximation;
    arb_init(exact);
    arb_init(approximation);
    arb_set_ui(exact, static_cast<ulong>(p));
    arb_log(exact, exact, 300);
    arb_t low;
    arb_init(low);
    arb_set_d(approximation, log.hi);
    arb_set_d(low, log.lo);
    arb_add(approximation, approximation, low, 300);  // exact at 300 bits
    arb_sub(approximation, approximation, exact, 300);
    arb_div(approximation, approximation, exact, 300);
    const double error = std::fabs(arf_get_d(arb_midref(approximation), ARF_RND_NEAR));
    arb_clear(exact);
    arb_clear(approximation);
    arb_clear(low);
    return error;
}

}  // namespace

TEST(PrimeTable, HoldsTheSmallestFactorsAndTheLogarithmsOfThePrimesInOrder) {
    const int32_t checked = scaled(300000, 30000);
    const auto table = zeta_math::prime_table(checked);
    ASSERT_GE(table->limit, checked);
    size_t prime = 0;
    double worst = 0.0;
    for (int32_t n = 2; n <= checked; ++n) {
        const int32_t factor = smallest_factor_by_trial(n);
        ASSERT_EQ(table->smallest_factor[static_cast<size_t>(n)], factor) << n;
        if (factor != n) continue;
        ASSERT_LT(prime, table->logs.size());
        // Every 50th prime against Arb; the split halves add up to the high part.
        if (prime % 50 == 0) worst = std::max(worst, log_error(n, table->logs[prime]));
        const zeta_math::Double_Double halves = table->log_halves[prime];
        EXPECT_EQ(halves.hi + halves.lo, table->logs[prime].hi) << n;
        ++prime;
    }
    EXPECT_LT(worst, 1e-30);
}

// Threads asking for ever larger tables at once each get one that covers their request and agrees with the
// others on every entry they share.
TEST(PrimeTable, GrowsWhileOtherThreadsUseIt) {
    const int32_t base = zeta_math::prime_table(1)->limit;
    std::vector<std::shared_ptr<const zeta_math::Prime_Table>> tables(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < tables.size(); ++i) {
        threads.emplace_back([&tables, i, base] {
            for (int step = 1; step <= 3; ++step)
                tables[i] = zeta_math::prime_table(base + static_cast<int32_t>(i + 1) * step * 1000);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (size_t i = 0; i < tables.size(); ++i) {
        const int32_t wanted = base + static_cast<int32_t>(i + 1) * 3000;
        ASSERT_GE(tables[i]->limit, wanted);
        for (int32_t n = wanted - 500; n <= wanted; ++n)
            EXPECT_EQ(tables[i]->smallest_factor[static_cast<size_t>(n)], smallest_factor_by_trial(n)) << n;
        const size_t shared = std::min(tables[i]->logs.size(), tables[0]->logs.size());
        for (size_t k = 0; k < shared; k += 97)
            EXPECT_EQ(tables[i]->logs[k].hi, tables[0]->logs[k].hi);
    }
}
