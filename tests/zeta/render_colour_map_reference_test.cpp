// The colour map against a pixel-by-pixel rendering written straight from its definition, for cells that are
// NaN, infinite or huge, ranges that are infinite, pan offsets that are fractional, negative, NaN or far
// outside the grid, and canvases that cut the plot off on every side.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <mutex>
#include <string>

#include "tests/zeta/render_probe.h"
#include "zeta/plot/plot_job.h"
#include "zeta/plot/value_grid.h"
#include "zeta/viewer/plot_renderer.h"

namespace {

constexpr COLORREF canvas_fill = 0x00336699;
constexpr double infinity = std::numeric_limits<double>::infinity();

int channel(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
    return static_cast<int>(value) & 0xFF;
}

// Every cell, one SetPixel each: column i at L + i, row j at B - j, from cell [trunc(px) + i][trunc(py) + j].
void reference_colour_map(HDC dc, const RECT& rect, const Plot_Job& job) {
    const Value_Grid& grid = job.grid;
    const double range = grid.maximum - grid.minimum;
    for (int i = 0; i < grid.width; ++i) {
        for (int j = 0; j < grid.height; ++j) {
            const double source_x = i + job.pan_offset_x, source_y = j + job.pan_offset_y;
            if (!(0.0 <= source_x && source_x <= grid.width - 1 && 0.0 <= source_y &&
                  source_y <= grid.height - 1))
                continue;
            const double value =
                grid.columns[static_cast<int>(job.pan_offset_x) + i][static_cast<int>(job.pan_offset_y) + j];
            const double t = (value - grid.minimum) / range * 255.0;
            SetPixel(dc, rect.left + i, rect.bottom - j, RGB(channel(255.0 - t), channel(t), 0));
        }
    }
}

double awkward_value(int i, int j) {
    switch ((i * 7 + j * 3) % 11) {
        case 0:
            return std::nan("");
        case 1:
            return infinity;
        case 2:
            return -infinity;
        case 3:
            return 1e300;
        default:
            return std::sin(i * 0.37 + j * 0.11) * 3.0 + (i % 5) - 2.0;
    }
}

TEST(RenderColourMapReference, MatchesTheDefinitionForAwkwardCellsRangesPansAndClipping) {
    constexpr int width = 37, height = 23;
    // The canvas shows columns 3 to 32 and rows 3 to 21 of the plot: cut off on every side.
    RECT rect{-3, -2, -3 + width, -2 + height};
    Plot_Job job;
    Colour_Map_Cache colour_map;
    job.settings.real_part = 5.0;
    ASSERT_TRUE(allocate(job.grid, width, height));
    for (int i = 0; i < width; ++i)
        for (int j = 0; j < height; ++j)
            write_cell(job.grid, i, j, awkward_value(i, j));

    struct Range {
        double minimum, maximum;
    };
    struct Pan {
        double x, y;
    };
    for (const Range range : {Range{-5.0, 5.0}, Range{-1.0, 3.5}, Range{-infinity, 2.0}, Range{0.0, infinity},
                              Range{4.0, -4.0}}) {
        for (const Pan pan : {Pan{0.0, 0.0}, Pan{2.5, -1.5}, Pan{-3.0, 4.0}, Pan{-0.5, 0.5},
                              Pan{std::nan(""), 0.0}, Pan{0.0, 1e12}}) {
            SCOPED_TRACE("range " + std::to_string(range.minimum) + " to " + std::to_string(range.maximum) +
                         ", pan " + std::to_string(pan.x) + ", " + std::to_string(pan.y));
            {
                std::lock_guard lock(job.grid.range_mutex);
                job.grid.minimum = range.minimum;
                job.grid.maximum = range.maximum;
            }
            job.pan_offset_x = pan.x;
            job.pan_offset_y = pan.y;
            // The grid is kept coloured for the larger canvas; for the smaller, which shows less than half of
            // it, nothing is kept and the visible part is coloured band by band.
            for (const bool small : {false, true}) {
                const SIZE size = small ? SIZE{12, 9} : SIZE{30, 19};
                if (small) colour_map.pixels.reset();
                Canvas rendered(size.cx, size.cy, canvas_fill), expected(size.cx, size.cy, canvas_fill);
                render_plot(job, rect, colour_map, rendered.dc);
                reference_colour_map(expected.dc, rect, job);
                // Only the map reaches the canvas: the axes, labels, status line and colour bar lie off it.
                for (int y = 0; y < size.cy; ++y)
                    for (int x = 0; x < size.cx; ++x)
                        ASSERT_EQ(rendered.at(x, y), expected.at(x, y))
                            << "pixel " << x << ", " << y << " of " << size.cx << " x " << size.cy;
            }
        }
    }
}

}  // namespace
