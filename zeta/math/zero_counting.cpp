#include "zeta/math/zero_counting.h"

#include <algorithm>
#include <cmath>

#include "zeta/math/constants.h"
#include "zeta/math/hardy_theta.h"

namespace zeta_math {

namespace {

constexpr double slack = 1e-9;  // for the rounding of the bounds themselves (they are of order 1)
constexpr int widenings = 3;

// The window on each side of x: about five times the bound on ∫S, and four zero spacings for the brackets.
double window(double x, double scale) {
    const double reach = 5.0 * turing_integral_bound(x + 60.0) + 4.0 * zero_spacing(x);
    return scale * reach;
}

int64_t brackets_in(const std::vector<Zero_Bracket>& brackets, double from, double to) {
    int64_t count = 0;
    for (const Zero_Bracket& bracket : brackets) {
        if (bracket.low.t >= from && bracket.high.t <= to) ++count;
    }
    return count;
}

// N(x) exactly from a count that is right at a point above it: N(x) = N(above) − (zeros in (x, above]),
// exact when every zero up to `above` was found.
Zero_Count count_below(double x, double above, const Zero_Count& at_above,
                       const std::vector<Zero_Bracket>& brackets) {
    const int64_t up_to_x = brackets_in(brackets, 0.0, x);
    const int64_t between = brackets_in(brackets, x, above);
    Zero_Count count;
    count.low = up_to_x;
    count.high = at_above.high - between;
    if (at_above.exact() && up_to_x + between == at_above.low) count.low = count.high;
    return count;
}

}  // namespace

double turing_integral_bound(double b) {
    return std::max(2.067 + 0.059 * std::log(b), 2.30 + 0.128 * std::log(b / (2.0 * pi)));
}

Zero_Count turing_count(double x, int x_sign, double z, double y, const std::vector<Zero_Bracket>& brackets) {
    double upper_sum = 0.0;
    double lower_sum = 0.0;
    for (const Zero_Bracket& bracket : brackets) {
        if (bracket.low.t >= x && bracket.high.t <= y) upper_sum += y - bracket.high.t;
        if (bracket.low.t >= z && bracket.high.t <= x) lower_sum += bracket.low.t - z;
    }
    const Double_Double theta_x = theta(x);
    const double rise_up = (theta(y) - theta_x).hi;
    const double rise_down = (theta_x - theta(0.5 * (x + z))).hi;
    const double upper = (turing_integral_bound(y) + (y - x) * rise_up / (2.0 * pi) - upper_sum) / (y - x);
    const double lower = (-turing_integral_bound(x) - (x - z) * rise_down / pi + lower_sum) / (x - z);
    // θ(x)/π as a whole part and a fraction, so that heights up to 10^13 keep the fraction exact enough.
    const Double_Double turns = theta_x / dd_pi;
    const double whole = std::floor(turns.hi);
    const double fraction = (turns - Double_Double{whole, 0.0}).hi;
    Zero_Count count;
    count.low = static_cast<int64_t>(whole) + static_cast<int64_t>(std::ceil(fraction + 1.0 + lower - slack));
    count.high =
        static_cast<int64_t>(whole) + static_cast<int64_t>(std::floor(fraction + 1.0 + upper + slack));
    // Zeros off the line come in pairs and zeros on it change the sign of Z when of odd multiplicity, while
    // Z(0) = ζ(1/2) < 0: N(x) is odd exactly when Z(x) > 0.
    const int64_t parity = x_sign > 0 ? 1 : 0;
    if (std::abs(count.low % 2) != parity) ++count.low;
    if (std::abs(count.high % 2) != parity) --count.high;
    return count;
}

Zero_Count count_zeros(double x, Zero_Workspace& workspace, const std::atomic<bool>* cancel) {
    if (x <= 0.0) return {0, 0};
    const int x_sign = workspace.evaluator.evaluate(x).sign();
    if (x_sign == 0) return {0, -1};
    Zero_Count count{0, -1};
    const Search_Effort effort;
    for (int attempt = 0; attempt <= widenings; ++attempt) {
        const double scale = static_cast<double>(1 << attempt);
        const double reach = window(x, scale);
        if (x - reach > turing_bound_from * (1.0 + 1e-12)) {
            const Isolation region =
                isolate_region(gram_index(x - reach) - 1 - gram_boundary_reach, gram_index(x + reach) + 2,
                               {x}, workspace, effort, cancel);
            if (region.cancelled) return {0, -1};
            const double z = region.points.front().sample.t;
            const double y = region.points.back().sample.t;
            if (z <= turing_bound_from || z >= x) continue;
            count = turing_count(x, x_sign, z, y, zero_brackets(region.points));
        } else {
            // From 0: every zero below a point `above` where Turing's method applies is counted.
            const double above_reach = window(turing_bound_from, scale);
            double above = std::max(x, turing_bound_from + above_reach) + zero_spacing(x);
            const int above_sign = workspace.evaluator.evaluate(above).sign();
            if (above_sign == 0) above += 1e-3;
            const Isolation region = isolate_region(-1, gram_index(above + above_reach) + 2, {x, above},
                                                    workspace, effort, cancel);
            if (region.cancelled) return {0, -1};
            const std::vector<Zero_Bracket> brackets = zero_brackets(region.points);
            const double z = std::max(turing_bound_from * (1.0 + 1e-12), above - above_reach);
            const Zero_Count at_above = turing_count(above, workspace.evaluator.evaluate(above).sign(), z,
                                                     region.points.back().sample.t, brackets);
            count = count_below(x, above, at_above, brackets);
        }
        if (count.exact()) return count;
    }
    return count;
}

}  // namespace zeta_math
