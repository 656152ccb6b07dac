// A picture's file name made from the plot settings, such as "zeta-abs-re0-im-5-scale0.02x0.1-n100.png":
// readable, short, and of letters, digits, '.', '-' and 'x' only, so it is valid on every file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct Picture_Name_Values {
    std::string_view quantity;  // the graphed quantity's short name: "abs", "re", "im", "recip" ...
    double real_part = 0;       // s at the plot's bottom-left corner
    double imaginary_part = 0;
    double real_scale = 0;  // per cell
    double imaginary_scale = 0;
    std::optional<std::int64_t> series_terms;  // none for the accurate method
};

// The name with ".png". The corner is written to one digit below a cell's width or height, the scales to six
// significant digits.
std::string picture_file_name(const Picture_Name_Values& values);
