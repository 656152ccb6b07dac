#include "zeta/plot_renderer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "zeta/truncation.h"

namespace {

constexpr COLORREF critical_line_colour = 0x00FFFF63;
constexpr COLORREF axis_colour = 0x00000000;
constexpr COLORREF text_background = 0x00FF0000;

constexpr double colour_map_scale = 255.0;
// The bar uses 256, so its first and last columns wrap to black.
constexpr double colour_bar_scale = 256.0;

constexpr double critical_real_part = 0.5;
constexpr int critical_line_overhang = 60;
constexpr int critical_label_top = 40;
constexpr double critical_label_width = 300.0;
constexpr std::string_view critical_label = "Re(s)=1/2";

constexpr int status_box_width = 400;
constexpr int status_box_height = 20;

constexpr int real_tick_spacing = 70;
constexpr int real_tick_length = 40;
constexpr int real_label_height = 30;
constexpr std::string_view real_axis_name = "  Re(s)";

constexpr int imaginary_tick_spacing = 30;
constexpr int imaginary_tick_length = 40;
constexpr int imaginary_label_width = 70;
constexpr std::string_view imaginary_axis_name = " Im(s)";

constexpr int colour_bar_bottom = 100;  // below the plot's bottom edge
constexpr int colour_bar_height = 10;
constexpr int minimum_label_top = 70;
constexpr int minimum_label_bottom = 100;
constexpr int maximum_label_top = 101;
constexpr int maximum_label_bottom = 130;

constexpr int number_buffer_size = 500;

// Geometry is worked out in 64 bits, so that no sum of rectangle coordinates overflows, and brought back into
// GDI's range only where it is handed over.
using Coordinate = std::int64_t;

int to_gdi(Coordinate value) {
    return static_cast<int>(std::clamp<Coordinate>(value, INT32_MIN, INT32_MAX));
}

struct Plot_Area {
    Coordinate left;
    Coordinate top;
    Coordinate right;
    Coordinate bottom;
    Coordinate width() const { return right - left; }
    Coordinate height() const { return bottom - top; }
};

COLORREF red_green(double red, double green) {
    return colour_channel(red) | colour_channel(green) << 8;
}

void draw_line(HDC dc, Coordinate x1, Coordinate y1, Coordinate x2, Coordinate y2) {
    MoveToEx(dc, to_gdi(x1), to_gdi(y1), nullptr);
    LineTo(dc, to_gdi(x2), to_gdi(y2));
}

void draw_text(HDC dc, std::string_view text, Coordinate left, Coordinate top, Coordinate right,
               Coordinate bottom, UINT format = 0) {
    RECT box{to_gdi(left), to_gdi(top), to_gdi(right), to_gdi(bottom)};
    const auto length = static_cast<int>(std::min<std::size_t>(text.size(), INT32_MAX));
    DrawTextA(dc, text.data(), length, &box, format);
}

// One buffer for every numeric label of a render, each "%f" (six decimals).
class Number_Text {
public:
    std::string_view format(double value) {
        const int written = std::snprintf(buffer_, sizeof buffer_, "%f", value);
        if (written < 0) return {};
        return {buffer_, std::min<std::size_t>(static_cast<std::size_t>(written), sizeof buffer_ - 1)};
    }

private:
    char buffer_[number_buffer_size];
};

// The part of the device context that drawing can reach; everything when the DC cannot tell.
Plot_Area reachable_area(HDC dc) {
    RECT clip;
    if (GetClipBox(dc, &clip) == RGN_ERROR) return {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    return {clip.left, clip.top, clip.right, clip.bottom};
}

// The indexes first ... end - 1 of 0 ... count - 1 whose pixel, at origin + index × step, lies in [low,
// high).
std::pair<std::int32_t, std::int32_t> indexes_within(Coordinate origin, int step, Coordinate low,
                                                     Coordinate high, std::int32_t count) {
    Coordinate first = step > 0 ? low - origin : origin - high + 1;
    Coordinate end = step > 0 ? high - origin : origin - low + 1;
    first = std::clamp<Coordinate>(first, 0, count);
    end = std::clamp<Coordinate>(end, first, count);
    return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(end)};
}

// A pixel whose source cell lies outside the grid is left as it is; while the user drags the plot, that is
// the uncovered strip. Only cells whose pixel the DC can show are visited, so that a plot far larger than the
// window costs no more than the window.
void draw_colour_map(HDC dc, const Value_Grid& grid, const Value_Range& extremes, const Plot_Area& area,
                     const Plot_Area& reachable, double pan_x, double pan_y) {
    const double range = extremes.maximum - extremes.minimum;
    const std::int32_t width = grid.width;
    const std::int32_t height = grid.height;
    const Coordinate shift_x = truncate_toward_zero(pan_x);
    const Coordinate shift_y = truncate_toward_zero(pan_y);
    const auto [first_i, end_i] = indexes_within(area.left, 1, reachable.left, reachable.right, width);
    const auto [first_j, end_j] = indexes_within(area.bottom, -1, reachable.top, reachable.bottom, height);
    for (std::int32_t i = first_i; i < end_i; ++i) {
        const double source_x = i + pan_x;
        if (!(0.0 <= source_x && source_x <= width - 1)) continue;
        for (std::int32_t j = first_j; j < end_j; ++j) {
            const double source_y = j + pan_y;
            if (!(0.0 <= source_y && source_y <= height - 1)) continue;
            const double value = read_cell(grid, static_cast<std::int32_t>(shift_x + i),
                                           static_cast<std::int32_t>(shift_y + j));
            const double t = (value - extremes.minimum) / range * colour_map_scale;
            SetPixel(dc, to_gdi(area.left + i), to_gdi(area.bottom - j), red_green(colour_map_scale - t, t));
        }
    }
}

// The line at Re(s) = 1/2 where it falls strictly inside the plot; placed from the left edge's real part, so
// it does not follow a pan.
void draw_critical_line(HDC dc, const Plot_Area& area, double real_part, double real_scale) {
    const bool visible = critical_real_part > real_part &&
                         real_part + static_cast<double>(area.width()) * real_scale > critical_real_part;
    if (!visible) return;
    const double offset = (critical_real_part - real_part) / real_scale;
    const Coordinate x = truncate_toward_zero(static_cast<double>(area.left) + offset);
    draw_line(dc, x, area.top, x, area.bottom + critical_line_overhang);
    const Coordinate label_right =
        truncate_toward_zero(static_cast<double>(area.left) + offset + critical_label_width);
    draw_text(dc, critical_label, x, area.bottom + critical_label_top, label_right,
              area.bottom + critical_line_overhang);
}

// Numbered ticks every 70 pixels from the left edge, one more without a number, then the axis name; the
// last of these may lie right of the plot.
void draw_real_axis(HDC dc, const Plot_Area& area, double real_part, double real_scale,
                    Number_Text& numbers) {
    const Coordinate ticks = area.width() / real_tick_spacing;
    for (Coordinate k = 0; k <= ticks; ++k) {
        const Coordinate offset = real_tick_spacing * k;
        const Coordinate x = area.left + offset;
        draw_line(dc, x, area.bottom, x, area.bottom + real_tick_length);
        const std::string_view label = numbers.format(static_cast<double>(offset) * real_scale + real_part);
        draw_text(dc, label, x + 1, area.bottom, x + real_tick_spacing, area.bottom + real_label_height);
    }
    const Coordinate last_x = area.left + real_tick_spacing * (ticks + 1);
    draw_line(dc, last_x, area.bottom, last_x, area.bottom + real_tick_length);
    draw_text(dc, real_axis_name, last_x + 1, area.bottom, last_x + real_tick_spacing,
              area.bottom + real_label_height);
}

// Numbered ticks every 30 pixels up from the bottom edge, one more without a number, and the axis name one
// label slot above the last number.
void draw_imaginary_axis(HDC dc, const Plot_Area& area, double imaginary_part, double imaginary_scale,
                         Number_Text& numbers) {
    const Coordinate ticks = area.height() / imaginary_tick_spacing;
    for (Coordinate k = 0; k <= ticks; ++k) {
        const Coordinate offset = imaginary_tick_spacing * k;
        const Coordinate y = area.bottom - offset;
        draw_line(dc, area.left, y, area.left - imaginary_tick_length, y);
        const std::string_view label =
            numbers.format(static_cast<double>(offset) * imaginary_scale + imaginary_part);
        draw_text(dc, label, area.left - imaginary_label_width, y - 18, area.left, y - 1);
    }
    const Coordinate last_y = area.bottom - imaginary_tick_spacing * (ticks + 1);
    draw_line(dc, area.left, last_y, area.left - imaginary_tick_length, last_y);
    draw_text(dc, imaginary_axis_name, area.left - imaginary_label_width, last_y - 18, area.left, last_y - 1);
}

void draw_colour_bar(HDC dc, const Plot_Area& area, const Plot_Area& reachable) {
    if (area.right < area.left) return;
    const double span = static_cast<double>(area.width());
    const Coordinate first = std::max<Coordinate>(0, reachable.left - area.left);
    const Coordinate last = std::min<Coordinate>(area.width(), reachable.right - 1 - area.left);
    for (Coordinate k = first; k <= last; ++k) {
        const double t = static_cast<double>(k) / span * colour_bar_scale;
        const COLORREF colour = red_green(colour_bar_scale - t, t);
        for (int r = 0; r < colour_bar_height; ++r)
            SetPixel(dc, to_gdi(area.left + k), to_gdi(area.bottom + colour_bar_bottom - r), colour);
    }
}

void draw_range_labels(HDC dc, const Plot_Area& area, const Value_Range& extremes, Number_Text& numbers) {
    draw_text(dc, numbers.format(extremes.minimum), area.left, area.bottom + minimum_label_top, area.right,
              area.bottom + minimum_label_bottom);
    draw_text(dc, numbers.format(extremes.maximum), area.left, area.bottom + maximum_label_top, area.right,
              area.bottom + maximum_label_bottom, DT_RIGHT);
}

}  // namespace

void render_plot(const Plot_Job& job, HDC& dc) {
    if (job.plot_rect == nullptr) return;
    const RECT& rect = *job.plot_rect;
    const Plot_Area area{rect.left, rect.top, rect.right, rect.bottom};

    HPEN line_pen = CreatePen(PS_SOLID, 1, critical_line_colour);
    HPEN axis_pen = CreatePen(PS_SOLID, 1, axis_colour);
    // The DC gets its own pen back at the end, so that neither of ours is deleted while still selected.
    HGDIOBJ original_pen = SelectObject(dc, line_pen);
    SetBkColor(dc, text_background);

    // One reading of the range for the whole picture, even if the calculation finishes meanwhile.
    const Value_Range extremes = read_range(job.grid);
    const Plot_Area reachable = reachable_area(dc);
    draw_colour_map(dc, job.grid, extremes, area, reachable, job.pan_offset_x, job.pan_offset_y);

    const std::string status = status_text_copy(job);
    draw_text(dc, status, area.left, area.top - status_box_height, area.left + status_box_width, area.top);

    if (job.show_critical_line == 1) draw_critical_line(dc, area, job.real_part, job.real_scale);

    HGDIOBJ replaced = SelectObject(dc, axis_pen);
    if (original_pen == nullptr) original_pen = replaced;
    Number_Text numbers;
    draw_real_axis(dc, area, job.real_part, job.real_scale, numbers);
    draw_imaginary_axis(dc, area, job.imaginary_part, job.imaginary_scale, numbers);
    draw_colour_bar(dc, area, reachable);
    draw_range_labels(dc, area, extremes, numbers);

    if (original_pen != nullptr) SelectObject(dc, original_pen);
    DeleteObject(line_pen);
    DeleteObject(axis_pen);
}
