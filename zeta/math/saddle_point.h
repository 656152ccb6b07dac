// The parts of Riemann's saddle-point formula for t ≥ saddle_height,
//   ζ(s) = R(s) + χ(s) conj(R(1 − conj s)),
//   R(s) = Σ_{n ≤ N} n^-s + ∫ x^-s e^(πix²) / (e^(πix) − e^(−πix)) dx,   N = ⌊√(t/2π)⌋,
// with the integral taken along the line of slope 1 through the centre c = N + 1/2, which passes through the
// saddle point, by the trapezoidal rule on saddle_node_count nodes x_j = c(1 + v_j) (good to 10^-15). The
// integral is then Σ_j x_j^-σ F_j, with F_j depending on t alone.
#pragma once

#include <array>
#include <complex>
#include <cstdint>

#include "zeta/math/chi.h"

namespace zeta_math {

constexpr double saddle_height = 30.0;
constexpr int saddle_node_count = 103;

int32_t saddle_terms(double t);

// The nodes of one centre c: log x_j − log c = v_j + (ln(1 + v_j) − v_j).
struct Saddle_Nodes {
    double centre = 0.0;
    std::array<std::complex<double>, saddle_node_count> v;
    std::array<std::complex<double>, saddle_node_count> log_offset;
};

void make_saddle_nodes(double centre, Saddle_Nodes& nodes);

// What a row of height t needs: N, the nodes' factors F_j, and the parts of χ that depend on t.
struct Saddle_Row {
    double t = 0.0;
    int32_t terms = 0;
    std::array<double, saddle_node_count> factor_re;
    std::array<double, saddle_node_count> factor_im;
    Chi_Row chi;
};

// `nodes` must be those of the centre saddle_terms(t) + 1/2.
void make_saddle_row(double t, const Saddle_Nodes& nodes, Saddle_Row& row);

// How many terms of the two sums of a cell matter at σ for every height from `lowest` (≥ saddle_height) up:
// the rest, and then the integral too, stays below 10^-19 · |ζ(s)|. Far right of the critical strip Σ n^-σ
// converges after a few terms and χ(s) R(1 − conj s) vanishes; far left, likewise with the roles exchanged.
struct Saddle_Lengths {
    int32_t direct = 0;     // of Σ n^-σ n^-it: 0 when R(s) is negligible, INT32_MAX when all N are needed
    int32_t reflected = 0;  // of Σ n^(σ−1) n^-it, likewise for χ(s) R(1 − conj s)
};

Saddle_Lengths saddle_lengths(double sigma, double lowest);

// x_j^-σ (to `powers_s`) and x_j^(σ−1) (to `powers_reflected`) for every node.
void node_powers(double sigma, const Saddle_Nodes& nodes, std::complex<double>* powers_s,
                 std::complex<double>* powers_reflected);

}  // namespace zeta_math
