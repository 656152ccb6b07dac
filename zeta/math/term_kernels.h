// The loops over the terms n = 1 ... N that dominate the cost of finding zeros, in a file of their own so
// that they are compiled for vectorization (-O3). Each lane does the same IEEE operations, in the same order,
// as the scalar loop would, so that the values and their error bounds do not depend on how they are compiled.
#pragma once

#include <cstdint>

namespace zeta_math {

// Σ x_n and Σ l_n x_n over n = 1 ... count for complex x_n = re[n] + i im[n], each in four running
// accumulators by n mod 4 that are added pairwise at the end (⌈count/4⌉ + 2 additions on any path).
struct Term_Sums {
    double f_real = 0.0;
    double f_imaginary = 0.0;
    double g_real = 0.0;
    double g_imaginary = 0.0;
};
Term_Sums sum_terms(const double* re, const double* im, const double* l, int32_t count);

// x_n ← x_n · w_n for n = 1 ... count (complex products without fused multiply-add).
void step_terms(double* __restrict re, double* __restrict im, const double* __restrict w_re,
                const double* __restrict w_im, int32_t count);

// x_n = r_n (c_n − i s_n) for n = 1 ... count.
void scale_terms(const double* __restrict r, const double* __restrict c, const double* __restrict s,
                 double* __restrict re, double* __restrict im, int32_t count);

// y_n = x_n · e^(−iδ l_n) for n = 1 ... count, where |δ l_n| ≤ 1/64: the exponential from its Taylor series
// up to the seventh power (the rest is below 1e-19), each y_n within 8·2^-53 of |x_n| of the exact product.
void shift_terms(const double* __restrict re, const double* __restrict im, const double* __restrict l,
                 double delta, double* __restrict out_re, double* __restrict out_im, int32_t count);

}  // namespace zeta_math
