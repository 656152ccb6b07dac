// The tile kernel for AVX-512: 8 lanes, 24 accumulators in the 32 zmm registers. Compiled with -mavx512f.
#include "zeta/math/power_sum_tile.h"

namespace zeta_math {

void tile_sums_avx512(const double* a, const double* b, int32_t k_count, double* sum, bool start) {
    tile_sums<8, 2>(a, b, k_count, sum, start);
}

}  // namespace zeta_math
