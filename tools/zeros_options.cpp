#include "tools/zeros_options.h"

#include <getopt.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "tools/argument_text.h"
#include "zeta/plot/zeros_search.h"

namespace {

const option long_options[] = {
    {"output", required_argument, nullptr, 'o'},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

bool parse_height(const char* name, const char* text, double& height, std::string& error) {
    const std::optional<double> value = parse_number(text);
    if (!value || !std::isfinite(*value)) {
        error = std::string(name) + " needs a finite number, not " + shown_argument(text);
    } else if (*value < 0.0 || *value > zero_search_height_limit) {
        error = std::string(name) + " must be from 0 to 1e13, not " + shown_argument(text);
    } else {
        height = *value;
        return true;
    }
    return false;
}

}  // namespace

std::optional<Zeros_Options> parse_zeros_options(int argc, char** argv, std::string& error) {
    Zeros_Options options;
    std::vector<const char*> heights;
    opterr = 0;  // our own messages, without the program's path
    optind = 1;
    // "+": options end at the first height, so that "-5" is read as a (negative) height, not an option.
    for (;;) {
        const int code = getopt_long(argc, argv, "+:o:qh", long_options, nullptr);
        if (code == -1) {
            if (optind >= argc) break;
            heights.push_back(argv[optind++]);
            continue;
        }
        if (code == '?') {
            const char* text = argv[optind - 1];
            if (parse_number(text)) {  // a negative number where a height goes
                heights.push_back(text);
                continue;
            }
            error = optopt != 0
                        ? "unknown option " + shown_argument("-" + std::string(1, static_cast<char>(optopt)))
                        : "unknown or ambiguous option " + shown_argument(text);
            return std::nullopt;
        }
        if (code == ':') {
            error = "option " + shown_argument(argv[optind - 1]) + " needs a value";
            return std::nullopt;
        }
        if (code == 'o') {
            if (*optarg == '\0') {
                error = "--output needs a file name";
                return std::nullopt;
            }
            options.output_path = optarg;
        } else if (code == 'q') {
            options.quiet = true;
        } else if (code == 'V') {
            options.version = true;
        } else {
            options.help = true;
        }
    }
    if (options.help || options.version) return options;
    if (heights.size() != 2) {
        error = heights.size() < 2 ? "give the range as T1 T2 (for example: zeta-zeros 0 100)"
                                   : "unexpected argument " + shown_argument(heights[2]);
        return std::nullopt;
    }
    if (!parse_height("T1", heights[0], options.t1, error) ||
        !parse_height("T2", heights[1], options.t2, error))
        return std::nullopt;
    if (options.t1 > options.t2) {
        error = "T1 must not be above T2 (" + shown_argument(heights[0]) + " > " +
                shown_argument(heights[1]) + ")";
        return std::nullopt;
    }
    return options;
}

std::string zeros_usage_text() {
    return R"(Usage: zeta-zeros [OPTION]... T1 T2
Lists every zero 1/2 + i*gamma of the Riemann zeta function on the critical line with T1 <= gamma <= T2,
numbered by height (n = 1 for 14.1347...), and checks the list against N(T2) - N(T1), the number of all
zeros of zeta in the critical strip at those heights, which Turing's method gives exactly.

  -o, --output FILE    write to FILE instead of standard output
  -q, --quiet          no progress line and no warning on stderr
  -h, --help           show this help
      --version        show the version

0 <= T1 <= T2 <= 1e13. Output: a first line
  # zeta-zeros T1=... T2=... found=K N(T2)-N(T1)=K verified=yes
then one line "n,gamma" per zero, lowest first, gamma printed with 17 significant digits and within
max(1e-10, 4 ulp(gamma)) of the true ordinate. "verified=yes" means that the zeros found are all the zeros
of zeta in the strip at those heights: every one lies on the critical line. Otherwise the line says
"verified=no" and how many are missing.

FILE may be - for standard output. A plain file (or a symbolic link to one) is written beside its final name
and renamed into place when complete, so it appears whole or not at all; devices and pipes are written directly;
a directory is refused. A progress line appears on stderr when it is a terminal. ZETA_THREADS=N sets the
number of threads (default: one per processor).

Exit status: 0 when the list is verified; 1 when it could not be verified (the list is written all the same);
2 on a bad argument or an output that cannot be written.
)";
}
