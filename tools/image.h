// An image as the headless display shows it.
#pragma once

#include <cstdint>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // rows top to bottom, 0x00RRGGBB
};
