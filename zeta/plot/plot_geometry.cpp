#include "zeta/plot/plot_geometry.h"

#include <climits>
#include <cmath>

std::optional<int32_t> nearest_row(const Plot_Settings& settings, int32_t rows, double t) {
    const double position = std::nearbyint(row_position(settings, t));
    if (!(position >= 0.0 && position < static_cast<double>(rows))) return std::nullopt;
    return static_cast<int32_t>(position);
}

std::optional<Cell> cell_at_pixel(const Plot_Area& area, int64_t x, int64_t y) {
    const int64_t i = x - area.left;
    const int64_t j = area.bottom - y;
    if (i < 0 || i >= area.width() || j < 0 || j >= area.height() || i > INT32_MAX || j > INT32_MAX)
        return std::nullopt;
    return Cell{static_cast<int32_t>(i), static_cast<int32_t>(j)};
}
