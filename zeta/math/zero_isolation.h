// Isolation of the zeros of Z(t) in one stretch of the critical line, single-threaded: sign changes between
// points where the sign of Z is certain, found on a grid of two points per Gram interval and then, where a
// Gram block holds fewer sign changes than its length (Rosser's rule), by evaluating Z where the cubic
// through the neighbouring values and slopes comes closest to zero. Nothing depends on any pixel grid.
#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <vector>

#include "zeta/math/hardy_z_steps.h"

namespace zeta_math {

// One thread's evaluators over shared tables.
struct Zero_Workspace {
    explicit Zero_Workspace(const Dirichlet_Tables& tables) : evaluator(tables), stepper(tables) {}
    Hardy_Z_Evaluator evaluator;
    Hardy_Z_Stepper stepper;
};

// The tables a search up to height t needs (Euler–Maclaurin below euler_maclaurin_below included).
int32_t zero_search_terms(double t);

// Below this height zeros are refined with Euler–Maclaurin, whose error bound is smaller there than the
// Riemann–Siegel one; below stepped_from the grid is evaluated point by point.
constexpr double euler_maclaurin_below = 2000.0;
constexpr double stepped_from = 1000.0;

constexpr int64_t no_gram_index = std::numeric_limits<int64_t>::min();

// A point of the grid: a Gram point (index ≥ −1, t = 0 standing for index −1) or any other point.
struct Grid_Point {
    Z_Sample sample;
    int64_t gram = no_gram_index;
};

// A Gram point where Gram's law holds ((−1)^n Z(g_n) > 0, certain), or, failing that within a few indices, a
// Gram point where the sign is at least certain (good = false). Index −1 stands for t = 0, where Z < 0.
struct Gram_Boundary {
    int64_t index = -1;
    Grid_Point point;
    bool good = false;
};

// The first usable boundary at index ≥ n, at most gram_boundary_reach indices above n.
constexpr int64_t gram_boundary_reach = 15;
Gram_Boundary find_gram_boundary(int64_t n, Hardy_Z_Evaluator& evaluator);

// How hard the search for missing sign changes tries: evaluations per missing pair and block, and how many
// times a block that stays short is merged with its neighbours.
struct Search_Effort {
    int evaluations_per_pair = 24;
    int merges = 3;
};

struct Isolation {
    std::vector<Grid_Point> points;  // ordered by position, first and last the boundaries
    int64_t target = 0;              // Gram intervals: what Rosser's rule expects
    int64_t found = 0;               // sign changes between certain points
    bool cancelled = false;
};

// Isolates the zeros between two boundaries (first.index < last.index). `extra` lists points that must be
// among the grid points (those strictly between the boundaries are evaluated and added).
Isolation isolate_zeros(const Gram_Boundary& first, const Gram_Boundary& last,
                        const std::vector<double>& extra, Zero_Workspace& workspace,
                        const Search_Effort& effort, const std::atomic<bool>* cancel = nullptr);

// The most Gram intervals one isolate_zeros call covers from height t: on an equally spaced grid every second
// point must stay within 5% of a spacing from its Gram point, which holds over 1.6·√t (θ'' = 1/2t); at most
// 512.
int64_t sub_range_length(double t);

// Isolates the zeros from the boundary at Gram index ≥ first_index to the one at index ≥ last_index, in
// consecutive sub-ranges of at most sub_range_length intervals.
Isolation isolate_region(int64_t first_index, int64_t last_index, const std::vector<double>& extra,
                         Zero_Workspace& workspace, const Search_Effort& effort,
                         const std::atomic<bool>* cancel = nullptr);

// A sign change of Z between two points with certain signs, none certain between them.
struct Zero_Bracket {
    Z_Sample low;
    Z_Sample high;
};

// The sign changes among the points, in order.
std::vector<Zero_Bracket> zero_brackets(const std::vector<Grid_Point>& points);

}  // namespace zeta_math
