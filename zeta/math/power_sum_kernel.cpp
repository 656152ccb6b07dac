#include "zeta/math/power_sum_kernel.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "zeta/math/power_sum_variants.h"

namespace zeta_math {

#ifdef ZETA_KERNEL_VARIANTS
// In power_sum_kernel_avx2.cpp and power_sum_kernel_avx512.cpp, built only for x86-64.
extern const Plot_Kernels plot_kernels_avx2;
extern const Plot_Kernels plot_kernels_avx512;
#endif

namespace {

// SSE2 on x86, two lanes wherever GCC vector extensions compile.
constexpr Plot_Kernels plot_kernels_generic = plot_kernels_of<2, 1>();

constexpr Kernel_Variant fastest_first[] = {Kernel_Variant::Avx512, Kernel_Variant::Avx2,
                                            Kernel_Variant::Generic};

Kernel_Variant initial_variant() {
    if (const char* name = std::getenv("ZETA_KERNEL")) {
        for (const Kernel_Variant variant : fastest_first) {
            if (std::strcmp(name, kernel_variant_name(variant)) == 0 && kernel_variant_available(variant))
                return variant;
        }
    }
    for (const Kernel_Variant variant : fastest_first) {
        if (kernel_variant_available(variant)) return variant;
    }
    return Kernel_Variant::Generic;
}

std::atomic<int> chosen_variant{-1};

}  // namespace

bool kernel_variant_available(Kernel_Variant variant) {
#ifdef ZETA_KERNEL_VARIANTS
    __builtin_cpu_init();
    if (variant == Kernel_Variant::Avx2) return __builtin_cpu_supports("avx2");
    if (variant == Kernel_Variant::Avx512) return __builtin_cpu_supports("avx512f");
#endif
    return variant == Kernel_Variant::Generic;
}

Kernel_Variant kernel_variant() {
    int variant = chosen_variant.load(std::memory_order_relaxed);
    if (variant < 0) {
        int unset = -1;
        chosen_variant.compare_exchange_strong(unset, static_cast<int>(initial_variant()));
        variant = chosen_variant.load(std::memory_order_relaxed);
    }
    return static_cast<Kernel_Variant>(variant);
}

bool set_kernel_variant(Kernel_Variant variant) {
    if (!kernel_variant_available(variant)) return false;
    chosen_variant.store(static_cast<int>(variant), std::memory_order_relaxed);
    return true;
}

const Plot_Kernels& plot_kernels(Kernel_Variant variant) {
#ifdef ZETA_KERNEL_VARIANTS
    if (variant == Kernel_Variant::Avx2) return plot_kernels_avx2;
    if (variant == Kernel_Variant::Avx512) return plot_kernels_avx512;
#endif
    (void)variant;
    return plot_kernels_generic;
}

const char* kernel_variant_name(Kernel_Variant variant) {
    switch (variant) {
        case Kernel_Variant::Avx2:
            return "avx2";
        case Kernel_Variant::Avx512:
            return "avx512";
        case Kernel_Variant::Generic:
            break;
    }
    return "generic";
}

}  // namespace zeta_math
