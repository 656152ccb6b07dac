// Turing's count N(x) against Arb's acb_dirichlet_zeta_nzeros, at Gram failures, between Lehmer's pair and at
// round heights; and the isolation of Lehmer's pair whatever Gram index the grid starts from.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/sanitizer_scale.h"
#include "tests/zeta_math/arb_reference.h"
#include "zeta/math/hardy_theta.h"
#include "zeta/math/zero_counting.h"

namespace {

using namespace zeta_math;

TEST(CountZeros, IsExactAndMatchesArb) {
    // 282.4547: just after g_126, where Gram's law first fails; 7005.08: between Lehmer's two zeros; 560:
    // just above the height from which Turing's bound is used at the point itself.
    std::vector<double> heights = {0.5,   14.1,  14.2,   100.0,   282.4547, 282.6,
                                   500.0, 560.0, 1000.0, 7005.08, 74920.8};
    if (!under_sanitizer) heights.insert(heights.end(), {600269.7, 4.2653549e7, 1e11});
    Dirichlet_Tables tables(zero_search_terms(heights.back() + 1e3));
    Zero_Workspace workspace(tables);
    for (const double x : heights) {
        const Zero_Count count = count_zeros(x, workspace);
        EXPECT_TRUE(count.exact()) << x << ": [" << count.low << ", " << count.high << "]";
        EXPECT_EQ(count.low, zero_count(x)) << x;
    }
    // The values the literature gives.
    EXPECT_EQ(count_zeros(1e4, workspace).low, 10142);
    EXPECT_EQ(count_zeros(1e5, workspace).low, 138069);
}

// Without the sign changes on either side, Turing's bounds on S(x) cannot pin N(x) down.
TEST(TuringCount, NeedsTheSignChangesAroundThePoint) {
    Dirichlet_Tables tables(zero_search_terms(1.1e4));
    Zero_Workspace workspace(tables);
    const double x = 1e4;
    const Isolation region = isolate_region(gram_index(x - 30.0), gram_index(x + 30.0), {x}, workspace, {});
    const std::vector<Zero_Bracket> all = zero_brackets(region.points);
    const int sign = workspace.evaluator.evaluate(x).sign();
    const double z = region.points.front().sample.t;
    const double y = region.points.back().sample.t;
    const Zero_Count full = turing_count(x, sign, z, y, all);
    EXPECT_TRUE(full.exact());
    EXPECT_EQ(full.low, 10142);
    std::vector<Zero_Bracket> above_only;
    for (const Zero_Bracket& bracket : all) {
        if (bracket.low.t > x) above_only.push_back(bracket);
    }
    const Zero_Count without_below = turing_count(x, sign, z, y, above_only);
    EXPECT_FALSE(without_below.exact());
    EXPECT_LE(without_below.low, 10142);
    EXPECT_GE(without_below.high, 10142);
}

// Lehmer's pair, 7005.0629 and 7005.1006, 0.04 apart where zeros are 0.9 apart on average: found as two sign
// changes whichever Gram point the stretch starts at.
TEST(IsolateZeros, FindsLehmersPairFromAnyStart) {
    Dirichlet_Tables tables(zero_search_terms(7100.0));
    Zero_Workspace workspace(tables);
    const int64_t pair = gram_index(7005.08);
    for (int64_t start = pair - 9; start <= pair; start += 3) {
        const Isolation region = isolate_region(start, pair + 5, {}, workspace, {});
        int64_t near_pair = 0;
        for (const Zero_Bracket& bracket : zero_brackets(region.points)) {
            if (bracket.high.t > 7005.0 && bracket.low.t < 7005.2) ++near_pair;
        }
        EXPECT_EQ(near_pair, 2) << "from Gram point " << start;
        EXPECT_EQ(region.found, region.target) << "from Gram point " << start;
    }
}

// Around the first failure of Rosser's rule the merged search also splits stretches that show a sign change,
// where the missing pair hides beside a third zero; it never runs away either.
TEST(IsolateZeros, FindsThePairWhereRossersRuleFirstFails) {
    Dirichlet_Tables tables(zero_search_terms(6.83e6));
    Zero_Workspace workspace(tables);
    const int64_t failure = 13999525;
    for (int64_t start = failure - 12; start <= failure; start += 4) {
        const Isolation region = isolate_region(start, failure + 8, {}, workspace, {});
        EXPECT_EQ(region.found, region.target) << "from Gram point " << start;
        EXPECT_LT(region.points.size(), static_cast<size_t>(40 * region.target))
            << "from Gram point " << start;
    }
}

}  // namespace
