#include "zeta/math/term_kernels.h"

namespace zeta_math {

Term_Sums sum_terms(const double* re, const double* im, const double* l, int32_t count) {
    double f_re[4] = {0.0, 0.0, 0.0, 0.0};
    double f_im[4] = {0.0, 0.0, 0.0, 0.0};
    double g_re[4] = {0.0, 0.0, 0.0, 0.0};
    double g_im[4] = {0.0, 0.0, 0.0, 0.0};
    int32_t n = 1;
    for (; n + 3 <= count; n += 4) {
        for (int k = 0; k < 4; ++k) {
            const double x = re[n + k];
            const double y = im[n + k];
            f_re[k] += x;
            f_im[k] += y;
            g_re[k] += l[n + k] * x;
            g_im[k] += l[n + k] * y;
        }
    }
    for (int k = 0; n <= count; ++n, ++k) {
        f_re[k] += re[n];
        f_im[k] += im[n];
        g_re[k] += l[n] * re[n];
        g_im[k] += l[n] * im[n];
    }
    Term_Sums sums;
    sums.f_real = (f_re[0] + f_re[1]) + (f_re[2] + f_re[3]);
    sums.f_imaginary = (f_im[0] + f_im[1]) + (f_im[2] + f_im[3]);
    sums.g_real = (g_re[0] + g_re[1]) + (g_re[2] + g_re[3]);
    sums.g_imaginary = (g_im[0] + g_im[1]) + (g_im[2] + g_im[3]);
    return sums;
}

void step_terms(double* __restrict re, double* __restrict im, const double* __restrict w_re,
                const double* __restrict w_im, int32_t count) {
    for (int32_t n = 1; n <= count; ++n) {
        const double x = re[n];
        const double y = im[n];
        re[n] = x * w_re[n] - y * w_im[n];
        im[n] = x * w_im[n] + y * w_re[n];
    }
}

void scale_terms(const double* __restrict r, const double* __restrict c, const double* __restrict s,
                 double* __restrict re, double* __restrict im, int32_t count) {
    for (int32_t n = 1; n <= count; ++n) {
        re[n] = r[n] * c[n];
        im[n] = -(r[n] * s[n]);
    }
}

void shift_terms(const double* __restrict re, const double* __restrict im, const double* __restrict l,
                 double delta, double* __restrict out_re, double* __restrict out_im, int32_t count) {
    for (int32_t n = 1; n <= count; ++n) {
        const double phase = delta * l[n];
        const double square = phase * phase;
        const double cosine = 1.0 - square * (0.5 - square * (1.0 / 24.0 - square * (1.0 / 720.0)));
        const double sine =
            phase * (1.0 - square * (1.0 / 6.0 - square * (1.0 / 120.0 - square * (1.0 / 5040.0))));
        // x · (cos − i sin)
        out_re[n] = re[n] * cosine + im[n] * sine;
        out_im[n] = im[n] * cosine - re[n] * sine;
    }
}

}  // namespace zeta_math
