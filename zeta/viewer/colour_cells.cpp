#include "zeta/viewer/colour_cells.h"

#include <cmath>

#include "zeta/look/phase_colour.h"
#include "zeta/viewer/truncation.h"

namespace {

constexpr double colour_map_scale = 255.0;

inline std::uint32_t cell_pixel(double cell, double minimum, double range) {
    const double t = (cell - minimum) / range * colour_map_scale;
    return colour_channel(colour_map_scale - t) << 16 | colour_channel(t) << 8;
}

// Runs of a fixed length, which the compiler turns into vector code.
constexpr std::int32_t run = 64;

}  // namespace

// Where the system can choose code for the processor at load time, wider vector units are used when present;
// every variant computes the same values (no contraction into fused multiply-adds: see the library's flags).
// Not under a sanitizer: the resolver runs while the program is relocated, before the sanitizer's runtime is
// set up, and its instrumented code crashes there. Not with clang, whose clones of this function do not link.
#if defined(__x86_64__) && defined(__linux__) && !defined(__SANITIZE_THREAD__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__clang__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void colour_cells(const double* cells, std::int32_t count, double minimum, double range,
                  std::uint32_t* pixels) {
    std::int32_t k = 0;
    for (; k + run <= count; k += run) {
        for (std::int32_t c = 0; c < run; ++c)
            pixels[k + c] = cell_pixel(cells[k + c], minimum, range);
    }
    for (; k < count; ++k)
        pixels[k] = cell_pixel(cells[k], minimum, range);
}

void colour_phase_cells(const double* args, const double* moduli, std::int32_t count, std::uint32_t* pixels) {
    for (std::int32_t k = 0; k < count; ++k) {
        const double arg = args[k];
        const double modulus = moduli[k];
        // The portrait's hue comes from ζ's direction, its lightness from |ζ|.
        pixels[k] = block_pixel_of(phase_colour(modulus * std::cos(arg), modulus * std::sin(arg)));
    }
}
