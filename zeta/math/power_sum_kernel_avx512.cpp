// The plot kernels for AVX-512: 8 lanes, the tile sums in 24 of the 32 zmm registers. Compiled with
// -mavx512f.
#include "zeta/math/power_sum_variants.h"

namespace zeta_math {

extern const Plot_Kernels plot_kernels_avx512 = plot_kernels_of<8, 2>();

}  // namespace zeta_math
