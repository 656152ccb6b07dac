#include "zeta/math/dirichlet_terms.h"

#include <algorithm>
#include <cmath>

#include "zeta/math/hardy_theta.h"

namespace zeta_math {

Dirichlet_Tables::Dirichlet_Tables(int32_t largest) : largest_(std::max<int32_t>(largest, 1)) {
    const size_t size = static_cast<size_t>(largest_) + 1;
    logs_.resize(size);
    log_halves_.resize(size);
    log_doubles_.resize(size);
    inverse_square_roots_.resize(size);
    smallest_factors_.assign(size, 0);
    factor_counts_.assign(size, 0);
    // Sieve of smallest prime factors.
    for (int32_t n = 2; n <= largest_; ++n) {
        if (smallest_factors_[static_cast<size_t>(n)] != 0) continue;
        for (int64_t multiple = n; multiple <= largest_; multiple += n) {
            int32_t& factor = smallest_factors_[static_cast<size_t>(multiple)];
            if (factor == 0) factor = n;
        }
    }
    smallest_factors_[1] = 1;
    inverse_square_roots_[1] = 1.0;
    for (int32_t n = 2; n <= largest_; ++n) {
        const size_t index = static_cast<size_t>(n);
        const int32_t factor = smallest_factors_[index];
        if (factor == n) {
            logs_[index] = log_of(static_cast<double>(n));
            factor_counts_[index] = 1;
        } else {
            const size_t rest = static_cast<size_t>(n / factor);
            logs_[index] = logs_[static_cast<size_t>(factor)] + logs_[rest];
            factor_counts_[index] = factor_counts_[rest] + 1;
        }
        log_halves_[index] = split(logs_[index].hi);
        log_doubles_[index] = logs_[index].hi;
        inverse_square_roots_[index] = 1.0 / std::sqrt(static_cast<double>(n));
    }
}

void unit_terms(const Dirichlet_Tables& tables, double t_high, double t_low, int32_t count, double* cosines,
                double* sines) {
    const Double_Double t_halves = split(t_high);
    cosines[1] = 1.0;
    sines[1] = 0.0;
    for (int32_t n = 2; n <= count; ++n) {
        const int32_t factor = tables.smallest_factor(n);
        if (factor == n) {
            Double_Double phase = multiply(tables.log(n), tables.log_halves(n), t_high, t_halves);
            if (t_low != 0.0) phase = phase + Double_Double{t_low * tables.log_double(n), 0.0};
            const double reduced = reduce_modulo_two_pi(phase);
            cosines[n] = std::cos(reduced);
            sines[n] = std::sin(reduced);
        } else {
            const int32_t rest = n / factor;
            cosines[n] = cosines[factor] * cosines[rest] - sines[factor] * sines[rest];
            sines[n] = sines[factor] * cosines[rest] + cosines[factor] * sines[rest];
        }
    }
}

}  // namespace zeta_math
