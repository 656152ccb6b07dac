// The layer's one font: a sans-serif face found through fontconfig, rendered by FreeType with grayscale
// anti-aliasing. Every line of text is 16 pixels high with the baseline at a fixed row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::gdi {

// Loads the font now if it is not loaded yet; false when no usable font exists (platform::load_font says
// why). Safe from any thread; the first text call does it.
bool require_font();

namespace detail {

constexpr int line_height = 16;

struct Glyph {
    int left = 0;  // from the pen position to the bitmap's first column
    int top = 0;   // from the baseline up to the bitmap's first row
    int width = 0;
    int rows = 0;
    int advance = 0;                     // whole pixels
    std::vector<std::uint8_t> coverage;  // rows x width, 0..255
};

// Row of the baseline within a 16-pixel line, counted from the line's top.
int baseline();
// The glyph of a Unicode code point (cached); bytes of the A functions are Latin-1, so their code point is
// their value. Caller holds the GDI lock and has called require_font().
const Glyph& glyph(char32_t code_point);
// Sum of the advances of the code points.
std::int64_t text_width(const char32_t* text, std::size_t count);

}  // namespace detail
}  // namespace platform::gdi
