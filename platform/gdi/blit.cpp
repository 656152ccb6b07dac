// BitBlt with SRCCOPY: the block is clipped against the source's and the destination's drawable areas at
// once (a pixel is copied only when both its source and its destination lie inside); overlapping copies
// within one bitmap behave as if the source were read completely before writing.
#include <algorithm>
#include <cstring>

#include "platform/gdi/dc.h"

using namespace platform::gdi::detail;

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int source_x, int source_y,
                   DWORD rop) {
    Lock lock(gdi_mutex());
    if (rop != SRCCOPY) return FALSE;
    Target to, from;
    if (!resolve_target(to_handle(dest), nullptr, &to) ||
        !resolve_target(to_handle(source), nullptr, &from)) {
        return FALSE;
    }
    // Device coordinates of both corners; a negative extent names the same block from its other side.
    std::int64_t dx = x + to.origin_x, dy = y + to.origin_y;
    std::int64_t sx = source_x + from.origin_x, sy = source_y + from.origin_y;
    std::int64_t w = width, h = height;
    if (w < 0) {
        dx += w;
        sx += w;
        w = -w;
    }
    if (h < 0) {
        dy += h;
        sy += h;
        h = -h;
    }
    // Clip: shrink the block from each side until both ends are inside their areas.
    std::int64_t cut_left = std::max<std::int64_t>({0, to.clip_left - dx, from.clip_left - sx});
    std::int64_t cut_top = std::max<std::int64_t>({0, to.clip_top - dy, from.clip_top - sy});
    std::int64_t cut_right = std::max<std::int64_t>({0, dx + w - to.clip_right, sx + w - from.clip_right});
    std::int64_t cut_bottom = std::max<std::int64_t>({0, dy + h - to.clip_bottom, sy + h - from.clip_bottom});
    dx += cut_left;
    sx += cut_left;
    dy += cut_top;
    sy += cut_top;
    w -= cut_left + cut_right;
    h -= cut_top + cut_bottom;
    if (w <= 0 || h <= 0) return TRUE;

    const auto row_bytes = static_cast<std::size_t>(w) * sizeof(std::uint32_t);
    if (to.bitmap != from.bitmap) {
        for (std::int64_t row = 0; row < h; ++row)
            std::memcpy(&to.at(dx, dy + row), &from.at(sx, sy + row), row_bytes);
        return TRUE;
    }
    // Same bitmap: rows in the direction that never overwrites a row still to be read; memmove within a row.
    if (dy <= sy) {
        for (std::int64_t row = 0; row < h; ++row)
            std::memmove(&to.at(dx, dy + row), &from.at(sx, sy + row), row_bytes);
    } else {
        for (std::int64_t row = h - 1; row >= 0; --row) {
            std::memmove(&to.at(dx, dy + row), &from.at(sx, sy + row), row_bytes);
        }
    }
    return TRUE;
}
