#include "zeta/math/phase_table.h"

#include <cmath>

namespace zeta_math {

namespace {

constexpr int32_t cancel_mask = 4095;  // the cancel flag is tested every 4096 entries

}  // namespace

Unit_Complex prime_phase(const Prime_Table& primes, size_t k, double t, Double_Double t_halves) {
    const double phase = reduce_modulo_two_pi(multiply(primes.logs[k], primes.log_halves[k], t, t_halves));
    return {std::cos(phase), -std::sin(phase)};
}

bool build_phase_table(const Prime_Table& primes, double t, int32_t count, Unit_Complex* table,
                       const std::atomic<bool>* cancel) {
    const Double_Double t_halves = split(t);
    const int32_t* factor = primes.smallest_factor.data();
    table[1] = Unit_Complex{1.0, 0.0};
    size_t prime = 0;
    for (int32_t n = 2; n <= count; ++n) {
        if ((n & cancel_mask) == 0 && cancel && cancel->load(std::memory_order_relaxed)) return false;
        const int32_t p = factor[n];
        table[n] = p == n ? prime_phase(primes, prime++, t, t_halves) : table[p] * table[n / p];
    }
    return true;
}

}  // namespace zeta_math
