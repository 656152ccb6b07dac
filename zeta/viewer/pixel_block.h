// A block of pixels coloured in memory and copied to a device context in one call: a 32-bit
// device-independent bitmap whose first row in memory is its bottom row (a bottom-up DIB).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/win32.h"

// The block pixel of a red and a green channel (0 to 255 each), blue 0: 0x00RRGGBB.
inline std::uint32_t block_pixel(std::uint32_t red, std::uint32_t green) {
    return red << 16 | green << 8;
}

class Pixel_Block {
public:
    // A width x height block (both at least 1) whose pixels are not set yet: the caller sets every one.
    Pixel_Block(std::int32_t width, std::int32_t height);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

    // Row `up` counted from the bottom row (0) upward: `width` pixels.
    std::uint32_t* row(std::int32_t up) {
        return pixels_.get() + static_cast<std::size_t>(up) * static_cast<std::size_t>(width_);
    }

    void fill(std::uint32_t pixel);
    // Copies the bottom row into every other row.
    void repeat_bottom_row();

    // Copies the bottom `rows` rows (1 to height) with their top-left corner at (left, top) of the device
    // context.
    void copy_to(HDC dc, int left, int top, std::int32_t rows) const;
    // Copies `columns` x `rows` pixels, from column `first_column` and row `first_up` (counted from the
    // bottom) upward, with their top-left corner at (left, top) of the device context.
    void copy_part_to(HDC dc, int left, int top, std::int32_t first_column, std::int32_t first_up,
                      std::int32_t columns, std::int32_t rows) const;

private:
    void copy_rect(HDC dc, int left, int top, std::int32_t rows_held, std::int32_t first_column,
                   std::int32_t first_up, std::int32_t columns, std::int32_t rows) const;

    std::int32_t width_;
    std::int32_t height_;
    std::unique_ptr<std::uint32_t[]> pixels_;
};
