#include "tests/tools/png_reading.h"

#include <png.h>

namespace tools_test {

Decoded_Png read_png(const std::string& path) {
    Decoded_Png decoded;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        decoded.error = image.message;
        return decoded;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
        decoded.error = image.message;
        png_image_free(&image);
        return decoded;
    }
    decoded.width = static_cast<int>(image.width);
    decoded.height = static_cast<int>(image.height);
    decoded.pixels.resize(static_cast<size_t>(decoded.width) * static_cast<size_t>(decoded.height));
    for (size_t i = 0; i < decoded.pixels.size(); ++i) {
        decoded.pixels[i] = std::uint32_t{bytes[3 * i]} << 16 | std::uint32_t{bytes[3 * i + 1]} << 8 |
                            std::uint32_t{bytes[3 * i + 2]};
    }
    decoded.ok = true;
    return decoded;
}

}  // namespace tools_test
