#include "tools/png_file.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace {

void report_error(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = std::string("PNG: ") + message;
    png_longjmp(png, 1);
}

void ignore_warning(png_structp, png_const_charp) {}

// One RGB row, 3 bytes per pixel.
void pack_row(const Image& image, int y, std::vector<png_byte>& row) {
    const std::uint32_t* source = &image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width)];
    for (int x = 0; x < image.width; ++x) {
        row[3 * static_cast<size_t>(x)] = static_cast<png_byte>(source[x] >> 16);
        row[3 * static_cast<size_t>(x) + 1] = static_cast<png_byte>(source[x] >> 8);
        row[3 * static_cast<size_t>(x) + 2] = static_cast<png_byte>(source[x]);
    }
}

}  // namespace

bool write_png(std::FILE* file, const Image& image, std::string& error) {
    std::vector<png_byte> row(3 * static_cast<size_t>(image.width));
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, report_error, ignore_warning);
    if (png == nullptr) {
        error = "PNG: cannot start the encoder";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    // Nothing with a destructor may be created between here and the end: libpng's errors jump back here.
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        if (info == nullptr) error = "PNG: cannot start the encoder";
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        pack_row(image, y, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}
