// Tables of n^-it = e^(−it ln n), n = 1 ... count: for a prime the phase t ln p is formed in double-double
// and reduced modulo 2π before its cosine and sine are taken; a composite n = p·m (p its smallest prime
// factor) is the product of the entries of p and m, so that an entry carries at most about 20 roundings.
#pragma once

#include <atomic>
#include <cstdint>

#include "zeta/math/double_double.h"
#include "zeta/math/prime_table.h"
#include "zeta/math/raw_buffer.h"

namespace zeta_math {

// A complex number of modulus 1 (up to rounding).
struct Unit_Complex {
    double re;
    double im;
};

using Phase_Storage = Raw_Buffer<Unit_Complex>;

inline Unit_Complex operator*(Unit_Complex a, Unit_Complex b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// p^-it for the k-th prime, with t and its Dekker split given.
Unit_Complex prime_phase(const Prime_Table& primes, size_t k, double t, Double_Double t_halves);

// Writes n^-it to table[n] for n = 1 ... count (table[0] is left alone); t ≥ 0, count ≤ primes.limit. Tests
// `cancel` (when given) every few thousand entries and returns false, the table partly written, once it is
// set.
bool build_phase_table(const Prime_Table& primes, double t, int32_t count, Unit_Complex* table,
                       const std::atomic<bool>* cancel = nullptr);

}  // namespace zeta_math
