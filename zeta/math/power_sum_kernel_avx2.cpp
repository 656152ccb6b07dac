// The plot kernels for AVX2: 4 lanes, the tile sums in 12 of the 16 ymm registers. Compiled with -mavx2.
#include "zeta/math/power_sum_variants.h"

namespace zeta_math {

extern const Plot_Kernels plot_kernels_avx2 = plot_kernels_of<4, 1>();

}  // namespace zeta_math
