#include "zeta/math/saddle_point.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "zeta/math/constants.h"
#include "zeta/math/double_double.h"

namespace zeta_math {

namespace {

using Complex_Double = std::complex<double>;

constexpr double node_step = 1.0 / 16.0;
constexpr int node_reach = (saddle_node_count - 1) / 2;  // nodes u = k·node_step, |k| ≤ node_reach

const Complex_Double omega(std::sqrt(0.5), std::sqrt(0.5));

// w_j = u_j e^(iπ/4), the offset of node j from the centre.
Complex_Double node_offset(int j) {
    return static_cast<double>(j - node_reach) * node_step * omega;
}

// ln(1 + v) − v without cancellation for small v (magnitudes compared squared: no square roots).
Complex_Double log1p_minus_identity(Complex_Double v) {
    if (std::norm(v) >= 0.0625) return std::log(1.0 + v) - v;
    Complex_Double power = v * v;
    Complex_Double sum = -0.5 * power;
    for (int k = 3; k < 64; ++k) {
        power *= v;
        const Complex_Double term = (k % 2 == 1 ? 1.0 : -1.0) * power / static_cast<double>(k);
        sum += term;
        if (std::norm(term) < 1e-36 * std::norm(sum)) break;
    }
    return sum;
}

// The line runs from upper right to lower left (dx = −ω du), and 1 / (e^(πix) − e^(−πix)) =
// (−1)^N / (2i cos πw): node j weighs (−1)^(N+1) ω·node_step / (2i cos πw_j); the sign goes with the row.
const std::array<Complex_Double, saddle_node_count>& node_weights() {
    static const std::array<Complex_Double, saddle_node_count> weights = [] {
        std::array<Complex_Double, saddle_node_count> list;
        for (int j = 0; j < saddle_node_count; ++j)
            list[static_cast<size_t>(j)] =
                omega * node_step / (Complex_Double(0.0, 2.0) * std::cos(pi * node_offset(j)));
        return list;
    }();
    return weights;
}

}  // namespace

int32_t saddle_terms(double t) {
    return static_cast<int32_t>(std::floor(std::sqrt(t / (2.0 * pi))));
}

void make_saddle_nodes(double centre, Saddle_Nodes& nodes) {
    nodes.centre = centre;
    for (int j = 0; j < saddle_node_count; ++j) {
        const Complex_Double v = node_offset(j) / centre;
        nodes.v[static_cast<size_t>(j)] = v;
        nodes.log_offset[static_cast<size_t>(j)] = v + log1p_minus_identity(v);
    }
}

// Along x = c + w, with v = w / c and Δ = t − 2πc²:
//   x^-it e^(πix²) = e^(i(πc² − t ln c)) · e^(i(−t(ln(1 + v) − v) − Δv + πw²))
// where every term of the second exponent is small.
void make_saddle_row(double t, const Saddle_Nodes& nodes, Saddle_Row& row) {
    row.t = t;
    row.terms = saddle_terms(t);
    const double c = nodes.centre;
    const Double_Double c_squared{c * c, 0.0};  // exact: c is a half-integer below 2^26
    const double delta = (Double_Double{t, 0.0} - dd_two_pi * c_squared).hi;
    const Double_Double log_c = log_dd(Double_Double{c, 0.0});
    const double phase = reduce_modulo_two_pi(dd_pi * c_squared - log_c * t);
    const Complex_Double row_factor =
        (row.terms % 2 == 0 ? -1.0 : 1.0) * Complex_Double(std::cos(phase), std::sin(phase));
    const auto& weights = node_weights();
    for (int j = 0; j < saddle_node_count; ++j) {
        const size_t i = static_cast<size_t>(j);
        const Complex_Double v = nodes.v[i];
        const Complex_Double w = node_offset(j);
        const Complex_Double excess = nodes.log_offset[i] - v;
        const Complex_Double exponent = -t * excess - delta * v + pi * w * w;
        const Complex_Double factor = row_factor * weights[i] * std::exp(Complex_Double(0.0, 1.0) * exponent);
        row.factor_re[i] = factor.real();
        row.factor_im[i] = factor.imag();
    }
    row.chi = chi_row(t);
}

namespace {

constexpr double negligible = 1e-19;
constexpr int32_t every_term = INT32_MAX;

// The M from which Σ_{n>M} n^-a ≤ M^(1−a)/(a − 1) stays below `negligible`, for a > 1.
int32_t terms_before_tail(double a) {
    if (!(a > 1.0)) return every_term;
    const double m = std::ceil(std::exp(std::log(negligible * (a - 1.0)) / (1.0 - a)));
    return m < every_term ? std::max(1, static_cast<int32_t>(m)) : every_term;
}

}  // namespace

// With T = t/2π, N ≤ √T and, for t ≥ 1000 and |1 − σ| ≤ t/20, |χ(s)| ≤ 1.1 T^(1/2 − σ):
//   σ > 1:    |χ(s) R(1 − conj s)| ≤ 1.1 T^(1/2 − σ) (N^σ + N^(σ−1)) ≤ 2.2 T^((1 − σ)/2), while |ζ(s)| ≥
//   1/ζ(σ)
//             is not small; Σ_{n>M} n^-σ and the integral, of size N^-σ, stay below the tail bound.
//   σ ≤ −1/2: |ζ(s)| ≥ |χ(s)| / ζ(1 − σ) ≥ 0.38 T^(1/2 − σ) and |R(s)| ≤ 2 T^((1 − σ)/2), so that
//             |R(s)| ≤ 5.3 T^(σ/2) |ζ(s)|; the tail of Σ n^(σ−1) is weighed against ζ(1 − s) likewise.
Saddle_Lengths saddle_lengths(double sigma, double lowest) {
    if (!std::isfinite(sigma)) return {every_term, every_term};
    Saddle_Lengths lengths{terms_before_tail(sigma), terms_before_tail(1.0 - sigma)};
    if (lowest < 1000.0 || std::fabs(1.0 - sigma) > 0.05 * lowest) return lengths;
    const double log_height = std::log(lowest / (2.0 * pi));
    const double log_negligible = std::log(negligible);
    if (sigma > 1.0 && std::log(2.2) + 0.5 * (1.0 - sigma) * log_height < log_negligible)
        lengths.reflected = 0;
    if (sigma <= -0.5 && std::log(5.3) + 0.5 * sigma * log_height < log_negligible) lengths.direct = 0;
    return lengths;
}

void node_powers(double sigma, const Saddle_Nodes& nodes, std::complex<double>* powers_s,
                 std::complex<double>* powers_reflected) {
    const double log_c = std::log(nodes.centre);
    for (int j = 0; j < saddle_node_count; ++j) {
        const Complex_Double log_x = log_c + nodes.log_offset[static_cast<size_t>(j)];
        powers_s[j] = std::exp(-sigma * log_x);
        powers_reflected[j] = std::exp((sigma - 1.0) * log_x);
    }
}

}  // namespace zeta_math
