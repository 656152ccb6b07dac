// Where a plot's cells lie: in the complex plane and on the screen. Cell (i, j) is column i from the left
// edge and row j up from the bottom edge; it holds s = σ + it with σ = i · real_scale + real_part and t = j ·
// imaginary_scale + imaginary_part, each rounded to double, and it is drawn at pixel (left + i, bottom − j).
// Everything that turns a cell into s, or s or a pixel into a cell, goes through here, so that the fills, the
// renderer, the readout, zooming and zeta-render agree to the bit.
#pragma once

#include <cstdint>
#include <optional>

#include "zeta/math/zeta_function.h"
#include "zeta/plot/plot_settings.h"

// Room that the renderer's decorations take around the plot rectangle.
constexpr int status_line_height = 20;      // the status text above the top edge
constexpr int imaginary_labels_width = 70;  // the imaginary axis' labels left of the left edge
constexpr int below_plot_height = 130;      // critical-line label, colour bar and range labels

inline double column_sigma(const Plot_Settings& settings, int64_t column) {
    return static_cast<double>(column) * settings.real_scale + settings.real_part;
}

inline double row_t(const Plot_Settings& settings, int64_t row) {
    return static_cast<double>(row) * settings.imaginary_scale + settings.imaginary_part;
}

inline Complex cell_s(const Plot_Settings& settings, int64_t column, int64_t row) {
    return Complex{column_sigma(settings, column), row_t(settings, row)};
}

// Where σ and t lie in cells, as fractions: column_sigma(settings, column_position(settings, σ)) is σ up to
// rounding. NaN or infinite for a zero scale.
inline double column_position(const Plot_Settings& settings, double sigma) {
    return (sigma - settings.real_part) / settings.real_scale;
}

inline double row_position(const Plot_Settings& settings, double t) {
    return (t - settings.imaginary_part) / settings.imaginary_scale;
}

// The row whose t is nearest to `t` among rows 0 ... rows − 1, or none when t lies more than half a row
// beyond them.
std::optional<int32_t> nearest_row(const Plot_Settings& settings, int32_t rows, double t);

// A plot rectangle in pixels, in 64 bits so that no sum of its coordinates overflows.
struct Plot_Area {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
    int64_t width() const { return right - left; }
    int64_t height() const { return bottom - top; }
};

// The pixel column of the critical line Re(s) = 1/2 where it falls strictly inside the plot (placed from the
// left edge's real part, truncated toward zero); none otherwise, and none for NaN settings.
std::optional<int64_t> critical_line_x(const Plot_Settings& settings, const Plot_Area& area);

struct Cell {
    int32_t column = 0;
    int32_t row = 0;
};

// The cell under pixel (x, y), or none outside the plot.
std::optional<Cell> cell_at_pixel(const Plot_Area& area, int64_t x, int64_t y);
