// Screenshots of a whole X screen taken with ImageMagick's `import`, read back pixel by pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

class Screen_Image {
public:
    // Takes a screenshot of the root window of `display`; false (with `error` set) when that fails.
    bool capture(const std::string& display, std::string* error);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> rgb_;
};

std::string describe(const Rgb& colour);

}  // namespace e2e
