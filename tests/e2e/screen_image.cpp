#include "screen_image.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "child_process.h"

namespace e2e {

bool Screen_Image::capture(const std::string& display, std::string* error) {
    std::string path = "/tmp/zeta-e2e-shot-" + std::to_string(getpid()) + ".ppm";
    Exit shot = run({"import", "-display", display, "-window", "root", "-depth", "8", "ppm:" + path}, {});
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int max_value = 0;
    in >> magic >> width_ >> height_ >> max_value;
    in.get();  // the one whitespace byte before the pixels
    std::vector<std::uint8_t> pixels((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    unlink(path.c_str());
    if (shot.status != 0 || magic != "P6" || max_value != 255 || width_ <= 0 || height_ <= 0 ||
        pixels.size() < static_cast<std::size_t>(width_) * height_ * 3) {
        *error = "import failed (status " + std::to_string(shot.status) + "): " + shot.err;
        width_ = height_ = 0;
        return false;
    }
    rgb_ = std::move(pixels);
    return true;
}

Rgb Screen_Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
    const std::uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    return {p[0], p[1], p[2]};
}

std::string describe(const Rgb& colour) {
    std::ostringstream text;
    text << "(" << colour.red << ", " << colour.green << ", " << colour.blue << ")";
    return text.str();
}

}  // namespace e2e
