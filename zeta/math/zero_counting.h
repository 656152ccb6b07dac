// N(x), the number of zeros of ζ with 0 < Im ρ ≤ x in the critical strip (with multiplicity), exactly, by
// Turing's method: N(x) = θ(x)/π + 1 + S(x), where S(x) is pinned down by the sign changes of Z found on both
// sides of x, a bound on ∫S over each side, and the parity of N(x), which the sign of Z(x) gives.
//
// With the sign changes isolated in brackets (l_i, r_i) and points z < x < y above 168π:
//   ∫_x^y S ≥ (y − x) S(x) + Σ_{x<l_i, r_i≤y} (y − r_i) − (y − x)(θ(y) − θ(x))/2π     (θ convex: trapezoid)
//   ∫_z^x S ≤ (x − z) S(x) − Σ_{z≤l_i, r_i<x} (l_i − z) + (x − z)(θ(x) − θ((x+z)/2))/π  (θ convex: midpoint)
// and |∫_a^b S| ≤ B(b) for 168π < a < b. So S(x) lies in a known interval; N(x) is the one integer of the
// right parity in θ(x)/π + 1 + that interval, when there is only one (windows of about 5 B long suffice).
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "zeta/math/zero_isolation.h"

namespace zeta_math {

// Below this height Turing's bound on ∫S is not available: 168π.
constexpr double turing_bound_from = 527.7875658030853;

// |∫_a^b S(t) dt| ≤ B(b) for 168π < a < b: the larger of Trudgian's 2.067 + 0.059 ln b (2011) and Turing's,
// as corrected by Lehman, 2.30 + 0.128 ln(b/2π), so that the result holds by either.
double turing_integral_bound(double b);

// Bounds on N(x): exact when low == high; no value fits when low > high (never seen: it would mean an
// error in a bound).
struct Zero_Count {
    int64_t low = 0;
    int64_t high = -1;
    bool exact() const { return low == high; }
};

// The bounds Turing's method gives at x (sign of Z(x): x_sign, certain) from the brackets found in [z, y]
// (z > 168π).
Zero_Count turing_count(double x, int x_sign, double z, double y, const std::vector<Zero_Bracket>& brackets);

// N(x) for x ≥ 0, where the sign of Z(x) is certain (by Hardy_Z_Evaluator::evaluate); x = 0 gives 0.
// Isolates the zeros within a window around x (from 0 when x is below 168π plus a window, counting them all
// up to a point above it where Turing's method applies) and widens the windows when the count is not pinned.
Zero_Count count_zeros(double x, Zero_Workspace& workspace, const std::atomic<bool>* cancel = nullptr);

}  // namespace zeta_math
