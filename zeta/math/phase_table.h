// Tables of n^-it = e^(−it ln n), n = 1 ... count: for a prime the phase t ln p is formed in double-double
// and reduced modulo 2π before its cosine and sine are taken; a composite n = p·m (p its smallest prime
// factor) is the product of the entries of p and m, so that an entry carries at most about 20 roundings.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "zeta/math/double_double.h"
#include "zeta/math/prime_table.h"

namespace zeta_math {

// A complex number of modulus 1 (up to rounding).
struct Unit_Complex {
    double re;
    double im;
};

// Storage for a table that grows without writing its entries, so that its pages are first touched (and
// faulted in) by build_phase_table, which can be cancelled, and written once. Keeps its entries when grown.
class Phase_Storage {
public:
    // Room for entries 0 ... entries − 1.
    Unit_Complex* reserve(size_t entries);
    Unit_Complex* data() { return entries_.get(); }
    const Unit_Complex* data() const { return entries_.get(); }
    size_t capacity() const { return capacity_; }

private:
    std::unique_ptr<Unit_Complex[]> entries_;
    size_t capacity_ = 0;
};

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
