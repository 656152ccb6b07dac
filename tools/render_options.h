// The command line of zeta-render. A setting that is not given keeps the viewer's start-up value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "zeta/plot/plot_settings.h"

struct Size {
    int32_t width = 0;
    int32_t height = 0;
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct Render_Options {
    Plot_Settings settings = start_up_settings();
    bool hide_critical_line = false;
    bool show_zeros = false;
    std::optional<Size> plot_size;
    std::optional<Point> plot_origin;  // left and top of the plot rectangle
    std::optional<Size> image_size;
    std::string output_path;  // PNG; empty when not wanted
    std::string csv_path;     // empty when not wanted
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// What the window layer can hold: sides up to 16384 pixels, 8192 x 8192 pixels in all.
constexpr int32_t largest_image_side = 16384;
constexpr int64_t largest_image_area = int64_t{8192} * 8192;

// Parses the arguments. On a bad argument returns no value and puts a one-line message into `error`.
std::optional<Render_Options> parse_render_options(int argc, char** argv, std::string& error);

// The --help text.
std::string usage_text();
