// Decoding a PNG file with libpng, independently of the program that wrote it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools_test {

struct Decoded_Png {
    bool ok = false;
    std::string error;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // rows top to bottom, 0x00RRGGBB
};

Decoded_Png read_png(const std::string& path);

}  // namespace tools_test
