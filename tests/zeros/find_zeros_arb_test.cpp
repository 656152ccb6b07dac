// find_zeros and verify_zeros against Arb: the first hundred zeros, stretches near zero number 10^5 and 10^6,
// Lehmer's close pair at three range widths, the first failure of Gram's law, the counts N(10^4) and N(10^5),
// a list with a zero removed, and the edges of the API (threads, cancelling, ranges outside the domain).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "tests/support/sanitizer_scale.h"
#include "tests/zeta_math/arb_reference.h"
#include "zeta/plot/zeros_search.h"

namespace {

double tolerance(double gamma) {
    return std::max(1e-10, 4.0 * (std::nextafter(gamma, INFINITY) - gamma));
}

// The search is verified, numbered from `first` on, and every ordinate agrees with Arb's.
void expect_arb_zeros(const Zero_Search& search, long first, int count) {
    ASSERT_TRUE(search.verified) << search.found << " found, " << search.expected << " expected";
    ASSERT_EQ(search.found, count);
    ASSERT_EQ(static_cast<int64_t>(search.zeros.size()), search.found);
    const std::vector<double> reference = zero_heights(first, count);
    for (int i = 0; i < count; ++i) {
        const Zeta_Zero& zero = search.zeros[static_cast<size_t>(i)];
        EXPECT_EQ(zero.n, first + i);
        EXPECT_NEAR(zero.gamma, reference[static_cast<size_t>(i)],
                    tolerance(reference[static_cast<size_t>(i)]))
            << "zero number " << zero.n;
    }
}

TEST(FindZeros, FirstHundredMatchArb) {
    // γ_100 = 236.524..., γ_101 = 237.769...
    expect_arb_zeros(find_zeros(0.0, 237.0, 2), 1, 100);
}

TEST(FindZeros, NearZeroNumberTenToTheFifthAndSixthMatchArb) {
    // γ_100000 = 74920.8275, γ_1000000 = 600269.6770.
    const Zero_Search near_fifth = find_zeros(74920.0, 74935.0, 2);
    expect_arb_zeros(near_fifth, 99999, static_cast<int>(near_fifth.found));
    EXPECT_GE(near_fifth.found, 15);
    const Zero_Search near_sixth = find_zeros(600269.0, 600269.0 + scaled(12, 4), 2);
    expect_arb_zeros(near_sixth, 999999, static_cast<int>(near_sixth.found));
    EXPECT_GE(near_sixth.found, 3);
}

// Zeros number 6709 and 6710, 7005.0629 and 7005.1006: 0.04 apart, where zeros are 0.9 apart on average.
TEST(FindZeros, KeepsLehmersPairApartAtAnyRangeWidth) {
    const std::vector<double> pair = zero_heights(6709, 2);
    for (const auto& [t1, t2] :
         {std::pair{7005.0, 7005.2}, std::pair{6990.0, 7020.0}, std::pair{6000.0, 8000.0}}) {
        const Zero_Search search = find_zeros(t1, t2, 2);
        EXPECT_TRUE(search.verified) << t1 << " ... " << t2;
        int matched = 0;
        for (const Zeta_Zero& zero : search.zeros) {
            if (zero.n == 6709 && std::fabs(zero.gamma - pair[0]) <= tolerance(pair[0])) ++matched;
            if (zero.n == 6710 && std::fabs(zero.gamma - pair[1]) <= tolerance(pair[1])) ++matched;
        }
        EXPECT_EQ(matched, 2) << t1 << " ... " << t2;
    }
}

// g_126 = 282.4547 is the first Gram point where (−1)^n Z(g_n) > 0 fails.
TEST(FindZeros, CountsAcrossTheFirstFailureOfGramsLaw) {
    const Zero_Search search = find_zeros(275.0, 290.0, 2);
    EXPECT_TRUE(search.verified);
    EXPECT_EQ(search.expected, zero_count(290.0) - zero_count(275.0));
    ASSERT_FALSE(search.zeros.empty());
    EXPECT_EQ(search.zeros.front().n, zero_count(275.0) + 1);
}

// Rosser's rule first fails at the Gram block [g_13999525, g_13999527), which holds no zero, while the next
// interval holds three (t ≈ 6820051.89).
TEST(FindZeros, CountsAcrossTheFirstFailureOfRossersRule) {
    const double t1 = 6820045.0;
    const double t2 = 6820055.0;
    const Zero_Search search = find_zeros(t1, t2, 2);
    EXPECT_EQ(search.expected, zero_count(t2) - zero_count(t1));
    expect_arb_zeros(search, zero_count(t1) + 1, static_cast<int>(search.expected));
}

// Gram's law fails at g_92672 and g_92673 just below 70000: the search must still start below the range.
TEST(FindZeros, StartsBelowTheRangeWhereGramPointsFail) {
    expect_arb_zeros(find_zeros(70000.0, 70001.0, 2), 92675, 2);
}

TEST(VerifyZeros, CountsAllZerosAtRoundHeights) {
    EXPECT_EQ(verify_zeros({}, 0.0, 1e4, 2).expected, 10142);
    EXPECT_EQ(verify_zeros({}, 0.0, 1e5, 2).expected, 138069);
    EXPECT_EQ(verify_zeros({}, 1e4, 1e5, 2).expected, 138069 - 10142);
}

TEST(VerifyZeros, ListWithAZeroRemovedIsNotVerified) {
    const double t1 = 1e4;
    const double t2 = 1e4 + 40.0;
    const Zero_Search search = find_zeros(t1, t2, 2);
    ASSERT_TRUE(search.verified);
    ASSERT_GE(search.zeros.size(), 10u);
    const Zero_Verification whole = verify_zeros(search.zeros, t1, t2, 2);
    EXPECT_TRUE(whole.verified);
    EXPECT_EQ(whole.found, search.found);
    for (const size_t removed : {size_t{0}, search.zeros.size() / 2, search.zeros.size() - 1}) {
        std::vector<Zeta_Zero> list = search.zeros;
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(removed));
        const Zero_Verification short_list = verify_zeros(list, t1, t2, 2);
        EXPECT_TRUE(short_list.counted);
        EXPECT_FALSE(short_list.verified) << "without zero number " << search.zeros[removed].n;
        EXPECT_EQ(short_list.missing(), 1);
    }
    // A zero outside the range does not make up for one missing inside it.
    std::vector<Zeta_Zero> shifted(search.zeros.begin() + 1, search.zeros.end());
    shifted.push_back({0, t2 + 1.0});
    EXPECT_FALSE(verify_zeros(shifted, t1, t2, 2).verified);
    // Nor does a zero listed twice.
    std::vector<Zeta_Zero> repeated = search.zeros;
    repeated.erase(repeated.begin() + 3);
    repeated.insert(repeated.begin() + 5, repeated[5]);
    const Zero_Verification twice = verify_zeros(repeated, t1, t2, 2);
    EXPECT_EQ(twice.found, twice.expected);
    EXPECT_FALSE(twice.verified);
}

// Ranges of random heights and widths (fixed seed): each verified, with Arb's count and numbering.
TEST(FindZeros, RandomRangesAreVerifiedWithArbsCounts) {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> exponent(1.0, 8.0);
    std::uniform_real_distribution<double> width_exponent(-2.0, 1.7);
    for (int i = 0; i < scaled(40, 8); ++i) {
        const double t1 = std::pow(10.0, exponent(random));
        const double t2 = t1 + std::pow(10.0, width_exponent(random));
        const Zero_Search search = find_zeros(t1, t2, 2);
        EXPECT_TRUE(search.verified) << t1 << " ... " << t2;
        EXPECT_EQ(search.expected, zero_count(t2) - zero_count(t1)) << t1 << " ... " << t2;
        if (!search.zeros.empty()) {
            EXPECT_EQ(search.zeros.front().n, zero_count(t1) + 1) << t1;
        }
    }
}

TEST(FindZeros, SameResultOnAnyNumberOfThreads) {
    const Zero_Search one = find_zeros(1e5, 1e5 + scaled(150, 30), 1);
    const Zero_Search three = find_zeros(1e5, 1e5 + scaled(150, 30), 3);
    ASSERT_TRUE(one.verified);
    ASSERT_EQ(one.zeros.size(), three.zeros.size());
    for (size_t i = 0; i < one.zeros.size(); ++i) {
        EXPECT_EQ(one.zeros[i].n, three.zeros[i].n);
        EXPECT_EQ(one.zeros[i].gamma, three.zeros[i].gamma);
    }
}

// A range that starts or ends on a zero, as printed: the count and the list agree on which side it lies.
TEST(FindZeros, RangeEndingOnAZeroIsVerified) {
    const Zero_Search around = find_zeros(7000.0, 7010.0, 2);
    ASSERT_TRUE(around.verified);
    ASSERT_GE(around.zeros.size(), 3u);
    const double on_zero = around.zeros[1].gamma;
    for (const auto& [t1, t2] : {std::pair{on_zero, 7010.0}, std::pair{7000.0, on_zero}}) {
        const Zero_Search search = find_zeros(t1, t2, 2);
        EXPECT_TRUE(search.verified) << t1 << " ... " << t2;
        for (const Zeta_Zero& zero : search.zeros) {
            EXPECT_GE(zero.gamma, t1);
            EXPECT_LE(zero.gamma, t2);
        }
    }
}

TEST(FindZeros, ExpectedNumberIsCloseToTheCount) {
    for (const auto& [t1, t2] :
         {std::pair{0.0, 1e4}, std::pair{74920.0, 75000.0}, std::pair{1e8, 1e8 + 52.0}}) {
        const double estimate = zeros_expected_between(t1, t2);
        const double count = static_cast<double>(zero_count(t2) - zero_count(t1));
        EXPECT_NEAR(estimate, count, 3.0) << t1 << " ... " << t2;
    }
    EXPECT_EQ(zeros_expected_between(5.0, 1.0), 0.0);
}

TEST(FindZeros, ReportsProgressUpToTheEnd) {
    std::vector<double> shares;
    const Zero_Search search =
        find_zeros(0.0, 5000.0, 2, nullptr, [&](double done) { shares.push_back(done); });
    EXPECT_TRUE(search.verified);
    ASSERT_GE(shares.size(), 2u);
    for (size_t i = 1; i < shares.size(); ++i)
        EXPECT_GE(shares[i], shares[i - 1]);
    EXPECT_GT(shares.front(), 0.0);
    EXPECT_EQ(shares.back(), 1.0);
}

TEST(FindZeros, CancelStopsTheSearch) {
    std::atomic<bool> cancel{true};
    EXPECT_TRUE(find_zeros(0.0, 1e5, 2, &cancel).cancelled);
    cancel = false;
    const auto start = std::chrono::steady_clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cancel = true;
    });
    const Zero_Search search = find_zeros(0.0, 1e7, 2, &cancel);
    canceller.join();
    EXPECT_TRUE(search.cancelled);
    EXPECT_FALSE(search.verified);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(FindZeros, RangesOutsideTheDomainGiveNothing) {
    for (const auto& [t1, t2] : {std::pair{10.0, 5.0}, std::pair{std::nan(""), 10.0},
                                 std::pair{0.0, std::nan("")}, std::pair{0.0, 2e13}, std::pair{-5.0, -1.0}}) {
        const Zero_Search search = find_zeros(t1, t2, 2);
        EXPECT_TRUE(search.zeros.empty()) << t1 << " ... " << t2;
        EXPECT_FALSE(search.verified) << t1 << " ... " << t2;
    }
    // Below the real axis lie the conjugates: a negative start is taken as 0.
    const Zero_Search from_below = find_zeros(-100.0, 30.0, 2);
    EXPECT_TRUE(from_below.verified);
    EXPECT_EQ(from_below.t1, 0.0);
    EXPECT_EQ(from_below.found, 3);
    // Nothing below the first zero, and that is verified too.
    const Zero_Search empty = find_zeros(0.0, 14.0, 2);
    EXPECT_TRUE(empty.verified);
    EXPECT_EQ(empty.found, 0);
}

}  // namespace
