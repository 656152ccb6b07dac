// Drawing primitives: FillRect, FrameRect, LineTo, SetPixel, GetPixel and GetClipBox.
#include <algorithm>
#include <tuple>
#include <utility>

#include "platform/gdi/dc.h"

namespace platform::gdi::detail {

void fill_device_rect(const Target& target, std::int64_t left, std::int64_t top, std::int64_t right,
                      std::int64_t bottom, std::uint32_t pixel) {
    left = std::max<std::int64_t>(left, target.clip_left);
    top = std::max<std::int64_t>(top, target.clip_top);
    right = std::min<std::int64_t>(right, target.clip_right);
    bottom = std::min<std::int64_t>(bottom, target.clip_bottom);
    if (left >= right || top >= bottom) return;
    pixel = target.stored(pixel);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::uint32_t* row = &target.at(left, y);
        std::fill(row, row + (right - left), pixel);
    }
}

namespace {

// Fills a logical rectangle; an empty or inverted one draws nothing.
void fill_logical(const Target& target, const RECT& r, std::uint32_t pixel) {
    if (r.left >= r.right || r.top >= r.bottom) return;
    fill_device_rect(target, r.left + target.origin_x, r.top + target.origin_y, r.right + target.origin_x,
                     r.bottom + target.origin_y, pixel);
}

// Whether a line's exact halves round toward its end point: for lines going up (but not steeply right) and
// for lines going steeply down-left, as Windows draws them.
bool halves_toward_end(std::int64_t dx, std::int64_t dy) {
    if (dy > 0) return dx <= 0 && -dx <= dy;
    return dx < 0 || dx > -dy;
}

// Draws the pixels of the line from (x0, y0) up to, not including, (x1, y1) in device coordinates.
// Bresenham: along the major axis one pixel per step; the minor offset of step i is i * minor / major rounded
// to nearest, halves toward the start point or the end point by the line's direction. Only the steps whose
// major coordinate lies in the clip are visited.
void draw_line(const Target& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
               std::uint32_t pixel) {
    pixel = target.stored(pixel);
    std::int64_t dx = x1 - x0;
    std::int64_t dy = y1 - y0;
    std::int64_t adx = dx < 0 ? -dx : dx;
    std::int64_t ady = dy < 0 ? -dy : dy;
    bool x_major = adx >= ady;
    std::int64_t major = x_major ? adx : ady;
    std::int64_t minor = x_major ? ady : adx;
    if (major == 0) return;
    std::int64_t major_start = x_major ? x0 : y0;
    std::int64_t major_sign = (x_major ? dx : dy) < 0 ? -1 : 1;
    std::int64_t minor_start = x_major ? y0 : x0;
    std::int64_t minor_sign = (x_major ? dy : dx) < 0 ? -1 : 1;
    std::int64_t clip_lo = x_major ? target.clip_left : target.clip_top;
    std::int64_t clip_hi = x_major ? target.clip_right : target.clip_bottom;  // exclusive
    // Steps i in [0, major) whose coordinate major_start + sign * i lies in [clip_lo, clip_hi).
    std::int64_t first, last;  // inclusive
    if (major_sign > 0) {
        first = clip_lo - major_start;
        last = clip_hi - 1 - major_start;
    } else {
        first = major_start - (clip_hi - 1);
        last = major_start - clip_lo;
    }
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, major - 1);
    const std::int64_t half = halves_toward_end(dx, dy) ? major : major - 1;
    for (std::int64_t i = first; i <= last; ++i) {
        // i and minor may each approach 2^33 (32-bit coordinates plus a 32-bit origin): 128-bit product.
        auto offset = static_cast<std::int64_t>((__int128{2} * i * minor + half) / (__int128{2} * major));
        std::int64_t a = major_start + major_sign * i;
        std::int64_t b = minor_start + minor_sign * offset;
        std::int64_t x = x_major ? a : b;
        std::int64_t y = x_major ? b : a;
        if (target.inside(x, y)) target.at(x, y) = pixel;
    }
}

}  // namespace
}  // namespace platform::gdi::detail

using namespace platform::gdi::detail;

int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    Lock lock(gdi_mutex());
    Target target;
    if (!rect || !resolve_target(to_handle(hdc), nullptr, &target, false)) return 0;
    Brush* b = paint_brush(brush);
    if (!b) return 0;
    if (b->null) return TRUE;
    // An inverted side is filled as a blit of negative extent: from the smaller coordinate plus one up to
    // and including the larger.
    std::int64_t left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;
    if (left > right) std::tie(left, right) = std::pair{right + 1, left + 1};
    if (top > bottom) std::tie(top, bottom) = std::pair{bottom + 1, top + 1};
    left += target.origin_x;
    right += target.origin_x;
    top += target.origin_y;
    bottom += target.origin_y;
    if (left < right && top < bottom) {
        // Pixels still unset need not be written where the fill sets them anyway.
        note_written(*target.bitmap, std::max<std::int64_t>(left, target.clip_left),
                     std::max<std::int64_t>(top, target.clip_top),
                     std::min<std::int64_t>(right, target.clip_right),
                     std::min<std::int64_t>(bottom, target.clip_bottom));
    }
    fill_device_rect(target, left, top, right, bottom, to_pixel(b->colour));
    return TRUE;
}

int WINAPI FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    Lock lock(gdi_mutex());
    Target target;
    if (!rect || !resolve_target(to_handle(hdc), nullptr, &target)) return 0;
    Brush* b = paint_brush(brush);
    if (!b) return 0;
    const RECT& r = *rect;
    if (r.right <= r.left || r.bottom <= r.top) return 0;
    if (b->null) return TRUE;
    std::uint32_t pixel = to_pixel(b->colour);
    fill_logical(target, RECT{r.left, r.top, r.right, r.top + 1}, pixel);
    fill_logical(target, RECT{r.left, r.bottom - 1, r.right, r.bottom}, pixel);
    fill_logical(target, RECT{r.left, r.top, r.left + 1, r.bottom}, pixel);
    fill_logical(target, RECT{r.right - 1, r.top, r.right, r.bottom}, pixel);
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    Lock lock(gdi_mutex());
    Dc* dc = nullptr;
    Target target;
    if (!resolve_target(to_handle(hdc), &dc, &target)) return FALSE;
    Pen* pen = held<Pen>(dc->pen);
    if (pen && !pen->null) {
        draw_line(target, dc->position.x + target.origin_x, dc->position.y + target.origin_y,
                  x + target.origin_x, y + target.origin_y, to_pixel(pen->colour));
    }
    dc->position = POINT{x, y};
    return TRUE;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF colour) {
    Lock lock(gdi_mutex());
    Target target;
    if (!resolve_target(to_handle(hdc), nullptr, &target)) return CLR_INVALID;
    std::int64_t dx = x + target.origin_x;
    std::int64_t dy = y + target.origin_y;
    if (!target.inside(dx, dy)) return CLR_INVALID;
    // The colour actually set: a monochrome bitmap takes the nearer of black and white.
    target.at(dx, dy) = target.stored(to_pixel(colour));
    return to_colorref(target.at(dx, dy));
}

// The clip rectangle in logical coordinates: the part of the bitmap (or window area) that drawing can reach.
int WINAPI GetClipBox(HDC hdc, LPRECT rect) {
    Lock lock(gdi_mutex());
    Target target;
    if (rect == nullptr || !resolve_target(to_handle(hdc), nullptr, &target, false)) return RGN_ERROR;
    const auto logical = [](std::int64_t device, std::int64_t origin) {
        return static_cast<LONG>(std::clamp<std::int64_t>(device - origin, INT32_MIN, INT32_MAX));
    };
    *rect = RECT{logical(target.clip_left, target.origin_x), logical(target.clip_top, target.origin_y),
                 logical(target.clip_right, target.origin_x), logical(target.clip_bottom, target.origin_y)};
    return target.clip_left < target.clip_right && target.clip_top < target.clip_bottom ? SIMPLEREGION
                                                                                        : NULLREGION;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    Lock lock(gdi_mutex());
    Target target;
    if (!resolve_target(to_handle(hdc), nullptr, &target)) return CLR_INVALID;
    std::int64_t dx = x + target.origin_x;
    std::int64_t dy = y + target.origin_y;
    if (!target.inside(dx, dy)) return CLR_INVALID;
    return to_colorref(target.at(dx, dy));
}
