#include "zeta/viewer/plot_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "zeta/look/phase_colour.h"
#include "zeta/look/tick_label.h"
#include "zeta/plot/plot_geometry.h"
#include "zeta/viewer/colour_cells.h"
#include "zeta/viewer/pixel_block.h"
#include "zeta/viewer/truncation.h"

namespace {

constexpr COLORREF critical_line_colour = 0x00FFFF63;
constexpr COLORREF axis_colour = 0x00000000;
constexpr COLORREF text_background = 0x00FF0000;

// The bar uses 256, so its first and last columns wrap to black.
constexpr double colour_bar_scale = 256.0;

constexpr double critical_real_part = 0.5;
constexpr int critical_line_overhang = 60;
constexpr int critical_label_top = 40;
constexpr double critical_label_width = 300.0;
constexpr std::string_view critical_label = "Re(s)=1/2";
constexpr int critical_label_room = 80;  // what the label's text takes right of the line

constexpr int status_box_width = 400;
constexpr int status_box_height = status_line_height;
constexpr int status_bar_room = 104;  // the progress bar right of the status box

constexpr int real_tick_spacing = 70;
constexpr int real_tick_length = 40;
constexpr int real_label_height = 30;
constexpr std::string_view real_axis_name = "  Re(s)";

constexpr int imaginary_tick_spacing = 30;
constexpr int imaginary_tick_length = 40;
constexpr int imaginary_label_width = imaginary_labels_width;
constexpr std::string_view imaginary_axis_name = " Im(s)";

constexpr int colour_bar_bottom = 100;  // below the plot's bottom edge
constexpr int colour_bar_height = 10;
constexpr int minimum_label_top = 70;
constexpr int minimum_label_bottom = 100;
constexpr int maximum_label_top = 101;
constexpr int maximum_label_bottom = below_plot_height;

constexpr int number_buffer_size = 500;

// The phase bar's labels: "-pi" and "pi" beside its ends, on a line centred on it.
constexpr int phase_label_height = 16;
constexpr int phase_end_label_width = 40;

// Geometry is worked out in 64 bits, so that no sum of rectangle coordinates overflows, and brought back into
// GDI's range only where it is handed over.
using Coordinate = std::int64_t;

int to_gdi(Coordinate value) {
    return static_cast<int>(std::clamp<Coordinate>(value, INT32_MIN, INT32_MAX));
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

// The part of the device context that drawing can reach; nothing when the DC cannot tell.
Plot_Area reachable_area(HDC dc) {
    RECT clip;
    if (GetClipBox(dc, &clip) == RGN_ERROR) return {0, 0, 0, 0};
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

// Narrows [first, end) to the indexes whose source position index + pan lies in 0 ... count - 1. As the
// source position grows with the index, they form one run.
void keep_sources_inside(std::int32_t& first, std::int32_t& end, double pan, std::int32_t count) {
    const auto inside = [&](std::int32_t index) {
        const double source = index + pan;
        return 0.0 <= source && source <= count - 1;
    };
    while (first < end && !inside(first))
        ++first;
    while (end > first && !inside(end - 1))
        --end;
}

// Rows of the map coloured in memory before they are copied: a long run of cells from every column, and a
// block of about 512 KiB, which stays in the processor's cache between being coloured and being copied.
constexpr std::int64_t band_pixels = 128 * 1024;
constexpr std::int64_t least_band_rows = 64;
constexpr std::int32_t prefetch_distance = 8;  // columns
constexpr std::int64_t prefetch_rows = 512;

// Colours rows first_j ... first_j + rows - 1 of the columns first_i ... into the band, row first_j at its
// bottom.
void colour_band(Pixel_Block& band, const Value_Grid& grid, const Value_Range& extremes, std::int32_t first_i,
                 std::int32_t first_j, std::int32_t rows, std::int32_t shift_x, std::int32_t shift_y) {
    const double range = extremes.maximum - extremes.minimum;
    const bool phase = !grid.moduli.empty();
    const auto cells_of = [&](std::int32_t i) {
        return finished_column(grid, shift_x + first_i + i) + (shift_y + first_j);
    };
    const auto moduli_of = [&](std::int32_t i) {
        return finished_moduli(grid, shift_x + first_i + i) + (shift_y + first_j);
    };
    std::uint32_t column[least_band_rows];
    for (std::int32_t i = 0; i < band.width(); ++i) {
        // Each column's cells of the band are a short run of their own: ask for those of a later column
        // early.
        if (i + prefetch_distance < band.width()) {
            const char* later = reinterpret_cast<const char*>(cells_of(i + prefetch_distance));
            const std::int64_t bytes = std::min<std::int64_t>(rows, prefetch_rows) * sizeof(double);
            for (std::int64_t byte = 0; byte < bytes; byte += 64)
                __builtin_prefetch(later + byte);
        }
        const double* cells = cells_of(i);
        for (std::int32_t up = 0; up < rows; up += least_band_rows) {
            const auto count = static_cast<std::int32_t>(std::min<std::int64_t>(least_band_rows, rows - up));
            if (phase) {
                colour_phase_cells(cells + up, moduli_of(i) + up, count, column);
            } else {
                colour_cells(cells + up, count, extremes.minimum, range, column);
            }
            for (std::int32_t k = 0; k < count; ++k)
                band.row(up + k)[i] = column[k];
        }
    }
}

// The pixels of the map that are drawn, by plot index: within what the DC can show, and with their source
// cell inside the grid. `in_view` counts the pixels within what the DC can show, whatever the pan.
struct Map_Part {
    std::int32_t first_i = 0;
    std::int32_t end_i = 0;
    std::int32_t first_j = 0;
    std::int32_t end_j = 0;
    std::int64_t in_view = 0;
    bool empty() const { return first_i >= end_i || first_j >= end_j; }
};

Map_Part map_part(const Value_Grid& grid, const Plot_Area& area, const Plot_Area& reachable, double pan_x,
                  double pan_y) {
    Map_Part part;
    std::tie(part.first_i, part.end_i) =
        indexes_within(area.left, 1, reachable.left, reachable.right, grid.width);
    std::tie(part.first_j, part.end_j) =
        indexes_within(area.bottom, -1, reachable.top, reachable.bottom, grid.height);
    part.in_view = std::int64_t{part.end_i - part.first_i} * (part.end_j - part.first_j);
    keep_sources_inside(part.first_i, part.end_i, pan_x, grid.width);
    keep_sources_inside(part.first_j, part.end_j, pan_y, grid.height);
    return part;
}

// Colours every cell of the grid into the cache, when the grid is at most this many times as large as what
// the DC shows of it: a plot far larger than the window is coloured a visible part at a time instead.
constexpr std::int64_t cache_grid_per_view = 2;

bool fill_cache(Colour_Map_Cache& cache, const Value_Grid& grid, const Value_Range& extremes,
                std::uint64_t generation) {
    cache.pixels.reset();
    try {
        cache.pixels = std::make_unique<Pixel_Block>(grid.width, grid.height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    colour_band(*cache.pixels, grid, extremes, 0, 0, grid.height, 0, 0);
    cache.generation = generation;
    cache.range = extremes;
    return true;
}

// The range of the cells (moduli for a phase portrait) of the rows a calculation has finished so far; NaN
// cells never win. Read while the calculation goes on writing other rows.
Value_Range partial_range(const Value_Grid& grid) {
    const bool phase = !grid.moduli.empty();
    Value_Range range{0.0, 0.0};
    bool first = true;
    for (std::int32_t y = 0; y < grid.height; ++y) {
        if (!row_is_finished(grid, y)) continue;
        for (std::int32_t x = 0; x < grid.width; ++x) {
            const double value = phase ? read_modulus(grid, x, y) : read_cell(grid, x, y);
            if (std::isnan(value)) continue;
            if (first || value < range.minimum) range.minimum = value;
            if (first || value > range.maximum) range.maximum = value;
            first = false;
        }
    }
    return range;
}

// Colours rows first_j ... first_j + rows - 1 of a grid still being filled: the finished rows with the range
// so far, the others black.
void colour_partial_band(Pixel_Block& band, const Value_Grid& grid, const Value_Range& extremes,
                         std::int32_t first_i, std::int32_t first_j, std::int32_t rows, std::int32_t shift_x,
                         std::int32_t shift_y) {
    const bool phase = !grid.moduli.empty();
    const double range = extremes.maximum - extremes.minimum;
    for (std::int32_t k = 0; k < rows; ++k) {
        std::uint32_t* pixels = band.row(k);
        const std::int32_t y = shift_y + first_j + k;
        if (!row_is_finished(grid, y)) {
            std::fill_n(pixels, band.width(), 0u);
            continue;
        }
        for (std::int32_t i = 0; i < band.width(); ++i) {
            const std::int32_t x = shift_x + first_i + i;
            const double cell = read_cell(grid, x, y);
            if (phase) {
                const double modulus = read_modulus(grid, x, y);
                colour_phase_cells(&cell, &modulus, 1, pixels + i);
            } else {
                colour_cells(&cell, 1, extremes.minimum, range, pixels + i);
            }
        }
    }
}

// A pixel whose source cell lies outside the grid is left as it is; while the user drags the plot, that is
// the uncovered strip. The pixels that are drawn form one rectangle within what the DC can show, so a plot
// far larger than the window costs no more than the window. The colours come from the cache when it holds
// this grid and range (filling it first when the grid is not much larger than the view); otherwise they are
// coloured in memory a band of rows at a time, and each band is copied at once.
void draw_colour_map(HDC dc, const Value_Grid& grid, const Value_Range& extremes, std::uint64_t generation,
                     Colour_Map_Cache& cache, const Plot_Area& area, const Plot_Area& reachable, double pan_x,
                     double pan_y) {
    const Map_Part part = map_part(grid, area, reachable, pan_x, pan_y);
    if (part.empty()) return;
    const auto [first_i, end_i, first_j, end_j, in_view] = part;
    const std::int32_t shift_x = truncate_toward_zero(pan_x);
    const std::int32_t shift_y = truncate_toward_zero(pan_y);

    // With an empty range every quotient is NaN or infinite: all black, whatever the cells hold (and a
    // calculation may be writing them).
    const double range = extremes.maximum - extremes.minimum;
    const bool black = range == 0.0 || std::isnan(range);
    if (!black && !cache.holds(generation, extremes)) {
        const std::int64_t cells = std::int64_t{grid.width} * grid.height;
        if (cells > cache_grid_per_view * in_view || !fill_cache(cache, grid, extremes, generation))
            cache.pixels.reset();
    }
    if (!black && cache.pixels) {
        cache.pixels->copy_part_to(dc, to_gdi(area.left + first_i), to_gdi(area.bottom - (end_j - 1)),
                                   first_i + shift_x, first_j + shift_y, end_i - first_i, end_j - first_j);
        return;
    }

    // A calculation that finishes whole rows shows them as they come, with the range so far.
    const bool partial = black && grid.row_finished && grid.rows_finished.load(std::memory_order_acquire) > 0;
    const Value_Range so_far = partial ? partial_range(grid) : Value_Range{};

    const std::int32_t columns = end_i - first_i;
    const std::int64_t runs = std::max<std::int64_t>(1, band_pixels / columns / least_band_rows);
    const auto band_rows =
        static_cast<std::int32_t>(std::min<std::int64_t>(end_j - first_j, runs * least_band_rows));
    Pixel_Block band(columns, band_rows);
    if (black && !partial) band.fill(0);
    for (std::int32_t j = first_j; j < end_j; j += band_rows) {
        const std::int32_t rows = std::min(band_rows, end_j - j);
        if (partial) {
            colour_partial_band(band, grid, so_far, first_i, j, rows, shift_x, shift_y);
        } else if (!black) {
            colour_band(band, grid, extremes, first_i, j, rows, shift_x, shift_y);
        }
        // Row j lies at B − j: the band's top row, j + rows − 1, at B − j − rows + 1.
        band.copy_to(dc, to_gdi(area.left + first_i), to_gdi(area.bottom - (j + rows - 1)), rows);
    }
}

// The line at Re(s) = 1/2 where it falls strictly inside the plot; placed from the left edge's real part, so
// it does not follow a pan.
void draw_critical_line(HDC dc, const Plot_Area& area, const Plot_Settings& settings) {
    const std::optional<Coordinate> line_x = critical_line_x(settings, area);
    if (!line_x) return;
    const Coordinate x = *line_x;
    const double offset = column_position(settings, critical_real_part);
    draw_line(dc, x, area.top, x, area.bottom + critical_line_overhang);
    const Coordinate label_right =
        truncate_toward_zero(static_cast<double>(area.left) + offset + critical_label_width);
    draw_text(dc, critical_label, x, area.bottom + critical_label_top, label_right,
              area.bottom + critical_line_overhang);
}

// Numbered ticks every 70 pixels from the left edge, one more without a number, then the axis name; the
// last of these may lie right of the plot.
// A tick's value as "%f" where that fits its box and tells the ticks apart, else the shortest text that does.
std::string tick_text(HDC dc, double value, double spacing, int box_width) {
    return tick_label(value, spacing, box_width, [dc](std::string_view text) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
}

void draw_real_axis(HDC dc, const Plot_Area& area, const Plot_Settings& settings) {
    const Coordinate ticks = area.width() / real_tick_spacing;
    const double spacing = real_tick_spacing * settings.real_scale;
    for (Coordinate k = 0; k <= ticks; ++k) {
        const Coordinate offset = real_tick_spacing * k;
        const Coordinate x = area.left + offset;
        draw_line(dc, x, area.bottom, x, area.bottom + real_tick_length);
        const std::string label =
            tick_text(dc, column_sigma(settings, offset), spacing, real_tick_spacing - 1);
        draw_text(dc, label, x + 1, area.bottom, x + real_tick_spacing, area.bottom + real_label_height);
    }
    const Coordinate last_x = area.left + real_tick_spacing * (ticks + 1);
    draw_line(dc, last_x, area.bottom, last_x, area.bottom + real_tick_length);
    draw_text(dc, real_axis_name, last_x + 1, area.bottom, last_x + real_tick_spacing,
              area.bottom + real_label_height);
}

// Numbered ticks every 30 pixels up from the bottom edge, one more without a number, and the axis name one
// label slot above the last number.
void draw_imaginary_axis(HDC dc, const Plot_Area& area, const Plot_Settings& settings) {
    const Coordinate ticks = area.height() / imaginary_tick_spacing;
    const double spacing = imaginary_tick_spacing * settings.imaginary_scale;
    for (Coordinate k = 0; k <= ticks; ++k) {
        const Coordinate offset = imaginary_tick_spacing * k;
        const Coordinate y = area.bottom - offset;
        draw_line(dc, area.left, y, area.left - imaginary_tick_length, y);
        const std::string label = tick_text(dc, row_t(settings, offset), spacing, imaginary_label_width);
        draw_text(dc, label, area.left - imaginary_label_width, y - 18, area.left, y - 1);
    }
    const Coordinate last_y = area.bottom - imaginary_tick_spacing * (ticks + 1);
    draw_line(dc, area.left, last_y, area.left - imaginary_tick_length, last_y);
    draw_text(dc, imaginary_axis_name, area.left - imaginary_label_width, last_y - 18, area.left, last_y - 1);
}

// Ten rows from B + 91 to B + 100, drawn in memory for the part the DC can show and copied at once: the
// ramp, or for a phase portrait the colours of arg ζ from −π at the left edge to π at the right.
void draw_colour_bar(HDC dc, const Plot_Area& area, const Plot_Area& reachable, bool phase) {
    if (area.right < area.left) return;
    const double span = static_cast<double>(area.width());
    const Coordinate first = std::max<Coordinate>(0, reachable.left - area.left);
    const Coordinate last = std::min<Coordinate>(area.width(), reachable.right - 1 - area.left);
    const Coordinate top =
        std::max<Coordinate>(area.bottom + colour_bar_bottom - colour_bar_height + 1, reachable.top);
    const Coordinate bottom = std::min<Coordinate>(area.bottom + colour_bar_bottom, reachable.bottom - 1);
    if (first > last || top > bottom) return;
    Pixel_Block block(static_cast<std::int32_t>(last - first + 1),
                      static_cast<std::int32_t>(bottom - top + 1));
    std::uint32_t* row = block.row(0);
    for (Coordinate k = first; k <= last; ++k) {
        if (phase) {
            const double arg =
                span > 0.0 ? -std::numbers::pi + 2.0 * std::numbers::pi * static_cast<double>(k) / span : 0.0;
            row[k - first] = block_pixel_of(phase_legend_colour(arg));
            continue;
        }
        const double t = static_cast<double>(k) / span * colour_bar_scale;
        row[k - first] = block_pixel(colour_channel(colour_bar_scale - t), colour_channel(t));
    }
    block.repeat_bottom_row();
    block.copy_to(dc, to_gdi(area.left + first), to_gdi(top), block.height());
}

void draw_range_labels(HDC dc, const Plot_Area& area, const Value_Range& extremes, Number_Text& numbers) {
    draw_text(dc, numbers.format(extremes.minimum), area.left, area.bottom + minimum_label_top, area.right,
              area.bottom + minimum_label_bottom);
    draw_text(dc, numbers.format(extremes.maximum), area.left, area.bottom + maximum_label_top, area.right,
              area.bottom + maximum_label_bottom, DT_RIGHT);
}

Coordinate text_width(HDC dc, std::string_view text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The phase bar's ends beside it, "-pi" left and "pi" right, and "0" under its middle where the largest
// |ζ| (right-aligned below the bar) leaves room.
void draw_phase_labels(HDC dc, const Plot_Area& area, const Value_Range& extremes, Number_Text& numbers) {
    const Coordinate top = area.bottom + colour_bar_bottom - phase_label_height + 2;
    draw_text(dc, "-pi", area.left - phase_end_label_width, top, area.left - 2, top + phase_label_height,
              DT_RIGHT);
    draw_text(dc, "pi", area.right + 3, top, area.right + phase_end_label_width, top + phase_label_height);
    const Coordinate middle = area.left + area.width() / 2;
    const Coordinate zero_left = middle - text_width(dc, "0") / 2;
    const Coordinate maximum_left = area.right - text_width(dc, numbers.format(extremes.maximum));
    if (zero_left + text_width(dc, "0") + 4 <= maximum_left) {
        draw_text(dc, "0", zero_left, area.bottom + maximum_label_top, middle + phase_end_label_width,
                  area.bottom + maximum_label_bottom);
    }
}

}  // namespace

RECT plot_decorations(const RECT& rect) {
    const Plot_Area area{rect.left, rect.top, rect.right, rect.bottom};
    const Coordinate axis_name_right =
        area.left + real_tick_spacing * (std::max<Coordinate>(area.width(), 0) / real_tick_spacing + 2);
    // The status line and the progress bar beside it.
    const Coordinate status_right = area.left + status_box_width + status_bar_room;
    const Coordinate right = std::max({area.right + critical_label_room, area.right + phase_end_label_width,
                                       axis_name_right, status_right});
    return RECT{to_gdi(area.left - std::max(imaginary_label_width, phase_end_label_width)),
                to_gdi(area.top - status_box_height), to_gdi(right),
                to_gdi(area.bottom + maximum_label_bottom)};
}

RECT colour_map_rect(const Plot_Job& job, const RECT& rect, HDC dc) {
    const Plot_Area area{rect.left, rect.top, rect.right, rect.bottom};
    const Map_Part part = map_part(job.grid, area, reachable_area(dc), job.pan_offset_x, job.pan_offset_y);
    if (part.empty()) return RECT{};
    return RECT{to_gdi(area.left + part.first_i), to_gdi(area.bottom - (part.end_j - 1)),
                to_gdi(area.left + part.end_i), to_gdi(area.bottom - part.first_j + 1)};
}

void render_plot(const Plot_Job& job, const RECT& rect, Colour_Map_Cache& colour_map, HDC dc) {
    const Plot_Area area{rect.left, rect.top, rect.right, rect.bottom};

    HPEN line_pen = CreatePen(PS_SOLID, 1, critical_line_colour);
    HPEN axis_pen = CreatePen(PS_SOLID, 1, axis_colour);
    // The DC gets its own pen back at the end, so that neither of ours is deleted while still selected.
    HGDIOBJ original_pen = SelectObject(dc, line_pen);
    SetBkColor(dc, text_background);

    // One reading of the range for the whole picture, even if the calculation finishes meanwhile.
    std::uint64_t generation = 0;
    const Value_Range extremes = read_range(job.grid, &generation);
    const Plot_Area reachable = reachable_area(dc);
    draw_colour_map(dc, job.grid, extremes, generation, colour_map, area, reachable, job.pan_offset_x,
                    job.pan_offset_y);

    const std::string status = status_text_copy(job);
    draw_text(dc, status, area.left, area.top - status_box_height, area.left + status_box_width, area.top);

    if (job.show_critical_line == 1) draw_critical_line(dc, area, job.settings);

    HGDIOBJ replaced = SelectObject(dc, axis_pen);
    if (original_pen == nullptr) original_pen = replaced;
    Number_Text numbers;
    draw_real_axis(dc, area, job.settings);
    draw_imaginary_axis(dc, area, job.settings);
    const bool phase = graph_quantity(job.grid.settings.mode).colouring == Cell_Colouring::Phase;
    draw_colour_bar(dc, area, reachable, phase);
    draw_range_labels(dc, area, extremes, numbers);
    if (phase) draw_phase_labels(dc, area, extremes, numbers);

    if (original_pen != nullptr) SelectObject(dc, original_pen);
    DeleteObject(line_pen);
    DeleteObject(axis_pen);
}
