// BitBlt with every ternary raster operation: each result bit is the operation's truth table applied to the
// pattern (the destination DC's brush), the source and the destination bit. The block is clipped against the
// source's and the destination's drawable areas at once (a pixel is drawn only when both its source and its
// destination lie inside); overlapping blocks within one bitmap behave as if the source were read completely
// before writing. Between monochrome and colour bitmaps colours convert as in Win32: a colour source pixel
// equal to the source DC's background colour becomes white, any other black; a monochrome source gives the
// destination DC's text colour for black and its background colour for white.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/dc.h"

using namespace platform::gdi::detail;

namespace {

struct Block {
    std::int64_t dx, dy, sx, sy, w, h;
};

bool uses_source(std::uint32_t operation) {
    return ((operation >> 2) ^ operation) & 0x33u;
}
bool uses_pattern(std::uint32_t operation) {
    return ((operation >> 4) ^ operation) & 0x0Fu;
}

// The operation's truth table (bit index 4·P + 2·S + D) applied to every bit of 24-bit pixels.
std::uint32_t apply(std::uint32_t operation, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    std::uint32_t result = 0;
    for (unsigned index = 0; index < 8; ++index) {
        if ((operation & (1u << index)) == 0) continue;
        std::uint32_t bits = ((index & 4) ? p : ~p) & ((index & 2) ? s : ~s) & ((index & 1) ? d : ~d);
        result |= bits;
    }
    return result & 0x00FFFFFFu;
}

// Clips the block so that both of its ends lie inside their areas; false when nothing is left.
bool clip_block(Block& b, const Target& to, const Target* from) {
    if (b.w < 0) {
        b.dx += b.w;
        b.sx += b.w;
        b.w = -b.w;
    }
    if (b.h < 0) {
        b.dy += b.h;
        b.sy += b.h;
        b.h = -b.h;
    }
    std::int64_t cut_left = std::max<std::int64_t>(0, to.clip_left - b.dx);
    std::int64_t cut_top = std::max<std::int64_t>(0, to.clip_top - b.dy);
    std::int64_t cut_right = std::max<std::int64_t>(0, b.dx + b.w - to.clip_right);
    std::int64_t cut_bottom = std::max<std::int64_t>(0, b.dy + b.h - to.clip_bottom);
    if (from != nullptr) {
        cut_left = std::max<std::int64_t>(cut_left, from->clip_left - b.sx);
        cut_top = std::max<std::int64_t>(cut_top, from->clip_top - b.sy);
        cut_right = std::max<std::int64_t>(cut_right, b.sx + b.w - from->clip_right);
        cut_bottom = std::max<std::int64_t>(cut_bottom, b.sy + b.h - from->clip_bottom);
    }
    b.dx += cut_left;
    b.sx += cut_left;
    b.dy += cut_top;
    b.sy += cut_top;
    b.w -= cut_left + cut_right;
    b.h -= cut_top + cut_bottom;
    return b.w > 0 && b.h > 0;
}

void copy_rows(const Target& to, const Target& from, const Block& b) {
    const auto row_bytes = static_cast<std::size_t>(b.w) * sizeof(std::uint32_t);
    if (to.bitmap != from.bitmap) {
        for (std::int64_t row = 0; row < b.h; ++row)
            std::memcpy(&to.at(b.dx, b.dy + row), &from.at(b.sx, b.sy + row), row_bytes);
        return;
    }
    // Same bitmap: rows in the direction that never overwrites a row still to be read; memmove within a row.
    if (b.dy <= b.sy) {
        for (std::int64_t row = 0; row < b.h; ++row)
            std::memmove(&to.at(b.dx, b.dy + row), &from.at(b.sx, b.sy + row), row_bytes);
    } else {
        for (std::int64_t row = b.h - 1; row >= 0; --row)
            std::memmove(&to.at(b.dx, b.dy + row), &from.at(b.sx, b.sy + row), row_bytes);
    }
}

// The source block as the destination sees it, converted between monochrome and colour where they differ.
std::vector<std::uint32_t> read_source(const Target& to, const Dc& to_dc, const Target& from,
                                       const Dc& from_dc, const Block& b) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(b.w) * static_cast<std::size_t>(b.h));
    const std::uint32_t from_background = to_pixel(from_dc.bk_colour);
    const std::uint32_t on_black = to_pixel(to_dc.text_colour);
    const std::uint32_t on_white = to_pixel(to_dc.bk_colour);
    std::size_t i = 0;
    for (std::int64_t row = 0; row < b.h; ++row) {
        for (std::int64_t col = 0; col < b.w; ++col) {
            std::uint32_t s = from.at(b.sx + col, b.sy + row);
            if (to.monochrome && !from.monochrome) {
                s = s == from_background ? 0x00FFFFFFu : 0u;
            } else if (from.monochrome && !to.monochrome) {
                s = s != 0 ? on_white : on_black;
            }
            pixels[i++] = s;
        }
    }
    return pixels;
}

}  // namespace

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int source_x, int source_y,
                   DWORD rop) {
    Lock lock(gdi_mutex());
    const std::uint32_t operation = (rop >> 16) & 0xFFu;
    const bool with_source = uses_source(operation);
    Dc* to_dc = nullptr;
    Dc* from_dc = nullptr;
    Target to, from;
    if (!resolve_target(to_handle(dest), &to_dc, &to)) return FALSE;
    if (with_source && !resolve_target(to_handle(source), &from_dc, &from)) return FALSE;
    std::uint32_t pattern = 0;
    if (uses_pattern(operation)) {
        Brush* brush = held<Brush>(to_dc->brush);
        if (brush == nullptr || brush->null) return TRUE;  // a null brush paints nothing
        pattern = to.stored(to_pixel(brush->colour));
    }
    // Device coordinates of both corners; a negative extent names the same block from its other side.
    Block b{x + to.origin_x,          y + to.origin_y, source_x + from.origin_x,
            source_y + from.origin_y, width,           height};
    if (!clip_block(b, to, with_source ? &from : nullptr)) return TRUE;

    if (operation == 0xCC && to.monochrome == from.monochrome) {
        copy_rows(to, from, b);
        return TRUE;
    }
    std::vector<std::uint32_t> block;
    if (with_source) block = read_source(to, *to_dc, from, *from_dc, b);
    std::size_t i = 0;
    for (std::int64_t row = 0; row < b.h; ++row) {
        for (std::int64_t col = 0; col < b.w; ++col, ++i) {
            std::uint32_t& d = to.at(b.dx + col, b.dy + row);
            d = to.stored(apply(operation, pattern, with_source ? block[i] : 0, d));
        }
    }
    return TRUE;
}
