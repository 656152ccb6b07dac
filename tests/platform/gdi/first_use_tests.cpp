// A new compatible bitmap is black. Its pixels are written when first needed, and not where fills and DIB
// copies set them before anything reads it: the same drawing on a bitmap read first (so made black at once)
// must give the same image. The new bitmap is large and made right after a red one of its size is deleted,
// so that it gets that memory.
#include <cstdint>
#include <functional>
#include <vector>

#include "gdi_test_util.h"

namespace {

constexpr int width = 1600, height = 1200;

void fill(HDC dc, RECT rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A DIB of distinct pixels copied with its top-left corner at (x, y); top-down when `rows` is negative.
void copy_dib(HDC dc, int x, int y, int columns, int rows) {
    const int lines = rows < 0 ? -rows : rows;
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(columns) * lines);
    for (std::size_t k = 0; k < bits.size(); ++k)
        bits[k] = static_cast<std::uint32_t>(k * 2654435761u) & 0x00FFFFFFu;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), columns, rows, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, x, y, columns, lines, 0, 0, 0, lines, bits.data(), &info, DIB_RGB_COLORS);
}

std::vector<std::uint32_t> pixels_of(HBITMAP bitmap) {
    platform::gdi::Pixels pixels;
    if (!platform::gdi::bitmap_pixels(bitmap, &pixels)) return {};
    return {pixels.data, pixels.data + static_cast<std::size_t>(pixels.width) * pixels.height};
}

// The drawing on a new bitmap, and on one that was read before it.
void expect_same_as_on_a_read_bitmap(const std::function<void(HDC)>& draw) {
    { gdi_test::Canvas earlier(width, height, RGB(255, 0, 0)); }
    HDC fresh_dc = CreateCompatibleDC(nullptr), read_dc = CreateCompatibleDC(nullptr);
    HBITMAP fresh = CreateCompatibleBitmap(fresh_dc, width, height);
    HBITMAP read = CreateCompatibleBitmap(read_dc, width, height);
    HGDIOBJ old_fresh = SelectObject(fresh_dc, fresh), old_read = SelectObject(read_dc, read);
    ASSERT_EQ(GetPixel(read_dc, 0, 0), RGB(0, 0, 0));
    draw(fresh_dc);
    draw(read_dc);
    EXPECT_TRUE(pixels_of(fresh) == pixels_of(read));
    SelectObject(fresh_dc, old_fresh);
    SelectObject(read_dc, old_read);
    DeleteObject(fresh);
    DeleteObject(read);
    DeleteDC(fresh_dc);
    DeleteDC(read_dc);
}

}  // namespace

TEST(CompatibleBitmapFirstUse, FillsAndCopiesBeforeAnyReadGiveTheSameImage) {
    const RECT hole{300, 200, 1100, 900};
    const std::pair<const char*, std::function<void(HDC)>> cases[] = {
        {"one fill from outside",
         [](HDC dc) {
             fill(dc, {-5, -5, 200, height + 100}, RGB(0, 255, 0));
         }},
        {"strips around a hole, then a copy into it",
         [&](HDC dc) {
             fill(dc, {0, 0, width, hole.top}, RGB(0, 0, 255));
             fill(dc, {0, hole.top, hole.left, hole.bottom}, RGB(0, 0, 255));
             fill(dc, {hole.right, hole.top, width, hole.bottom}, RGB(0, 0, 255));
             fill(dc, {0, hole.bottom, width, height}, RGB(0, 0, 255));
             copy_dib(dc, hole.left, hole.top, hole.right - hole.left, hole.bottom - hole.top);
             SetPixel(dc, 5, 5, RGB(1, 2, 3));
         }},
        {"copies cut off by the edges",
         [](HDC dc) {
             copy_dib(dc, -40, height - 30, 300, 100);
             copy_dib(dc, width - 50, -20, 120, -90);
             fill(dc, {700, 700, 900, 720}, RGB(9, 9, 9));
         }},
        {"more fills than are kept track of",
         [](HDC dc) {
             for (int k = 0; k < 40; ++k)
                 fill(dc, {k * 37, k * 29, k * 37 + 25, k * 29 + 300}, RGB(k, 255 - k, 7));
         }},
        {"a read between fills",
         [](HDC dc) {
             fill(dc, {10, 10, 500, 500}, RGB(0, 255, 0));
             GetPixel(dc, 600, 600);
             fill(dc, {400, 400, 900, 900}, RGB(255, 255, 0));
         }},
    };
    for (const auto& [name, draw] : cases) {
        SCOPED_TRACE(name);
        expect_same_as_on_a_read_bitmap(draw);
    }
}
