#include "zeta/plot/zeros_search.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "zeta/math/hardy_theta.h"
#include "zeta/math/zero_counting.h"
#include "zeta/math/zero_isolation.h"
#include "zeta/math/zero_refinement.h"
#include "zeta/plot/parallel_blocks.h"

namespace {

using zeta_math::Zero_Count;
using zeta_math::Zero_Workspace;

constexpr int64_t fewest_intervals = 16;      // per sub-range, so that boundary searches never overlap
constexpr double first_gram_point = 17.8455;  // g_0, rounded up

// The terms the tables must hold: Riemann–Siegel as far as the windows of the counts and the boundaries may
// reach beyond t2 (a generous margin), Euler–Maclaurin up to where zeros are refined with it and to 200,
// where the counts near 0 evaluate with it.
int32_t table_terms(double t2) {
    const double reach = t2 * (1.0 + 1e-6) + 2000.0;
    const double refined =
        std::clamp(t2 + 1.0, zeta_math::riemann_siegel_from, zeta_math::euler_maclaurin_below);
    return std::max(zeta_math::Hardy_Z_Evaluator::riemann_siegel_terms(reach) + 2,
                    zeta_math::Hardy_Z_Evaluator::euler_maclaurin_terms(refined));
}

// One workspace per worker thread, made by that thread when it first needs it.
class Workspaces {
public:
    Workspaces(const zeta_math::Dirichlet_Tables& tables, int threads)
        : tables_(tables), slots_(static_cast<size_t>(std::max(threads, 1))) {}
    Zero_Workspace& at(int worker) {
        std::unique_ptr<Zero_Workspace>& slot = slots_[static_cast<size_t>(worker)];
        if (!slot) slot = std::make_unique<Zero_Workspace>(tables_);
        return *slot;
    }

private:
    const zeta_math::Dirichlet_Tables& tables_;
    std::vector<std::unique_ptr<Zero_Workspace>> slots_;
};

// A point at or just below t1 (above t2 for the upper end) where the sign of Z is certain, so that no zero is
// counted on one side and listed on the other. Zeros between t1 and such a point count as in the range.
double anchor(double t, double direction, zeta_math::Hardy_Z_Evaluator& evaluator) {
    if (t <= 0.0) return 0.0;
    if (evaluator.evaluate(t).sign() != 0) return t;
    double distance = 0.25 * zeta_math::zero_tolerance(t);
    for (int i = 0; i < 60; ++i, distance *= 2.0) {
        const double moved = std::max(0.0, t + direction * distance);
        if (moved == 0.0 || evaluator.evaluate(moved).sign() != 0) return moved;
    }
    return t;
}

struct Range {
    double t1 = 0.0;
    double t2 = 0.0;
    double low = 0.0;   // anchor at or below t1
    double high = 0.0;  // anchor at or above t2
};

// A Gram index from which the search for a boundary ends at or below t, however many Gram points above it
// fail Gram's law (−1 standing for t = 0).
int64_t gram_index_below(double t) {
    if (t < first_gram_point) return -1;
    return std::max<int64_t>(zeta_math::gram_index(t) - 1 - zeta_math::gram_boundary_reach, -1);
}

// Nominal sub-range ends from `first` to `last` (Gram indices); `shift` moves the inner ones by half a
// sub-range, for a second pass whose boundaries differ from the first one's.
std::vector<int64_t> nominal_boundaries(int64_t first, int64_t last, int threads, bool shift) {
    const int64_t balance =
        std::max<int64_t>(fewest_intervals, (last - first + 3 * threads - 1) / (3 * std::max(threads, 1)));
    std::vector<int64_t> ends{first};
    int64_t j = first;
    bool shifted = !shift;
    while (j < last) {
        const double height = j < 0 ? 0.0 : zeta_math::gram_point(j);
        int64_t length = std::max(fewest_intervals, std::min(balance, zeta_math::sub_range_length(height)));
        if (!shifted) {
            // Half a sub-range first (a boundary search that overtakes the next boundary drops that one).
            length = std::max<int64_t>(4, length / 2);
            shifted = true;
        }
        j = last - j < length + length / 4 ? last : j + length;
        ends.push_back(j);
    }
    return ends;
}

struct Pass_Result {
    std::vector<double> gammas;
    bool cancelled = false;
};

// Isolates the zeros between the range's anchors sub-range by sub-range and refines those in it; with
// `count`, also computes N at both anchors.
Pass_Result search_pass(const Range& range, int threads, const std::atomic<bool>& cancel,
                        const Zero_Progress& progress, Workspaces& workspaces,
                        const zeta_math::Search_Effort& effort, bool shift, Zero_Count* counts) {
    Pass_Result result;
    const int64_t first = gram_index_below(range.low);
    const int64_t last = zeta_math::gram_index(std::max(range.high, first_gram_point)) + 2;
    const std::vector<int64_t> nominal = nominal_boundaries(first, last, threads, shift);
    std::vector<zeta_math::Gram_Boundary> boundaries(nominal.size());
    const bool ends_found =
        run_blocks(static_cast<int64_t>(nominal.size()), threads, cancel, [&](int64_t block, int worker) {
            boundaries[static_cast<size_t>(block)] = zeta_math::find_gram_boundary(
                nominal[static_cast<size_t>(block)], workspaces.at(worker).evaluator);
            return true;
        });
    if (!ends_found) {
        result.cancelled = true;
        return result;
    }
    // A boundary that a bad run of Gram points pushed past the next one is dropped.
    std::vector<zeta_math::Gram_Boundary> ends{boundaries.front()};
    for (size_t i = 1; i < boundaries.size(); ++i) {
        if (boundaries[i].index > ends.back().index) ends.push_back(boundaries[i]);
    }
    const int64_t sub_ranges = static_cast<int64_t>(ends.size()) - 1;
    const int64_t count_blocks = counts != nullptr ? 2 : 0;
    const int64_t blocks = sub_ranges + count_blocks;
    std::vector<std::vector<double>> found(static_cast<size_t>(std::max<int64_t>(sub_ranges, 0)));
    std::atomic<int64_t> done{0};
    const std::vector<double> extra{range.low, range.high};
    const bool finished = run_blocks(blocks, threads, cancel, [&](int64_t block, int worker) {
        Zero_Workspace& workspace = workspaces.at(worker);
        if (block >= sub_ranges) {
            const double x = block == sub_ranges ? range.low : range.high;
            counts[block - sub_ranges] = zeta_math::count_zeros(x, workspace, &cancel);
        } else {
            const size_t index = static_cast<size_t>(block);
            const zeta_math::Isolation isolation =
                zeta_math::isolate_zeros(ends[index], ends[index + 1], extra, workspace, effort, &cancel);
            if (isolation.cancelled) return false;
            for (const zeta_math::Zero_Bracket& bracket : zeta_math::zero_brackets(isolation.points)) {
                if (bracket.low.t < range.low || bracket.high.t > range.high) continue;
                if (cancel.load(std::memory_order_relaxed)) return false;
                const double t = bracket.low.t;
                const zeta_math::Theta_Near theta_near(std::max(t, 100.0));
                const zeta_math::Z_Function evaluate = [&](double x) {
                    return x < zeta_math::euler_maclaurin_below
                               ? workspace.evaluator.euler_maclaurin_near(x, &theta_near)
                               : workspace.evaluator.riemann_siegel_near(x, &theta_near);
                };
                const double gamma = zeta_math::refine_zero(bracket.low, bracket.high, evaluate).gamma;
                found[index].push_back(std::clamp(gamma, range.t1, range.t2));
            }
        }
        const int64_t finished_blocks = done.fetch_add(1) + 1;
        if (worker == 0 && progress)
            progress(static_cast<double>(finished_blocks) / static_cast<double>(blocks));
        return !cancel.load(std::memory_order_relaxed);
    });
    result.cancelled = !finished;
    for (const std::vector<double>& part : found)
        result.gammas.insert(result.gammas.end(), part.begin(), part.end());
    return result;
}

bool valid_range(double t1, double t2) {
    return !std::isnan(t1) && !std::isnan(t2) && t2 >= std::max(t1, 0.0) && t2 <= zero_search_height_limit;
}

}  // namespace

double zeros_expected_between(double t1, double t2) {
    if (!valid_range(t1, t2)) return 0.0;
    const zeta_math::Double_Double rise = zeta_math::theta(t2) - zeta_math::theta(std::max(t1, 0.0));
    return std::max(0.0, rise.hi / zeta_math::dd_pi.hi);
}

Zero_Search find_zeros(double t1, double t2, int threads, const std::atomic<bool>* cancel,
                       const Zero_Progress& progress) {
    Zero_Search search;
    const std::atomic<bool> never{false};
    const std::atomic<bool>& stop = cancel != nullptr ? *cancel : never;
    threads = std::max(threads, 1);
    if (!valid_range(t1, t2)) return search;
    Range range;
    range.t1 = std::max(t1, 0.0);
    range.t2 = t2;
    search.t1 = range.t1;
    search.t2 = range.t2;
    const zeta_math::Dirichlet_Tables tables(table_terms(t2));
    Workspaces workspaces(tables, threads);
    range.low = anchor(range.t1, -1.0, workspaces.at(0).evaluator);
    range.high = anchor(range.t2, 1.0, workspaces.at(0).evaluator);

    Zero_Count counts[2];
    zeta_math::Search_Effort effort;
    Pass_Result pass = search_pass(range, threads, stop, progress, workspaces, effort, false, counts);
    if (pass.cancelled) {
        search.cancelled = true;
        return search;
    }
    search.counted = counts[0].exact() && counts[1].exact();
    search.expected = counts[1].low - counts[0].low;
    if (search.counted && static_cast<int64_t>(pass.gammas.size()) != search.expected) {
        // Rosser's rule failing across a sub-range boundary, or a pair the first pass missed: once more with
        // other boundaries and more effort.
        effort.evaluations_per_pair *= 4;
        effort.merges += 2;
        Pass_Result again = search_pass(range, threads, stop, {}, workspaces, effort, true, nullptr);
        if (again.cancelled) {
            search.cancelled = true;
            return search;
        }
        const auto distance = [&](const Pass_Result& p) {
            return std::llabs(static_cast<long long>(p.gammas.size()) -
                              static_cast<long long>(search.expected));
        };
        if (distance(again) < distance(pass)) pass = std::move(again);
    }
    search.zeros.reserve(pass.gammas.size());
    int64_t n = counts[0].low;
    for (const double gamma : pass.gammas)
        search.zeros.push_back({++n, gamma});
    search.found = static_cast<int64_t>(search.zeros.size());
    search.verified = search.counted && search.found == search.expected;
    if (progress) progress(1.0);
    return search;
}

Zero_Verification verify_zeros(const std::vector<Zeta_Zero>& zeros, double t1, double t2, int threads,
                               const std::atomic<bool>* cancel) {
    Zero_Verification verification;
    if (!valid_range(t1, t2)) return verification;
    const std::atomic<bool> never{false};
    const std::atomic<bool>& stop = cancel != nullptr ? *cancel : never;
    Range range;
    range.t1 = std::max(t1, 0.0);
    range.t2 = t2;
    const zeta_math::Dirichlet_Tables tables(table_terms(t2));
    Workspaces workspaces(tables, std::max(threads, 1));
    range.low = anchor(range.t1, -1.0, workspaces.at(0).evaluator);
    range.high = anchor(range.t2, 1.0, workspaces.at(0).evaluator);
    Zero_Count counts[2];
    const double anchors[2] = {range.low, range.high};
    const bool finished = run_blocks(2, std::max(threads, 1), stop, [&](int64_t block, int worker) {
        counts[block] = zeta_math::count_zeros(anchors[block], workspaces.at(worker), &stop);
        return !stop.load(std::memory_order_relaxed);
    });
    if (!finished) {
        verification.cancelled = true;
        return verification;
    }
    bool increasing = true;
    double previous = -1.0;
    for (const Zeta_Zero& zero : zeros) {
        if (!(zero.gamma >= range.t1 && zero.gamma <= range.t2)) continue;
        ++verification.found;
        increasing = increasing && zero.gamma > previous;
        previous = zero.gamma;
    }
    verification.counted = counts[0].exact() && counts[1].exact();
    verification.expected = counts[1].low - counts[0].low;
    verification.verified = verification.counted && increasing && verification.found == verification.expected;
    return verification;
}
