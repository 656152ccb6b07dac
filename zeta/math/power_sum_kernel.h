// The loops of a plot that run over long panels, compiled for each instruction set (GCC vector extensions,
// power_sum_variants.h) and chosen at run time. Each entry gets the same operations in the same order in
// every variant, a multiplication and an addition never fused, so every variant gives the same bits.
//
// The cell sums are a product of two matrices: for each cell (r, j),
//   C[r][j] += Σ_k A[k][r] · B[k][j]
// with A real (a power n^-σ of column r) and B complex (n^-it of row j), over a panel of k. Each cell adds
// its products one at a time in increasing k and the SIMD lanes run across cells, so that no way of cutting
// the plot into tiles changes a value either. A tile is tile_a_rows rows of A against tile_b_columns columns
// of B:
//   a:   [k][tile_a_rows]                                 (k_count × 6 doubles)
//   b:   [k][re of the 16 columns, then im of the 16]     (k_count × 32 doubles)
//   sum: [r][re of the 16 columns, then im of the 16]     (6 × 32 doubles), added to in place, or with
//        `start` set, from 0 (what it held before is not read)
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeta_math {

constexpr int tile_a_rows = 6;
constexpr int tile_b_columns = 16;
constexpr int tile_b_stride = 2 * tile_b_columns;  // doubles of B per k
constexpr int tile_sum_size = tile_a_rows * tile_b_stride;

using Tile_Kernel = void (*)(const double* a, const double* b, int32_t k_count, double* sum, bool start);

struct Plot_Kernels {
    Tile_Kernel tile_sums;
    // z = re + i·im becomes z·(step_re + i·step_im), brought back to modulus 1 by z·(3 − |z|²)/2.
    void (*advance_phases)(double* re, double* im, const double* step_re, const double* step_im,
                           size_t count);
    // minus ·= down, reflected ·= up; and unless excess is 0, then minus −= minus · (excess · log),
    // reflected += reflected · (excess · log).
    void (*step_powers)(double* minus, double* reflected, const double* down, const double* up,
                        const double* logs, double excess, size_t count);
};

enum class Kernel_Variant { Generic, Avx2, Avx512 };

// Whether this build has the variant and this processor (and its operating system) runs it.
bool kernel_variant_available(Kernel_Variant variant);

// The variant plots use: the fastest available one, unless the environment variable ZETA_KERNEL names
// another available one ("generic", "avx2", "avx512") or set_kernel_variant chose one.
Kernel_Variant kernel_variant();

// Makes plots use `variant` from now on (for tests and benchmarks); false, changing nothing, when it is not
// available.
bool set_kernel_variant(Kernel_Variant variant);

const Plot_Kernels& plot_kernels(Kernel_Variant variant);

const char* kernel_variant_name(Kernel_Variant variant);

}  // namespace zeta_math
