// The body of the tile kernel (zeta/math/power_sum_kernel.h), written once with GCC vector extensions and
// compiled for each instruction set in a translation unit of its own.
#pragma once

#include <cstdint>
#include <cstring>

#include "zeta/math/power_sum_kernel.h"

namespace zeta_math {

template <int lanes>
struct Lane_Vector {
    typedef double type __attribute__((vector_size(lanes * sizeof(double))));
};

// `vectors` vectors of `lanes` doubles per row of sums: 2 · 6 · vectors accumulators stay in registers while
// the loop runs over k, so the tile's 16 columns are done in 16 / (lanes · vectors) passes.
template <int lanes, int vectors>
inline void tile_sums(const double* a, const double* b, int32_t k_count, double* sum, bool start) {
    using Vector = typename Lane_Vector<lanes>::type;
    constexpr int rows = tile_a_rows;
    constexpr int width = lanes * vectors;
    static_assert(tile_b_columns % width == 0);
    for (int first = 0; first < tile_b_columns; first += width) {
        Vector re[rows][vectors] = {};
        Vector im[rows][vectors] = {};
        if (!start) {
#pragma GCC unroll 8
            for (int r = 0; r < rows; ++r) {
#pragma GCC unroll 8
                for (int v = 0; v < vectors; ++v) {
                    std::memcpy(&re[r][v], sum + r * tile_b_stride + first + v * lanes, sizeof(Vector));
                    std::memcpy(&im[r][v], sum + r * tile_b_stride + tile_b_columns + first + v * lanes,
                                sizeof(Vector));
                }
            }
        }
        for (int32_t k = 0; k < k_count; ++k) {
            const double* b_row = b + static_cast<int64_t>(k) * tile_b_stride;
            Vector b_re[vectors];
            Vector b_im[vectors];
#pragma GCC unroll 8
            for (int v = 0; v < vectors; ++v) {
                std::memcpy(&b_re[v], b_row + first + v * lanes, sizeof(Vector));
                std::memcpy(&b_im[v], b_row + tile_b_columns + first + v * lanes, sizeof(Vector));
            }
            const double* a_row = a + static_cast<int64_t>(k) * rows;
#pragma GCC unroll 8
            for (int r = 0; r < rows; ++r) {
                const double factor = a_row[r];
#pragma GCC unroll 8
                for (int v = 0; v < vectors; ++v) {
                    re[r][v] += factor * b_re[v];
                    im[r][v] += factor * b_im[v];
                }
            }
        }
#pragma GCC unroll 8
        for (int r = 0; r < rows; ++r) {
#pragma GCC unroll 8
            for (int v = 0; v < vectors; ++v) {
                std::memcpy(sum + r * tile_b_stride + first + v * lanes, &re[r][v], sizeof(Vector));
                std::memcpy(sum + r * tile_b_stride + tile_b_columns + first + v * lanes, &im[r][v],
                            sizeof(Vector));
            }
        }
    }
}

}  // namespace zeta_math
