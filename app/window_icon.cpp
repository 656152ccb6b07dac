#include "app/window_icon.h"

#include <cstdint>
#include <vector>

namespace {

constexpr int icon_size = 32;
constexpr double scale = icon_size / 64.0;  // the picture is drawn on a 64 x 64 grid

struct Colour {
    std::uint8_t red, green, blue;
};

// The ramp from red at x = 12 to green at x = 52 of the 64-wide picture.
Colour ramp(double x) {
    const double t = (x - 12.0) / 40.0;
    return {static_cast<std::uint8_t>(255.0 * (1.0 - t) + 0.5), static_cast<std::uint8_t>(255.0 * t + 0.5),
            0};
}

Colour pixel_at(double x, double y) {
    // The critical line at x = 24.5, 2 wide, from the plot's top edge to below the colour bar.
    if (x >= 23.5 && x < 25.5 && y >= 6.0 && y < 58.0) return {0x63, 0xFF, 0xFF};
    if (x >= 12.0 && x < 52.0 && ((y >= 6.0 && y < 50.0) || (y >= 54.0 && y < 58.0))) return ramp(x);
    return {0, 0, 255};
}

}  // namespace

HICON create_window_icon(HINSTANCE instance) {
    // Colour rows top to bottom as blue, green, red, alpha bytes; the AND mask is all 0: every pixel opaque.
    std::vector<BYTE> colours(icon_size * icon_size * 4);
    for (int row = 0; row < icon_size; ++row) {
        for (int column = 0; column < icon_size; ++column) {
            // The picture at the pixel's centre.
            const Colour c = pixel_at((column + 0.5) / scale, (row + 0.5) / scale);
            BYTE* out = &colours[static_cast<std::size_t>(row * icon_size + column) * 4];
            out[0] = c.blue;
            out[1] = c.green;
            out[2] = c.red;
            out[3] = 255;
        }
    }
    const std::vector<BYTE> mask(icon_size * icon_size / 8, 0);
    return CreateIcon(instance, icon_size, icon_size, 1, 32, mask.data(), colours.data());
}
