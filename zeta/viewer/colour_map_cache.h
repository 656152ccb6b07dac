// The colours of every cell of a finished grid, kept between paints of the plot: while the user drags the
// plot, or when the window is repainted without a new calculation, the map is copied from here instead of
// being coloured again. Used on the UI thread only.
#pragma once

#include <bit>
#include <cstdint>
#include <memory>

#include "zeta/plot/value_grid.h"
#include "zeta/viewer/pixel_block.h"

struct Colour_Map_Cache {
    // One pixel per cell, cell [x][y] at column x, row y up from the bottom; null when nothing is kept.
    std::unique_ptr<Pixel_Block> pixels;
    std::uint64_t generation = 0;
    Value_Range range;

    // Whether the kept colours are those of the grid's cells in this generation with this range (compared
    // bit for bit).
    bool holds(std::uint64_t grid_generation, const Value_Range& grid_range) const {
        return pixels != nullptr && generation == grid_generation &&
               std::bit_cast<std::uint64_t>(range.minimum) ==
                   std::bit_cast<std::uint64_t>(grid_range.minimum) &&
               std::bit_cast<std::uint64_t>(range.maximum) ==
                   std::bit_cast<std::uint64_t>(grid_range.maximum);
    }
};
