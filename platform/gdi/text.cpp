// Text: DrawTextA, DrawTextW, TextOutA, GetTextExtentPoint32A. Bytes are Latin-1 code points and wide text
// is UTF-16; each line is 16 pixels high; glyphs are blended with the text colour over what is below; in
// OPAQUE mode each drawn line's own extent (its width x 16) is filled with the background colour first.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"

namespace platform::gdi::detail {
namespace {

struct Line {
    std::u32string text;            // what is shown (prefix characters removed)
    std::ptrdiff_t underline = -1;  // index in `text` of the character after a single '&', or -1
    std::int64_t width = 0;
};

std::uint32_t blend(std::uint32_t below, std::uint32_t colour, unsigned alpha) {
    if (alpha == 255) return colour;
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned b = (below >> shift) & 0xFF;
        unsigned c = (colour >> shift) & 0xFF;
        out |= ((c * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

// Draws one line with its top-left corner at device (x, y); `target` carries the clip.
void draw_line_text(const Target& target, const Dc& dc, std::int64_t x, std::int64_t y, const Line& line) {
    if (dc.bk_mode == OPAQUE && line.width > 0) {
        fill_device_rect(target, x, y, x + line.width, y + line_height, to_pixel(dc.bk_colour));
    }
    if (y >= target.clip_bottom || y + line_height <= target.clip_top) return;
    const std::uint32_t colour = to_pixel(dc.text_colour);
    const std::int64_t base = y + baseline();
    std::int64_t pen = x;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
        if (pen >= target.clip_right) break;
        const Glyph& g = glyph(line.text[i]);
        if (pen + g.left + g.width > target.clip_left) {
            for (int row = 0; row < g.rows; ++row) {
                std::int64_t py = base - g.top + row;
                if (py < target.clip_top || py >= target.clip_bottom) continue;
                for (int col = 0; col < g.width; ++col) {
                    unsigned alpha = g.coverage[static_cast<std::size_t>(row) * g.width + col];
                    std::int64_t px = pen + g.left + col;
                    if (alpha == 0 || px < target.clip_left || px >= target.clip_right) continue;
                    std::uint32_t& p = target.at(px, py);
                    p = target.stored(blend(p, colour, alpha));
                }
            }
        }
        if (static_cast<std::ptrdiff_t>(i) == line.underline) {
            fill_device_rect(target, pen, base + 1, pen + g.advance, base + 2, colour);
        }
        pen += g.advance;
    }
}

// Narrows a target's clip to a device rectangle.
Target clipped(Target target, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    target.clip_left = static_cast<int>(std::clamp<std::int64_t>(left, target.clip_left, target.clip_right));
    target.clip_right =
        static_cast<int>(std::clamp<std::int64_t>(right, target.clip_left, target.clip_right));
    target.clip_top = static_cast<int>(std::clamp<std::int64_t>(top, target.clip_top, target.clip_bottom));
    target.clip_bottom =
        static_cast<int>(std::clamp<std::int64_t>(bottom, target.clip_top, target.clip_bottom));
    return target;
}

// Splits text into lines at CR, LF and CRLF (or keeps one line) and removes '&' prefixes unless told not to.
std::vector<Line> split_lines(const char32_t* text, std::size_t count, bool single_line, bool prefixes) {
    std::vector<Line> lines;
    Line current;
    for (std::size_t i = 0; i < count; ++i) {
        char32_t c = text[i];
        if (!single_line && (c == '\r' || c == '\n')) {
            if (c == '\r' && i + 1 < count && text[i + 1] == '\n') ++i;
            lines.push_back(std::move(current));
            current = Line{};
            continue;
        }
        if (prefixes && c == '&') {
            if (i + 1 < count && text[i + 1] == '&') {
                current.text.push_back('&');
                ++i;
                continue;
            }
            if (current.underline < 0 && i + 1 < count && text[i + 1] != '\r' && text[i + 1] != '\n') {
                current.underline = static_cast<std::ptrdiff_t>(current.text.size());
            }
            continue;
        }
        current.text.push_back(c);
    }
    // A final line break ends the last line; it does not start an empty one.
    if (!current.text.empty() || lines.empty() || !(text[count - 1] == '\r' || text[count - 1] == '\n')) {
        lines.push_back(std::move(current));
    }
    for (Line& line : lines)
        line.width = text_width(line.text.data(), line.text.size());
    return lines;
}

bool valid_text(const char* text, int count) {
    return count >= 0 && (text || count == 0);
}

std::u32string from_latin1(const char* text, std::size_t count) {
    std::u32string code_points(count, U'\0');
    for (std::size_t i = 0; i < count; ++i)
        code_points[i] = static_cast<unsigned char>(text[i]);
    return code_points;
}

// A lone surrogate stands for itself, as the font then shows it: a missing glyph.
std::u32string from_utf16(const WCHAR* text, std::size_t count) {
    std::u32string code_points;
    for (std::size_t i = 0; i < count; ++i) {
        char32_t unit = static_cast<char16_t>(text[i]);
        const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < count &&
                          static_cast<char16_t>(text[i + 1]) >= 0xDC00 &&
                          static_cast<char16_t>(text[i + 1]) < 0xE000;
        if (pair) unit = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00);
        code_points.push_back(unit);
    }
    return code_points;
}

int draw_text(HDC hdc, const std::u32string& text, LPRECT rect, UINT format);

}  // namespace
}  // namespace platform::gdi::detail

using namespace platform::gdi::detail;

// Any negative count stands for a null-terminated text, as -1 does. A count of 0 does nothing and gives 0,
// while an empty null-terminated text has the height of one line.
int WINAPI DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
    if (!text || !rect || count == 0) return 0;
    std::size_t length = count < 0 ? std::strlen(text) : static_cast<std::size_t>(count);
    return draw_text(hdc, from_latin1(text, length), rect, format);
}

int WINAPI DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    if (!text || !rect || count < -1) return 0;
    std::size_t length = 0;
    if (count >= 0) {
        length = static_cast<std::size_t>(count);
    } else {
        while (text[length] != 0)
            ++length;
    }
    return draw_text(hdc, from_utf16(text, length), rect, format);
}

namespace platform::gdi::detail {
namespace {

int draw_text(HDC hdc, const std::u32string& text, LPRECT rect, UINT format) {
    const std::size_t length = text.size();
    platform::gdi::require_font();
    Lock lock(gdi_mutex());
    Dc* dc = nullptr;
    Target target;
    bool calc = (format & DT_CALCRECT) != 0;
    if (!get<Dc>(hdc)) return 0;
    if (!calc && !resolve_target(to_handle(hdc), &dc, &target)) return 0;
    if (length == 0) {
        // Win32 gives an empty text the height of one line and draws nothing.
        if (calc) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return line_height;
    }
    bool single = (format & DT_SINGLELINE) != 0;
    std::vector<Line> lines = split_lines(text.data(), length, single, (format & DT_NOPREFIX) == 0);

    const std::int64_t box_left = rect->left, box_top = rect->top, box_right = rect->right,
                       box_bottom = rect->bottom;
    std::int64_t y = box_top;
    if (single && (format & DT_VCENTER)) {
        y = box_top + (box_bottom - box_top) / 2 - line_height / 2;
    } else if (single && (format & DT_BOTTOM)) {
        y = box_bottom - line_height;
    }
    const std::int64_t first_y = y;
    std::int64_t max_width = 0;
    for (const Line& line : lines)
        max_width = std::max(max_width, line.width);
    const std::int64_t end_y = first_y + static_cast<std::int64_t>(lines.size()) * line_height;

    if (calc) {
        rect->right = static_cast<LONG>(std::min<std::int64_t>(box_left + max_width, INT32_MAX));
        rect->bottom = static_cast<LONG>(std::min<std::int64_t>(end_y, INT32_MAX));
        return static_cast<int>(std::min<std::int64_t>(end_y - box_top, INT32_MAX));
    }

    Target area = target;
    if (!(format & DT_NOCLIP)) {
        area = clipped(target, box_left + target.origin_x, box_top + target.origin_y,
                       box_right + target.origin_x, box_bottom + target.origin_y);
    }
    // Lines are laid out until one reaches past the box's bottom: that one is the last drawn and counted.
    std::int64_t drawn_end = y;
    for (const Line& line : lines) {
        std::int64_t x = box_left;
        if (format & DT_CENTER) {
            x = (box_left + box_right - line.width) / 2;
        } else if (format & DT_RIGHT) {
            x = box_right - line.width;
        }
        std::int64_t device_y = y + target.origin_y;
        if (device_y < area.clip_bottom && device_y + line_height > area.clip_top) {
            draw_line_text(area, *dc, x + target.origin_x, device_y, line);
        }
        y += line_height;
        drawn_end = y;
        if (!(format & DT_NOCLIP) && y > box_bottom) break;
    }
    return static_cast<int>(std::min<std::int64_t>(drawn_end - box_top, INT32_MAX));
}

}  // namespace
}  // namespace platform::gdi::detail

// A missing text draws nothing and succeeds, whatever its count; a negative count fails.
BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
    if (count < 0) return FALSE;
    if (!text) count = 0;
    platform::gdi::require_font();
    Lock lock(gdi_mutex());
    Dc* dc = nullptr;
    Target target;
    if (!resolve_target(to_handle(hdc), &dc, &target)) return FALSE;
    Line line;
    line.text = from_latin1(text, static_cast<std::size_t>(count));
    line.width = text_width(line.text.data(), line.text.size());
    draw_line_text(target, *dc, x + target.origin_x, y + target.origin_y, line);
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
    if (!valid_text(text, count) || !size) return FALSE;
    platform::gdi::require_font();
    Lock lock(gdi_mutex());
    if (!get<Dc>(hdc)) return FALSE;
    const std::u32string code_points = from_latin1(text, static_cast<std::size_t>(count));
    size->cx = static_cast<LONG>(
        std::min<std::int64_t>(text_width(code_points.data(), code_points.size()), INT32_MAX));
    size->cy = line_height;
    return TRUE;
}
