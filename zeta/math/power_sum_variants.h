// The bodies of the plot kernels (zeta/math/power_sum_kernel.h), written once with GCC vector extensions and
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

template <int lanes>
inline void advance_phases(double* re, double* im, const double* step_re, const double* step_im,
                           size_t count) {
    using Vector = typename Lane_Vector<lanes>::type;
    size_t k = 0;
    for (; k + lanes <= count; k += lanes) {
        Vector z_re;
        Vector z_im;
        Vector s_re;
        Vector s_im;
        std::memcpy(&z_re, re + k, sizeof(Vector));
        std::memcpy(&z_im, im + k, sizeof(Vector));
        std::memcpy(&s_re, step_re + k, sizeof(Vector));
        std::memcpy(&s_im, step_im + k, sizeof(Vector));
        const Vector next_re = z_re * s_re - z_im * s_im;
        const Vector next_im = z_re * s_im + z_im * s_re;
        const Vector correction = 1.5 - 0.5 * (next_re * next_re + next_im * next_im);
        const Vector new_re = next_re * correction;
        const Vector new_im = next_im * correction;
        std::memcpy(re + k, &new_re, sizeof(Vector));
        std::memcpy(im + k, &new_im, sizeof(Vector));
    }
    for (; k < count; ++k) {
        const double next_re = re[k] * step_re[k] - im[k] * step_im[k];
        const double next_im = re[k] * step_im[k] + im[k] * step_re[k];
        const double correction = 1.5 - 0.5 * (next_re * next_re + next_im * next_im);
        re[k] = next_re * correction;
        im[k] = next_im * correction;
    }
}

template <int lanes>
inline void step_powers(double* minus, double* reflected, const double* down, const double* up,
                        const double* logs, double excess, size_t count) {
    using Vector = typename Lane_Vector<lanes>::type;
    size_t k = 0;
    if (excess == 0.0) {
        for (; k + lanes <= count; k += lanes) {
            Vector m;
            Vector r;
            Vector d;
            Vector u;
            std::memcpy(&m, minus + k, sizeof(Vector));
            std::memcpy(&r, reflected + k, sizeof(Vector));
            std::memcpy(&d, down + k, sizeof(Vector));
            std::memcpy(&u, up + k, sizeof(Vector));
            m *= d;
            r *= u;
            std::memcpy(minus + k, &m, sizeof(Vector));
            std::memcpy(reflected + k, &r, sizeof(Vector));
        }
        for (; k < count; ++k) {
            minus[k] *= down[k];
            reflected[k] *= up[k];
        }
        return;
    }
    for (; k + lanes <= count; k += lanes) {
        Vector m;
        Vector r;
        Vector d;
        Vector u;
        Vector l;
        std::memcpy(&m, minus + k, sizeof(Vector));
        std::memcpy(&r, reflected + k, sizeof(Vector));
        std::memcpy(&d, down + k, sizeof(Vector));
        std::memcpy(&u, up + k, sizeof(Vector));
        std::memcpy(&l, logs + k, sizeof(Vector));
        const Vector change = excess * l;
        m *= d;
        r *= u;
        m = m - m * change;
        r = r + r * change;
        std::memcpy(minus + k, &m, sizeof(Vector));
        std::memcpy(reflected + k, &r, sizeof(Vector));
    }
    for (; k < count; ++k) {
        const double change = excess * logs[k];
        const double m = minus[k] * down[k];
        const double r = reflected[k] * up[k];
        minus[k] = m - m * change;
        reflected[k] = r + r * change;
    }
}

// The kernels of one instruction set.
template <int lanes, int tile_vectors>
constexpr Plot_Kernels plot_kernels_of() {
    return {tile_sums<lanes, tile_vectors>, advance_phases<lanes>, step_powers<lanes>};
}

}  // namespace zeta_math
