#include "zeta/math/hardy_z_steps.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "zeta/math/hardy_theta.h"
#include "zeta/math/riemann_siegel_correction.h"
#include "zeta/math/term_kernels.h"

namespace zeta_math {

namespace {

using Complex_Double = std::complex<double>;

bool cancelled(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

}  // namespace

Hardy_Z_Stepper::Hardy_Z_Stepper(const Dirichlet_Tables& tables) : tables_(tables) {}

void Hardy_Z_Stepper::restart(double t, double t_low, int32_t terms) {
    unit_terms(tables_, t, t_low, terms, cosines_.data(), sines_.data());
    scale_terms(tables_.inverse_square_roots(), cosines_.data(), sines_.data(), real_.data(),
                imaginary_.data(), terms);
}

bool Hardy_Z_Stepper::evaluate(double t_0, double step, int32_t count, Z_Sample* samples,
                               const std::atomic<bool>* cancel) {
    if (count <= 0) return true;
    const double last = t_0 + step * static_cast<double>(count - 1);
    const int32_t terms = std::min(Hardy_Z_Evaluator::riemann_siegel_terms(last) + 1, tables_.largest());
    const size_t size = static_cast<size_t>(terms) + 1;
    real_.resize(size);
    imaginary_.resize(size);
    step_real_.resize(size);
    step_imaginary_.resize(size);
    cosines_.resize(size);
    sines_.resize(size);
    for (int32_t n = 1; n <= terms; ++n) {
        const double phase = step * tables_.log_double(n);
        step_real_[static_cast<size_t>(n)] = std::cos(phase);
        step_imaginary_[static_cast<size_t>(n)] = -std::sin(phase);
    }
    // Error units of a term: the direct terms (term_error_per_factor per prime factor, and three roundings
    // for n^(−1/2) and its product), then per step the phase Δ ln n (rounded twice, relative), the cosine and
    // sine of the step (an ulp each) and the complex product (√5): (2|Δ| ln N + 4) · 2^-53.
    const double log_terms = std::log(static_cast<double>(std::max(terms, 2)));
    const double restart_units = term_error_per_factor * log_terms / std::log(2.0) + 3.0;
    const double step_units = 2.0 * step * log_terms + 4.0;
    const double* logs = tables_.log_doubles();
    const Theta_Near theta_near(t_0);
    const bool near = t_0 >= 100.0 && step * static_cast<double>(count) <= 2.0 * std::sqrt(t_0);
    int32_t since_restart = 0;
    for (int32_t k = 0; k < count; ++k) {
        if (k % 16 == 0 && cancelled(cancel)) return false;
        // t_k = t_0 + k·Δ exactly, as a double and a correction.
        const Double_Double offset = two_product(static_cast<double>(k), step);
        const Double_Double exact = Double_Double{t_0, 0.0} + offset;
        const double t = exact.hi;
        const double t_low = exact.lo;
        if (k % restart_interval == 0) {
            restart(t, t_low, terms);
            since_restart = 0;
        }
        const Riemann_Siegel_Split split = riemann_siegel_split(t);
        const int32_t summed = std::min(static_cast<int32_t>(split.terms), terms);
        const bool advance = k + 1 < count && (k + 1) % restart_interval != 0;
        const Term_Sums sums = sum_terms(real_.data(), imaginary_.data(), logs, summed);
        if (advance)
            step_terms(real_.data(), imaginary_.data(), step_real_.data(), step_imaginary_.data(), terms);
        const double phase = near ? theta_near.reduced(offset.hi, offset.lo) : reduced_theta(t, t_low);
        const Complex_Double rotation(std::cos(phase), std::sin(phase));
        const Complex_Double f = rotation * Complex_Double(sums.f_real, sums.f_imaginary);
        const Complex_Double g = rotation * Complex_Double(sums.g_real, sums.g_imaginary);
        const Riemann_Siegel_Correction correction = riemann_siegel_correction(split);
        Z_Sample& sample = samples[k];
        sample.t = t;
        sample.t_low = t_low;
        sample.z.value = 2.0 * f.real() + correction.value;
        sample.z.derivative = -2.0 * (theta_derivative(t) * f.imag() - g.imag());
        const double units = restart_units + static_cast<double>(since_restart) * step_units;
        sample.z.error =
            (main_sum_error(summed, units) + correction.error + riemann_siegel_truncation_bound(t)) *
            (1.0 + 1e-6);
        ++since_restart;
    }
    return true;
}

}  // namespace zeta_math
