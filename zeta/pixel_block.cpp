#include "zeta/pixel_block.h"

#include <algorithm>

namespace {

std::size_t pixel_count(std::int32_t width, std::int32_t height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace

Pixel_Block::Pixel_Block(std::int32_t width, std::int32_t height)
    : width_(width),
      height_(height),
      pixels_(std::make_unique_for_overwrite<std::uint32_t[]>(pixel_count(width, height))) {}

void Pixel_Block::fill(std::uint32_t pixel) {
    std::fill_n(pixels_.get(), pixel_count(width_, height_), pixel);
}

void Pixel_Block::repeat_bottom_row() {
    for (std::int32_t up = 1; up < height_; ++up)
        std::copy_n(row(0), width_, row(up));
}

// The bottom rows alone are a bottom-up bitmap of their own: the first rows in memory.
void Pixel_Block::copy_to(HDC dc, int left, int top, std::int32_t rows) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = rows;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(width_), static_cast<DWORD>(rows), 0, 0, 0,
                      static_cast<UINT>(rows), pixels_.get(), &info, DIB_RGB_COLORS);
}
