#include "tools/render_options.h"

#include "tools/argument_text.h"

#include <getopt.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

enum Option_Code : int {
    Option_Ceiling = 256,
    Option_Floor,
    Option_Real,
    Option_Imaginary,
    Option_Real_Scale,
    Option_Imaginary_Scale,
    Option_Terms,
    Option_Mode,
    Option_No_Critical_Line,
    Option_Zeros,
    Option_Plot_Size,
    Option_Plot_Origin,
    Option_Size,
    Option_Csv,
    Option_Method,
    Option_Version,
};

const option long_options[] = {
    {"output", required_argument, nullptr, 'o'},
    {"ceiling", required_argument, nullptr, Option_Ceiling},
    {"floor", required_argument, nullptr, Option_Floor},
    {"real", required_argument, nullptr, Option_Real},
    {"imaginary", required_argument, nullptr, Option_Imaginary},
    {"real-scale", required_argument, nullptr, Option_Real_Scale},
    {"imaginary-scale", required_argument, nullptr, Option_Imaginary_Scale},
    {"terms", required_argument, nullptr, Option_Terms},
    {"mode", required_argument, nullptr, Option_Mode},
    {"method", required_argument, nullptr, Option_Method},
    {"no-critical-line", no_argument, nullptr, Option_No_Critical_Line},
    {"zeros", no_argument, nullptr, Option_Zeros},
    {"plot-size", required_argument, nullptr, Option_Plot_Size},
    {"plot-origin", required_argument, nullptr, Option_Plot_Origin},
    {"size", required_argument, nullptr, Option_Size},
    {"csv", required_argument, nullptr, Option_Csv},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, Option_Version},
    {nullptr, 0, nullptr, 0},
};

std::optional<int64_t> parse_integer(const char* begin, const char* end) {
    if (begin == end || std::isspace(static_cast<unsigned char>(*begin))) return std::nullopt;
    const std::string text(begin, end);
    char* stop = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &stop, 10);
    if (*stop != '\0' || errno == ERANGE) return std::nullopt;
    return value;
}

bool parse_finite(const char* name, const char* text, double& setting, std::string& error) {
    const std::optional<double> value = parse_number(text);
    if (!value) {
        error = std::string(name) + " needs a number, not " + shown_argument(text);
    } else if (!std::isfinite(*value)) {
        error = std::string(name) + " must be a finite number, not " + shown_argument(text);
    } else {
        setting = *value;
        return true;
    }
    return false;
}

bool parse_terms(const char* text, int32_t& setting, std::string& error) {
    const std::optional<int64_t> value = parse_integer(text, text + std::strlen(text));
    if (!value || *value < 0 || *value > INT32_MAX) {
        error = "--terms needs a whole number from 0 to 2147483647, not " + shown_argument(text);
        return false;
    }
    setting = static_cast<int32_t>(*value);
    return true;
}

bool parse_mode(const char* text, Graph_Mode& setting, std::string& error) {
    const Graph_Quantity* quantity = graph_quantity_named(text);
    if (quantity == nullptr) {
        error = "--mode must be " + graph_quantity_names() + ", not " + shown_argument(text);
        return false;
    }
    setting = quantity->mode;
    return true;
}

bool parse_method(const char* text, Zeta_Method& setting, std::string& error) {
    const std::string name = text;
    if (name == "series") {
        setting = Series_Method;
    } else if (name == "accurate") {
        setting = Accurate_Method;
    } else {
        error = "--method must be series or accurate, not " + shown_argument(text);
        return false;
    }
    return true;
}

// Two integers separated by `separator`, each from `smallest` to `largest`.
std::optional<std::pair<int32_t, int32_t>> parse_pair(const char* text, char separator, int64_t smallest,
                                                      int64_t largest) {
    const char* middle = std::strchr(text, separator);
    if (middle == nullptr) return std::nullopt;
    const std::optional<int64_t> first = parse_integer(text, middle);
    const std::optional<int64_t> second = parse_integer(middle + 1, middle + std::strlen(middle));
    if (!first || !second) return std::nullopt;
    if (*first < smallest || *first > largest || *second < smallest || *second > largest) return std::nullopt;
    return std::pair{static_cast<int32_t>(*first), static_cast<int32_t>(*second)};
}

bool parse_size(const char* name, const char* text, int64_t largest, std::optional<Size>& setting,
                std::string& error) {
    const auto pair = parse_pair(text, 'x', 1, largest);
    if (!pair) {
        error = std::string(name) + " needs WIDTHxHEIGHT, each from 1 to " + std::to_string(largest) +
                ", not " + shown_argument(text);
        return false;
    }
    setting = Size{pair->first, pair->second};
    return true;
}

bool parse_image_size(const char* text, std::optional<Size>& setting, std::string& error) {
    if (!parse_size("--size", text, largest_image_side, setting, error)) return false;
    if (int64_t{setting->width} * setting->height > largest_image_area) {
        error = "--size allows at most 8192x8192 pixels in all, not " + shown_argument(text);
        setting.reset();
        return false;
    }
    return true;
}

bool parse_origin(const char* text, std::optional<Point>& setting, std::string& error) {
    const auto pair = parse_pair(text, ',', INT32_MIN, INT32_MAX);
    if (!pair) {
        error = "--plot-origin needs X,Y (whole numbers), not " + shown_argument(text);
        return false;
    }
    setting = Point{pair->first, pair->second};
    return true;
}

bool parse_path(const char* name, const char* text, std::string& path, std::string& error) {
    if (*text == '\0') {
        error = std::string(name) + " needs a file name";
        return false;
    }
    path = text;
    return true;
}

bool parse_option(int code, const char* value, Render_Options& options, std::string& error) {
    switch (code) {
        case 'o':
            return parse_path("--output", value, options.output_path, error);
        case Option_Csv:
            return parse_path("--csv", value, options.csv_path, error);
        case Option_Ceiling:
            return parse_finite("--ceiling", value, options.settings.ceiling, error);
        case Option_Floor:
            return parse_finite("--floor", value, options.settings.floor, error);
        case Option_Real:
            return parse_finite("--real", value, options.settings.real_part, error);
        case Option_Imaginary:
            return parse_finite("--imaginary", value, options.settings.imaginary_part, error);
        case Option_Real_Scale:
            return parse_finite("--real-scale", value, options.settings.real_scale, error);
        case Option_Imaginary_Scale:
            return parse_finite("--imaginary-scale", value, options.settings.imaginary_scale, error);
        case Option_Terms:
            return parse_terms(value, options.settings.precision, error);
        case Option_Mode:
            return parse_mode(value, options.settings.mode, error);
        case Option_Method:
            return parse_method(value, options.settings.method, error);
        case Option_No_Critical_Line:
            options.hide_critical_line = true;
            return true;
        case Option_Zeros:
            options.show_zeros = true;
            return true;
        case Option_Plot_Size:
            return parse_size("--plot-size", value, INT32_MAX, options.plot_size, error);
        case Option_Plot_Origin:
            return parse_origin(value, options.plot_origin, error);
        case Option_Size:
            return parse_image_size(value, options.image_size, error);
        case 'q':
            options.quiet = true;
            return true;
        case 'h':
            options.help = true;
            return true;
        case Option_Version:
            options.version = true;
            return true;
        default:
            error = "internal error: unhandled option";
            return false;
    }
}

}  // namespace

std::optional<Render_Options> parse_render_options(int argc, char** argv, std::string& error) {
    Render_Options options;
    opterr = 0;  // our own messages, without the program's path
    for (;;) {
        const int code = getopt_long(argc, argv, ":o:qh", long_options, nullptr);
        if (code == -1) break;
        if (code == '?') {
            error = optopt != 0
                        ? "unknown option " + shown_argument("-" + std::string(1, static_cast<char>(optopt)))
                        : "unknown or ambiguous option " + shown_argument(argv[optind - 1]);
            return std::nullopt;
        }
        if (code == ':') {
            error = "option " + shown_argument(argv[optind - 1]) + " needs a value";
            return std::nullopt;
        }
        if (!parse_option(code, optarg, options, error)) return std::nullopt;
    }
    if (options.help || options.version) return options;
    if (optind < argc) {
        error = "unexpected argument " + shown_argument(argv[optind]);
        return std::nullopt;
    }
    if (options.output_path.empty() && options.csv_path.empty()) {
        error = "no output: give -o FILE.png and/or --csv FILE.csv";
        return std::nullopt;
    }
    if (options.output_path == options.csv_path) {
        error = "--output and --csv name the same file";
        return std::nullopt;
    }
    return options;
}

// "abs, re, im or recip: |zeta|, Re zeta, Im zeta, 1/|zeta|", wrapped below the help's option column.
std::string mode_help() {
    std::string text = graph_quantity_names() + ":";
    const auto quantities = graph_quantities();
    for (std::size_t i = 0; i < quantities.size(); ++i)
        text += std::string(" ") + std::string(quantities[i].description) +
                (i + 1 < quantities.size() ? "," : "");
    constexpr std::size_t width = 80;  // beside the 29 columns of the option names
    std::string wrapped;
    std::size_t line_start = 0;
    for (std::size_t word = 0; word < text.size();) {
        std::size_t end = text.find(' ', word + 1);
        if (end == std::string::npos) end = text.size();
        if (end - line_start > width && word > line_start) {
            wrapped += "\n" + std::string(29, ' ');
            line_start = word + 1;
            word += 1;
            continue;
        }
        wrapped += text.substr(word, end - word);
        word = end;
    }
    return wrapped;
}

std::string usage_text() {
    return R"(Usage: zeta-render -o FILE.png [OPTION]...
       zeta-render --csv FILE.csv [OPTION]...
Draws the zeta viewer's main window for the given plot settings, exactly as the viewer shows it, and writes it
as a PNG image; optionally writes the computed cell values as CSV.

  -o, --output FILE          the PNG image to write
      --csv FILE             the grid values, one line per grid row, top row first, "%.17g", NaN as nan;
                             the first line is a '#' comment with the settings
      --ceiling X            upper clamp of the values (default 5)
      --floor X              lower clamp of the values (default -5)
      --real X               real part of s at the plot's left edge (default 0)
      --imaginary X          imaginary part of s at the plot's bottom edge (default -5)
      --real-scale X         real part per pixel column (default 0.02)
      --imaginary-scale X    imaginary part per pixel row (default 0.1)
      --terms N              series terms, 0 to 2147483647 (default 100; 0 sums no term, so every
                             value is 0, or the ceiling for recip)
      --mode MODE            )" +
           mode_help() + R"( (default recip)
      --method METHOD        series or accurate: the alternating series with --terms terms, or values
                             right to 1e-10 for -30 <= Re s <= 30, |Im s| <= 1e8 (default series)
      --no-critical-line     do not draw the line Re(s) = 1/2
      --zeros                mark the zeros on the critical line and sum them up in the status line, as
                             the viewer's "Show zeros" does
      --plot-size WxH        the plot rectangle's size in pixels (default 80x520)
      --plot-origin X,Y      the plot rectangle's top-left corner (default 100,60)
      --size WxH             the image size, at most 16384 pixels a side and 8192x8192 pixels in all
                             (default 952x741: the client area of the viewer's main window, which
                             opens at 960x768 with its frame on a 1280x1024 screen)
  -q, --quiet                no progress and no final status line on stderr
  -h, --help                 show this help
      --version              show the version

The settings are taken as they stand, like the viewer's Options window does (a ceiling below the floor, a zero
or negative scale), but they must be finite numbers. The image must hold the plot and its decorations: 70 pixels
left of the plot for the imaginary-axis labels, 20 above it for the status line, 130 below it for the
critical-line label, the colour bar and the range labels, and the plot's right edge. Without -o only the values
are computed, and the image size does not matter.

FILE may be - for standard output. A plain file (or a symbolic link to one) is written beside its final name
and renamed into place when complete, so it appears whole or not at all; devices and pipes are written directly.
The two outputs must be different files.

Exit status: 0 on success; 2 on a bad argument, an output that cannot be written (a write or close error
included) or a plot too large to compute; 1 when the viewer cannot start.
)";
}
