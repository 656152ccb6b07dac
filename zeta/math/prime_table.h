// The primes of the process, shared by every thread: the smallest prime factor of each n up to a limit, and
// ln p of every prime in double-double. The table grows on demand; a grown table is a new object, so one that
// a thread holds never changes under it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "zeta/math/double_double.h"

namespace zeta_math {

struct Prime_Table {
    int32_t limit = 1;                     // every n ≤ limit is covered
    std::vector<int32_t> smallest_factor;  // index n ≥ 2; equal to n for a prime
    // ln p of the k-th prime (k = 0 for p = 2), and Dekker's split of its high part for exact products.
    std::vector<Double_Double> logs;
    std::vector<Double_Double> log_halves;

    bool is_prime(int32_t n) const { return smallest_factor[static_cast<size_t>(n)] == n; }
};

// A table that covers at least n ≤ n_max (n_max ≥ 1). Thread-safe; the first call beyond the current limit
// builds the larger table while other callers wait. Throws std::bad_alloc when memory runs out.
std::shared_ptr<const Prime_Table> prime_table(int32_t n_max);

}  // namespace zeta_math
