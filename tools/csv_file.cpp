#include "tools/csv_file.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

bool write_grid_csv(std::FILE* file, const Plot_Job& job, std::string& error) {
    const Value_Grid& grid = job.grid;
    const Plot_Settings& settings = grid.settings;
    const std::string mode(graph_quantity(settings.mode).name);
    std::fprintf(
        file,
        "# zeta-render mode=%s ceiling=%.17g floor=%.17g real=%.17g imaginary=%.17g real-scale=%.17g "
        "imaginary-scale=%.17g terms=%d columns=%d rows=%d first-row=top\n",
        mode.c_str(), settings.ceiling, settings.floor, settings.real_part, settings.imaginary_part,
        settings.real_scale, settings.imaginary_scale, static_cast<int>(settings.precision),
        static_cast<int>(grid.width), static_cast<int>(grid.height));
    for (int32_t y = grid.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < grid.width; ++x) {
            const double cell = read_cell(grid, x, y);
            if (x > 0) std::fputc(',', file);
            // Without this a NaN with the sign bit set would print as -nan.
            if (std::isnan(cell)) {
                std::fputs("nan", file);
            } else {
                std::fprintf(file, "%.17g", cell);
            }
        }
        std::fputc('\n', file);
        if (std::ferror(file)) {
            error = std::strerror(errno);
            return false;
        }
    }
    return true;
}
