// The cell sums of a plot as a product of two matrices: for each cell (r, j),
//   C[r][j] += Σ_k A[k][r] · B[k][j]
// with A real (a power n^-σ of column r) and B complex (n^-it of row j), over a panel of k. Each cell adds
// its products one at a time in increasing k, a multiplication and then an addition (never fused), and the
// SIMD lanes run across cells; so every variant of the kernel, and every way of cutting the plot into tiles,
// gives the same bits.
//
// A tile is tile_a_rows rows of A against tile_b_columns columns of B:
//   a:   [k][tile_a_rows]                                 (k_count × 6 doubles)
//   b:   [k][re of the 16 columns, then im of the 16]     (k_count × 32 doubles)
//   sum: [r][re of the 16 columns, then im of the 16]     (6 × 32 doubles), added to in place, or with
//        `start` set, from 0 (what it held before is not read)
#pragma once

#include <cstdint>

namespace zeta_math {

constexpr int tile_a_rows = 6;
constexpr int tile_b_columns = 16;
constexpr int tile_b_stride = 2 * tile_b_columns;  // doubles of B per k
constexpr int tile_sum_size = tile_a_rows * tile_b_stride;

using Tile_Kernel = void (*)(const double* a, const double* b, int32_t k_count, double* sum, bool start);

enum class Kernel_Variant { Generic, Avx2, Avx512 };

// Whether this build has the variant and this processor (and its operating system) runs it.
bool kernel_variant_available(Kernel_Variant variant);

// The variant plots use: the fastest available one, unless the environment variable ZETA_KERNEL names
// another available one ("generic", "avx2", "avx512") or set_kernel_variant chose one.
Kernel_Variant kernel_variant();

// Makes plots use `variant` from now on (for tests and benchmarks); false, changing nothing, when it is not
// available.
bool set_kernel_variant(Kernel_Variant variant);

Tile_Kernel tile_kernel(Kernel_Variant variant);

const char* kernel_variant_name(Kernel_Variant variant);

}  // namespace zeta_math
