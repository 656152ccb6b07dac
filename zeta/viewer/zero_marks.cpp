#include "zeta/viewer/zero_marks.h"

#include <algorithm>
#include <cstdio>

#include "zeta/plot/plot_geometry.h"

namespace {

constexpr COLORREF mark_colour = RGB(255, 255, 255);
constexpr int mark_half_width = 4;  // the mark covers the line's column and 4 pixels on either side
constexpr int readout_reach = 4;    // how far from the line the readout still names the zero
constexpr int status_box_width = 400;
constexpr int status_box_height = 20;
constexpr int addition_width = 2000;
constexpr COLORREF status_background = 0x00FF0000;

Plot_Area area_of(const RECT& plot) {
    return Plot_Area{plot.left, plot.top, plot.right, plot.bottom};
}

// Calls mark(row, zero) for each zero in view, with the row it is marked on.
template <typename Mark>
void for_each_mark(const Plot_Settings& settings, int32_t rows, const Zeros_In_View& zeros, Mark mark) {
    for (const Zeta_Zero& zero : zeros.search.zeros) {
        for (const double t : {zero.gamma, -zero.gamma}) {
            const std::optional<int32_t> row = nearest_row(settings, rows, t);
            if (row) mark(*row, Zeta_Zero{zero.n, t});
        }
    }
}

}  // namespace

void draw_zero_marks(HDC dc, const Plot_Settings& settings, const RECT& plot, int32_t rows,
                     const Zeros_In_View& zeros) {
    const Plot_Area area = area_of(plot);
    const std::optional<int64_t> line = critical_line_x(settings, area);
    if (!line) return;
    HBRUSH brush = CreateSolidBrush(mark_colour);
    for_each_mark(settings, rows, zeros, [&](int32_t row, const Zeta_Zero&) {
        const int64_t y = area.bottom - row;
        const RECT mark{static_cast<LONG>(*line - mark_half_width), static_cast<LONG>(y),
                        static_cast<LONG>(*line + mark_half_width + 1), static_cast<LONG>(y + 1)};
        FillRect(dc, &mark, brush);
    });
    DeleteObject(brush);
}

std::optional<Zeta_Zero> zero_at_pixel(const Plot_Settings& settings, const RECT& plot, int32_t rows,
                                       const Zeros_In_View& zeros, int32_t x, int32_t y) {
    const Plot_Area area = area_of(plot);
    const std::optional<int64_t> line = critical_line_x(settings, area);
    if (!line || x < *line - readout_reach || x > *line + readout_reach) return std::nullopt;
    std::optional<Zeta_Zero> found;
    for_each_mark(settings, rows, zeros, [&](int32_t row, const Zeta_Zero& zero) {
        if (!found && area.bottom - row == y) found = zero;
    });
    return found;
}

std::string zero_readout(const Zeta_Zero& zero) {
    char text[96];
    std::snprintf(text, sizeof text, "zero #%lld at s = 0.5 %c %.17gi", static_cast<long long>(zero.n),
                  zero.gamma < 0.0 ? '-' : '+', zero.gamma < 0.0 ? -zero.gamma : zero.gamma);
    return text;
}

void draw_status_addition(HDC dc, const RECT& plot, const std::string& status, const std::string& addition) {
    SIZE size{};
    GetTextExtentPoint32A(dc, status.data(), static_cast<int>(status.size()), &size);
    const LONG left = plot.left + std::min<LONG>(size.cx, status_box_width);
    RECT box{left, plot.top - status_box_height, left + addition_width, plot.top};
    SetBkColor(dc, status_background);
    DrawTextA(dc, addition.data(), static_cast<int>(addition.size()), &box, 0);
}
