#include "zeta/math/prime_table.h"

#include <algorithm>
#include <mutex>

namespace zeta_math {

namespace {

constexpr int32_t smallest_limit = 4096;

std::mutex table_lock;
std::shared_ptr<const Prime_Table> current_table;  // guarded by table_lock

std::shared_ptr<const Prime_Table> build_table(int32_t limit, const Prime_Table* smaller) {
    auto table = std::make_shared<Prime_Table>();
    table->limit = limit;
    table->smallest_factor.assign(static_cast<size_t>(limit) + 1, 0);
    std::vector<int32_t>& factor = table->smallest_factor;
    for (int32_t n = 2; n <= limit; ++n) {
        if (factor[static_cast<size_t>(n)] != 0) continue;
        factor[static_cast<size_t>(n)] = n;
        for (int64_t multiple = int64_t{n} * n; multiple <= limit; multiple += n) {
            if (factor[static_cast<size_t>(multiple)] == 0) factor[static_cast<size_t>(multiple)] = n;
        }
    }
    // The logarithms of the primes the smaller table had are kept: log_dd is what takes the time here.
    if (smaller) {
        table->logs = smaller->logs;
        table->log_halves = smaller->log_halves;
    }
    for (int32_t n = smaller ? smaller->limit + 1 : 2; n <= limit; ++n) {
        if (!table->is_prime(n)) continue;
        table->logs.push_back(log_dd(Double_Double{static_cast<double>(n), 0.0}));
        table->log_halves.push_back(split(table->logs.back().hi));
    }
    return table;
}

}  // namespace

std::shared_ptr<const Prime_Table> prime_table(int32_t n_max) {
    std::lock_guard guard(table_lock);
    if (!current_table || current_table->limit < n_max) {
        const int32_t old_limit = current_table ? current_table->limit : 0;
        const int64_t wanted = std::max<int64_t>({n_max, int64_t{2} * old_limit, smallest_limit});
        const auto limit = static_cast<int32_t>(std::min<int64_t>(wanted, INT32_MAX - 1));
        current_table = build_table(limit, current_table.get());
    }
    return current_table;
}

}  // namespace zeta_math
