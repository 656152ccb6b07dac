#include "zeta/viewer/readout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "zeta/plot/plot_geometry.h"

namespace {

constexpr COLORREF readout_background = 0x00FF0000;  // the status line's text background
constexpr COLORREF readout_colour = 0x00000000;      // and its text colour
constexpr int readout_left = 10;
constexpr int readout_bottom_margin = 4;
constexpr int readout_height = 18;
constexpr int readout_top_margin = 2;
constexpr int readout_gap = 4;  // between the line and the decorations beside it
constexpr int readout_least_width = 100;


bool intersect(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

std::optional<Complex> s_at_pointer(const Plot_Job& job, const RECT& plot, int32_t x, int32_t y) {
    const std::optional<Cell> cell =
        cell_at_pixel(Plot_Area{plot.left, plot.top, plot.right, plot.bottom}, x, y);
    if (!cell) return std::nullopt;
    return cell_s(job.settings, cell->column, cell->row);
}

RECT readout_rect(const RECT& client, const RECT& decorations) {
    const int bottom = client.bottom - readout_bottom_margin;
    const RECT bottom_line{client.left + readout_left, bottom - readout_height, client.right, bottom};
    if (!intersect(bottom_line, decorations)) return bottom_line;
    const RECT top_line{client.left + readout_left, client.top + readout_top_margin, client.right,
                        client.top + readout_top_margin + readout_height};
    if (!intersect(top_line, decorations)) return top_line;
    // Beside the decorations: the widest of the parts of both lines left and right of them.
    RECT best{};
    for (const RECT& line : {bottom_line, top_line}) {
        const RECT left_part{line.left, line.top, std::min<LONG>(line.right, decorations.left - readout_gap),
                             line.bottom};
        const RECT right_part{std::max<LONG>(line.left, decorations.right + readout_gap), line.top,
                              line.right, line.bottom};
        for (const RECT& part : {left_part, right_part}) {
            if (part.right - part.left > best.right - best.left) best = part;
        }
    }
    // Too short a line would show nothing readable.
    if (best.right - best.left < readout_least_width) return RECT{};
    return best;
}

std::u16string utf16(const std::string& text) {
    std::u16string wide;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            wide.push_back(byte);
            i += 1;
        } else if (byte < 0xE0 && i + 1 < text.size()) {
            wide.push_back(static_cast<char16_t>((byte & 0x1F) << 6 | (text[i + 1] & 0x3F)));
            i += 2;
        } else if (i + 2 < text.size()) {
            wide.push_back(static_cast<char16_t>((byte & 0x0F) << 12 | (text[i + 1] & 0x3F) << 6 |
                                                 (text[i + 2] & 0x3F)));
            i += 3;
        } else {
            break;
        }
    }
    return wide;
}

void draw_readout(HDC dc, const RECT& box, const std::string& text) {
    HBRUSH brush = CreateSolidBrush(readout_background);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
    if (text.empty()) return;
    const std::u16string wide = utf16(text);
    SetBkColor(dc, readout_background);
    SetTextColor(dc, readout_colour);
    RECT line = box;
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(wide.data()), static_cast<int>(wide.size()), &line, 0);
}
