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

std::optional<int64_t> critical_line_x(const Plot_Settings& settings, const Plot_Area& area) {
    constexpr double critical_real_part = 0.5;
    const bool visible =
        critical_real_part > settings.real_part && column_sigma(settings, area.width()) > critical_real_part;
    if (!visible) return std::nullopt;
    const double x = static_cast<double>(area.left) + column_position(settings, critical_real_part);
    // As a pixel coordinate: truncated toward zero, within 64 bits.
    if (!(x > -9.2e18 && x < 9.2e18)) return std::nullopt;
    return static_cast<int64_t>(x);
}
