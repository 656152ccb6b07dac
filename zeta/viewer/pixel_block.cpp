#include "zeta/viewer/pixel_block.h"

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

// The bottom `rows_held` rows alone are a bottom-up bitmap of their own: the first rows in memory. Of a
// bottom-up bitmap the source rectangle's top row, first_up + rows - 1, lands on `top`.
void Pixel_Block::copy_rect(HDC dc, int left, int top, std::int32_t rows_held, std::int32_t first_column,
                            std::int32_t first_up, std::int32_t columns, std::int32_t rows) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = rows_held;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(columns), static_cast<DWORD>(rows), first_column,
                      first_up, 0, static_cast<UINT>(rows_held), pixels_.get(), &info, DIB_RGB_COLORS);
}

void Pixel_Block::copy_to(HDC dc, int left, int top, std::int32_t rows) const {
    copy_rect(dc, left, top, rows, 0, 0, width_, rows);
}

void Pixel_Block::copy_part_to(HDC dc, int left, int top, std::int32_t first_column, std::int32_t first_up,
                               std::int32_t columns, std::int32_t rows) const {
    copy_rect(dc, left, top, height_, first_column, first_up, columns, rows);
}
