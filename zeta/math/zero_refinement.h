// Refinement of an isolated zero of Z(t): Newton steps from the derivative, kept inside a bracket whose ends
// have certain, opposite signs, until the bracket is narrower than the tolerance.
#pragma once

#include <functional>

#include "zeta/math/hardy_z_steps.h"

namespace zeta_math {

// The accuracy asked of an ordinate: max(1e-10, 4 ulp(γ)).
double zero_tolerance(double gamma);

struct Refined_Zero {
    double gamma = 0.0;
    bool certified = false;  // a zero lies within zero_tolerance(gamma) of gamma, by certain signs
    int evaluations = 0;
};

using Z_Function = std::function<Hardy_Z(double t)>;

// Refines the zero between the ends of a bracket (certain, opposite signs, low.t < high.t) with `evaluate`.
// The result lies within the bracket.
Refined_Zero refine_zero(Z_Sample low, Z_Sample high, const Z_Function& evaluate);

}  // namespace zeta_math
