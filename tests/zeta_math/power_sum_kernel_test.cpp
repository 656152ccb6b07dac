// The tile kernel: every variant this processor runs against plain sums in the same order, bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "zeta/math/power_sum_kernel.h"

namespace {

using zeta_math::Kernel_Variant;

constexpr Kernel_Variant every_variant[] = {Kernel_Variant::Generic, Kernel_Variant::Avx2,
                                            Kernel_Variant::Avx512};

std::vector<double> random_numbers(size_t count, std::mt19937_64& random) {
    // Magnitudes far apart, so that any other order or a fused multiply-add would change the rounding.
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::vector<double> numbers(count);
    for (double& x : numbers)
        x = std::ldexp(mantissa(random), exponent(random));
    return numbers;
}

}  // namespace

TEST(PowerSumKernel, EveryVariantAddsTheProductsOneByOneInIncreasingK) {
    using zeta_math::tile_a_rows;
    using zeta_math::tile_b_stride;
    std::mt19937_64 random(3);
    constexpr int32_t k_count = 37;
    const std::vector<double> a = random_numbers(k_count * tile_a_rows, random);
    const std::vector<double> b = random_numbers(k_count * tile_b_stride, random);
    const std::vector<double> before = random_numbers(zeta_math::tile_sum_size, random);
    for (const bool start : {false, true}) {
        std::vector<double> expected(before);
        for (int r = 0; r < tile_a_rows; ++r) {
            for (int j = 0; j < tile_b_stride; ++j) {
                double sum = start ? 0.0 : before[static_cast<size_t>(r * tile_b_stride + j)];
                for (int32_t k = 0; k < k_count; ++k) {
                    const double product = a[static_cast<size_t>(k * tile_a_rows + r)] *
                                           b[static_cast<size_t>(k * tile_b_stride + j)];
                    sum += product;
                }
                expected[static_cast<size_t>(r * tile_b_stride + j)] = sum;
            }
        }
        for (const Kernel_Variant variant : every_variant) {
            if (!zeta_math::kernel_variant_available(variant)) continue;
            SCOPED_TRACE(zeta_math::kernel_variant_name(variant));
            std::vector<double> sums(before);
            zeta_math::plot_kernels(variant).tile_sums(a.data(), b.data(), k_count, sums.data(), start);
            EXPECT_EQ(std::memcmp(sums.data(), expected.data(), sums.size() * sizeof(double)), 0)
                << (start ? "from 0" : "added to the sums");
        }
    }
}

TEST(PowerSumKernel, PlotsUseTheVariantChosenForThem) {
    const Kernel_Variant initial = zeta_math::kernel_variant();
    EXPECT_TRUE(zeta_math::kernel_variant_available(initial));
    EXPECT_TRUE(zeta_math::kernel_variant_available(Kernel_Variant::Generic));
    for (const Kernel_Variant variant : every_variant) {
        const bool available = zeta_math::kernel_variant_available(variant);
        EXPECT_EQ(zeta_math::set_kernel_variant(variant), available);
        if (available) {
            EXPECT_EQ(zeta_math::kernel_variant(), variant);
        }
    }
    zeta_math::set_kernel_variant(initial);
}
