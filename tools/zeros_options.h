// The command line of zeta-zeros.
#pragma once

#include <optional>
#include <string>

struct Zeros_Options {
    double t1 = 0.0;
    double t2 = 0.0;
    std::string output_path = "-";  // standard output unless -o names a file
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// Parses the arguments. On a bad argument returns no value and puts a one-line message into `error`.
std::optional<Zeros_Options> parse_zeros_options(int argc, char** argv, std::string& error);

// The --help text.
std::string zeros_usage_text();
