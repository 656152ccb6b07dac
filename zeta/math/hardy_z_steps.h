// Z at equally spaced points t_k = t_0 + kΔ, by stepping the terms of the Riemann–Siegel main sum:
// n^(−1/2 − it_(k+1)) = n^(−1/2 − it_k) · n^(−iΔ), one complex multiply-add per term and point instead of a
// double-double phase, a reduction and a cosine. The terms are computed afresh every `restart_interval`
// points so that the rounding of the steps stays small; each value carries its error bound like
// Hardy_Z_Evaluator's.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "zeta/math/hardy_z.h"

namespace zeta_math {

// A value of Z at the point t + t_low (t_low: a correction below one ulp of t, for points that are not
// doubles).
struct Z_Sample {
    double t = 0.0;
    double t_low = 0.0;
    Hardy_Z z;
};

// Orders samples by their exact position.
inline bool before(const Z_Sample& a, const Z_Sample& b) {
    return a.t < b.t || (a.t == b.t && a.t_low < b.t_low);
}

class Hardy_Z_Stepper {
public:
    explicit Hardy_Z_Stepper(const Dirichlet_Tables& tables);

    static constexpr int32_t restart_interval = 128;

    // samples[k] = Z(t_0 + kΔ) for k = 0 ... count − 1, with t_0 ≥ riemann_siegel_from and Δ > 0. Tests
    // `cancel` (when given) every few points; returns false, with the samples partly written, when it is set.
    bool evaluate(double t_0, double step, int32_t count, Z_Sample* samples,
                  const std::atomic<bool>* cancel = nullptr);

private:
    void restart(double t, double t_low, int32_t terms);

    const Dirichlet_Tables& tables_;
    std::vector<double> real_;  // n^(−1/2) n^(−it) at the current point
    std::vector<double> imaginary_;
    std::vector<double> step_real_;  // n^(−iΔ)
    std::vector<double> step_imaginary_;
    std::vector<double> cosines_;  // scratch for unit_terms
    std::vector<double> sines_;
};

}  // namespace zeta_math
