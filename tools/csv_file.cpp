#include "tools/csv_file.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

const char* mode_name(Graph_Mode mode) {
    switch (mode) {
        case Real_Part:
            return "re";
        case Imaginary_Part:
            return "im";
        case Reciprocal_Absolute_Value:
            return "recip";
        case Absolute_Value:
        default:
            return "abs";
    }
}

bool write_grid_csv(std::FILE* file, const Plot_Job& job, std::string& error) {
    const Value_Grid& grid = job.grid;
    std::fprintf(
        file,
        "# zeta-render mode=%s ceiling=%.17g floor=%.17g real=%.17g imaginary=%.17g real-scale=%.17g "
        "imaginary-scale=%.17g terms=%d columns=%d rows=%d first-row=top\n",
        mode_name(job.mode), job.ceiling, job.floor, job.real_part, job.imaginary_part, job.real_scale,
        job.imaginary_scale, static_cast<int>(job.precision), static_cast<int>(grid.width),
        static_cast<int>(grid.height));
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
