// The tile kernel for AVX2: 4 lanes, 12 accumulators in the 16 ymm registers. Compiled with -mavx2.
#include "zeta/math/power_sum_tile.h"

namespace zeta_math {

void tile_sums_avx2(const double* a, const double* b, int32_t k_count, double* sum, bool start) {
    tile_sums<4, 1>(a, b, k_count, sum, start);
}

}  // namespace zeta_math
