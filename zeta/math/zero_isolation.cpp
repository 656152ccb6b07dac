#include "zeta/math/zero_isolation.h"

#include <algorithm>
#include <cmath>

#include "zeta/math/hardy_theta.h"

namespace zeta_math {

namespace {

bool cancelled(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

int gram_parity(int64_t n) {
    return n % 2 == 0 ? 1 : -1;
}

double gram_position(int64_t n) {
    return n < 0 ? 0.0 : gram_point(n);
}

bool is_good(const Grid_Point& point) {
    return point.gram != no_gram_index && point.sample.z.sign() == gram_parity(point.gram);
}

Grid_Point direct_point(double t, int64_t gram, Hardy_Z_Evaluator& evaluator) {
    Grid_Point point;
    point.sample.t = t;
    point.sample.z = evaluator.evaluate(t);
    point.gram = gram;
    return point;
}

// Sign changes between certain points with index in [first, last].
int64_t sign_changes(const std::vector<Grid_Point>& points, size_t first, size_t last) {
    int64_t changes = 0;
    int previous = 0;
    for (size_t i = first; i <= last; ++i) {
        const int sign = points[i].sample.z.sign();
        if (sign == 0) continue;
        if (previous != 0 && sign != previous) ++changes;
        previous = sign;
    }
    return changes;
}

// A Gram block: between two consecutive good Gram points (indices into the points).
struct Block {
    size_t first = 0;
    size_t last = 0;
    int64_t length = 0;  // Gram intervals
};

std::vector<Block> gram_blocks(const std::vector<Grid_Point>& points) {
    std::vector<Block> blocks;
    bool open = false;
    Block block;
    for (size_t i = 0; i < points.size(); ++i) {
        if (!is_good(points[i])) continue;
        if (open) {
            block.last = i;
            block.length = points[i].gram - points[block.first].gram;
            blocks.push_back(block);
        }
        block.first = i;
        open = true;
    }
    return blocks;
}

// How close the cubic Hermite interpolant of two same-signed values comes to zero: its least value times the
// common sign, over the larger end value (negative when it predicts two crossings), and where (0 to 1).
struct Dip {
    double depth = 0.0;
    double where = 0.5;
};

Dip hermite_dip(const Z_Sample& a, const Z_Sample& b) {
    const double sign = a.z.value > 0.0 ? 1.0 : -1.0;
    const double h = b.t - a.t;
    const double f0 = sign * a.z.value;
    const double f1 = sign * b.z.value;
    const double d0 = sign * a.z.derivative * h;
    const double d1 = sign * b.z.derivative * h;
    Dip dip;
    dip.depth = std::numeric_limits<double>::infinity();
    constexpr int steps = 32;
    for (int i = 1; i < steps; ++i) {
        const double u = static_cast<double>(i) / steps;
        const double u2 = u * u;
        const double u3 = u2 * u;
        const double value = f0 * (2.0 * u3 - 3.0 * u2 + 1.0) + d0 * (u3 - 2.0 * u2 + u) +
                             f1 * (-2.0 * u3 + 3.0 * u2) + d1 * (u3 - u2);
        if (value < dip.depth) {
            dip.depth = value;
            dip.where = u;
        }
    }
    dip.depth /= std::max(f0, f1);
    if (!std::isfinite(dip.depth)) dip.depth = 0.0;
    return dip;
}

// Two consecutive certain points of the same sign: where a pair of zeros may hide.
struct Candidate {
    size_t low = 0;
    size_t high = 0;
    double depth = 0.0;
    double split = 0.0;  // the position to evaluate next
    double width = 0.0;
};

double narrowest_split(double t) {
    return std::max(1e-10, 16.0 * (std::nextafter(t, INFINITY) - t));
}

// Where a pair of zeros may hide: between two consecutive certain points of the same sign and, with
// `changes_too` (when Rosser's rule may fail), also of opposite signs, where three zeros may lie.
std::vector<Candidate> candidates(const std::vector<Grid_Point>& points, size_t first, size_t last,
                                  int round_robin, bool changes_too) {
    std::vector<Candidate> list;
    size_t previous = first;
    bool have_previous = false;
    for (size_t i = first; i <= last; ++i) {
        const int sign = points[i].sample.z.sign();
        if (sign == 0) continue;
        const bool same = have_previous && points[previous].sample.z.sign() == sign;
        if (have_previous && (same || changes_too)) {
            const Z_Sample& a = points[previous].sample;
            const Z_Sample& b = points[i].sample;
            Candidate candidate;
            candidate.low = previous;
            candidate.high = i;
            candidate.width = b.t - a.t;
            if (candidate.width > narrowest_split(b.t)) {
                if (i - previous > 1) {
                    // A point of uncertain sign lies between: Z is tiny there; split beside it.
                    const Z_Sample& middle = points[previous + 1].sample;
                    candidate.depth = -std::numeric_limits<double>::infinity();
                    candidate.split = round_robin % 2 == 0 ? 0.5 * (a.t + middle.t) : 0.5 * (middle.t + b.t);
                    if (!(candidate.split > a.t && candidate.split < b.t))
                        candidate.split = 0.5 * (a.t + b.t);
                } else if (same) {
                    const Dip dip = hermite_dip(a, b);
                    candidate.depth = dip.depth;
                    candidate.split = a.t + std::clamp(dip.where, 0.05, 0.95) * candidate.width;
                } else {
                    // Taken in turn as the widest stretch only.
                    candidate.depth = std::numeric_limits<double>::infinity();
                    candidate.split = 0.5 * (a.t + b.t);
                }
                list.push_back(candidate);
            }
        }
        previous = i;
        have_previous = true;
    }
    return list;
}

void insert_point(std::vector<Grid_Point>& points, Grid_Point point) {
    const auto place =
        std::upper_bound(points.begin(), points.end(), point,
                         [](const Grid_Point& a, const Grid_Point& b) { return before(a.sample, b.sample); });
    points.insert(place, point);
}

// Evaluates Z at new points between points[first] and points[last] until the sign changes there reach
// `target` or the budget is spent. Returns the index of the last point of the stretch afterwards.
size_t search_stretch(std::vector<Grid_Point>& points, size_t first, size_t last, int64_t target, int budget,
                      bool changes_too, Hardy_Z_Evaluator& evaluator, const std::atomic<bool>* cancel) {
    for (int evaluations = 0; evaluations < budget; ++evaluations) {
        if (sign_changes(points, first, last) >= target || cancelled(cancel)) break;
        const std::vector<Candidate> list = candidates(points, first, last, evaluations, changes_too);
        if (list.empty()) break;
        // Mostly the deepest dip; every third time the widest stretch, so that every stretch is split in
        // turn.
        const auto chosen =
            evaluations % 3 == 2
                ? std::max_element(list.begin(), list.end(),
                                   [](const Candidate& a, const Candidate& b) { return a.width < b.width; })
                : std::min_element(list.begin(), list.end(),
                                   [](const Candidate& a, const Candidate& b) { return a.depth < b.depth; });
        const double split =
            evaluations % 3 == 2 ? points[chosen->low].sample.t + 0.5 * chosen->width : chosen->split;
        insert_point(points, direct_point(split, no_gram_index, evaluator));
        ++last;
    }
    return last;
}

// Searches each Gram block with fewer sign changes than its length; a block that stays short is searched
// again together with its neighbours (Rosser's rule can fail by one block). At most `allowance` evaluations
// in all, so that a stretch where zeros are truly missing (off the line, or multiple) ends the search.
void fill_deficits(std::vector<Grid_Point>& points, Hardy_Z_Evaluator& evaluator, const Search_Effort& effort,
                   int64_t allowance, const std::atomic<bool>* cancel) {
    const size_t most_points = points.size() + static_cast<size_t>(std::max<int64_t>(allowance, 0));
    for (int round = 0; round <= effort.merges; ++round) {
        bool short_block = false;
        // Blocks are found again after every search, as the points move; they are identified by Gram index.
        int64_t next_gram = std::numeric_limits<int64_t>::min();
        for (;;) {
            if (cancelled(cancel) || points.size() >= most_points) return;
            const std::vector<Block> blocks = gram_blocks(points);
            size_t found = blocks.size();
            for (size_t i = 0; i < blocks.size(); ++i) {
                if (points[blocks[i].first].gram < next_gram) continue;
                if (sign_changes(points, blocks[i].first, blocks[i].last) < blocks[i].length) {
                    found = i;
                    break;
                }
            }
            if (found == blocks.size()) break;
            next_gram = points[blocks[found].first].gram + 1;  // before the search moves the points
            const size_t low = found >= static_cast<size_t>(round) ? found - static_cast<size_t>(round) : 0;
            const size_t high = std::min(blocks.size() - 1, found + static_cast<size_t>(round));
            int64_t target = 0;
            for (size_t i = low; i <= high; ++i)
                target += blocks[i].length;
            const size_t first = blocks[low].first;
            const int64_t missing = target - sign_changes(points, first, blocks[high].last);
            const int64_t budget =
                std::min<int64_t>(effort.evaluations_per_pair * (missing / 2 + 1) * (round + 1),
                                  static_cast<int64_t>(most_points - points.size()));
            // Merged with its neighbours, a block may fall short because a neighbour hides three zeros
            // where one sign change shows: then stretches with a sign change are split too.
            const size_t last = search_stretch(points, first, blocks[high].last, target,
                                               static_cast<int>(budget), round > 0, evaluator, cancel);
            if (sign_changes(points, first, last) < target) short_block = true;
        }
        if (!short_block) return;
    }
}

}  // namespace

int32_t zero_search_terms(double t) {
    const double height = std::max(t, 0.0);
    const int32_t low = Hardy_Z_Evaluator::euler_maclaurin_terms(std::min(height, euler_maclaurin_below));
    const int32_t high =
        height >= riemann_siegel_from ? Hardy_Z_Evaluator::riemann_siegel_terms(height) + 2 : 0;
    return std::max(low, high);
}

Gram_Boundary find_gram_boundary(int64_t n, Hardy_Z_Evaluator& evaluator) {
    Gram_Boundary fallback;
    bool have_fallback = false;
    for (int64_t j = std::max<int64_t>(n, -1); j <= std::max<int64_t>(n, -1) + gram_boundary_reach; ++j) {
        Gram_Boundary boundary;
        boundary.index = j;
        boundary.point = direct_point(gram_position(j), j, evaluator);
        boundary.good = is_good(boundary.point);
        if (boundary.good) return boundary;
        if (!have_fallback && boundary.point.sample.z.sign() != 0) {
            fallback = boundary;
            have_fallback = true;
        }
    }
    if (have_fallback) return fallback;
    // Z uncertain at every one of them (never seen): a point just beside g_n.
    Gram_Boundary boundary;
    boundary.index = std::max<int64_t>(n, -1);
    double t = gram_position(boundary.index);
    for (int i = 0; i < 64; ++i) {
        boundary.point = direct_point(t, boundary.index, evaluator);
        if (boundary.point.sample.z.sign() != 0) break;
        t += 1e-6 * zero_spacing(t);
    }
    return boundary;
}

Isolation isolate_zeros(const Gram_Boundary& first, const Gram_Boundary& last,
                        const std::vector<double>& extra, Zero_Workspace& workspace,
                        const Search_Effort& effort, const std::atomic<bool>* cancel) {
    Isolation result;
    const int64_t a = first.index;
    const int64_t b = last.index;
    result.target = b - a;
    const double t_a = first.point.sample.t;
    const double t_b = last.point.sample.t;
    std::vector<Grid_Point>& points = result.points;
    if (t_a >= stepped_from) {
        const int32_t count = static_cast<int32_t>(2 * (b - a));
        const double step = (t_b - t_a) / count;
        std::vector<Z_Sample> samples(static_cast<size_t>(count));
        if (!workspace.stepper.evaluate(t_a, step, count, samples.data(), cancel)) {
            result.cancelled = true;
            return result;
        }
        points.reserve(static_cast<size_t>(count) + 1 + extra.size());
        points.push_back(first.point);
        for (int32_t k = 1; k < count; ++k) {
            Grid_Point point;
            point.sample = samples[static_cast<size_t>(k)];
            point.gram = k % 2 == 0 ? a + k / 2 : no_gram_index;
            points.push_back(point);
        }
    } else {
        double left = t_a;
        points.push_back(first.point);
        for (int64_t j = a; j < b; ++j) {
            if (cancelled(cancel)) {
                result.cancelled = true;
                return result;
            }
            const double right = j + 1 == b ? t_b : gram_point(j + 1);
            points.push_back(direct_point(0.5 * (left + right), no_gram_index, workspace.evaluator));
            if (j + 1 < b) points.push_back(direct_point(right, j + 1, workspace.evaluator));
            left = right;
        }
    }
    points.push_back(last.point);
    for (const double t : extra) {
        if (t > t_a && t < t_b) insert_point(points, direct_point(t, no_gram_index, workspace.evaluator));
    }
    // A generous allowance: a few dozen evaluations per Gram interval, far beyond what close pairs need.
    fill_deficits(points, workspace.evaluator, effort, 32 * effort.evaluations_per_pair + 4 * result.target,
                  cancel);
    result.cancelled = cancelled(cancel);
    result.found = sign_changes(points, 0, points.size() - 1);
    return result;
}

int64_t sub_range_length(double t) {
    if (t < stepped_from) return 64;
    const double intervals = 1.6 * std::sqrt(t) / zero_spacing(t);
    return static_cast<int64_t>(std::clamp(intervals, 8.0, 512.0));
}

Isolation isolate_region(int64_t first_index, int64_t last_index, const std::vector<double>& extra,
                         Zero_Workspace& workspace, const Search_Effort& effort,
                         const std::atomic<bool>* cancel) {
    Isolation region;
    Gram_Boundary first = find_gram_boundary(first_index, workspace.evaluator);
    region.points.push_back(first.point);
    while (first.index < last_index) {
        const int64_t length = sub_range_length(first.point.sample.t);
        const int64_t next =
            last_index - first.index < length + length / 4 ? last_index : first.index + length;
        const Gram_Boundary last = find_gram_boundary(next, workspace.evaluator);
        Isolation part = isolate_zeros(first, last, extra, workspace, effort, cancel);
        if (part.cancelled) {
            region.cancelled = true;
            return region;
        }
        region.points.insert(region.points.end(), part.points.begin() + 1, part.points.end());
        region.target += part.target;
        region.found += part.found;
        first = last;
    }
    return region;
}

std::vector<Zero_Bracket> zero_brackets(const std::vector<Grid_Point>& points) {
    std::vector<Zero_Bracket> brackets;
    const Z_Sample* previous = nullptr;
    for (const Grid_Point& point : points) {
        const int sign = point.sample.z.sign();
        if (sign == 0) continue;
        if (previous != nullptr && previous->z.sign() != sign) brackets.push_back({*previous, point.sample});
        previous = &point.sample;
    }
    return brackets;
}

}  // namespace zeta_math
