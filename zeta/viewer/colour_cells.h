// The colour map's arithmetic for a run of cells at once.
#pragma once

#include <cstdint>

// Pixels 0x00RRGGBB of `count` cells: t = (v − minimum) / range × 255, red trunc(255 − t) and green
// trunc(t), each the low 8 bits of the 32-bit truncation, and 0 where the truncation has no 32-bit value
// (NaN, an infinity, out of range): colour_channel of each, in double precision throughout.
void colour_cells(const double* cells, std::int32_t count, double minimum, double range,
                  std::uint32_t* pixels);

// Pixels 0x00RRGGBB of `count` cells of a phase portrait: arg ζ in `args`, |ζ| in `moduli` (see
// zeta/look/phase_colour.h); a NaN cell is black.
void colour_phase_cells(const double* args, const double* moduli, std::int32_t count, std::uint32_t* pixels);

// A COLORREF (0x00BBGGRR) as a block pixel (0x00RRGGBB).
inline std::uint32_t block_pixel_of(std::uint32_t colour) {
    return (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);
}
