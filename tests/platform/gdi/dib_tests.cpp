// SetDIBitsToDevice with 32-bit BI_RGB bitmaps as Win32 documents it: a bottom-up DIB's first row in memory
// is its bottom row, a top-down DIB's is its top row; the source rectangle's corner is taken from the DIB's
// origin; the bits may hold only a band of scan lines; the destination is clipped to the bitmap; the result
// is the number of scan lines set.
#include <cstdint>
#include <vector>

#include "gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::Image;
using gdi_test::same_image;

namespace {

constexpr COLORREF white = RGB(255, 255, 255);

// Memory row r, column c of a DIB holds a colour naming both.
COLORREF cell_colour(int c, int r) {
    return RGB(10 * c + 1, 10 * r + 2, 99);
}

// DIB pixels 0x00RRGGBB; the unused top byte is set to show that it is ignored.
std::vector<std::uint32_t> dib_bits(int width, int rows) {
    std::vector<std::uint32_t> bits;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < width; ++c) {
            const COLORREF colour = cell_colour(c, r);
            bits.push_back(0xAB000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 |
                           GetBValue(colour));
        }
    }
    return bits;
}

BITMAPINFO dib_info(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

TEST(SetDIBitsToDevice, BottomUpDibShowsItsLastMemoryRowOnTopATopDownDibItsFirst) {
    const std::vector<std::uint32_t> bits = dib_bits(3, 2);
    for (const bool top_down : {false, true}) {
        SCOPED_TRACE(top_down ? "top-down" : "bottom-up");
        Canvas canvas(5, 4);
        const BITMAPINFO info = dib_info(3, top_down ? -2 : 2);
        EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 1, 1, 3, 2, 0, 0, 0, 2, bits.data(), &info, DIB_RGB_COLORS),
                  2);
        Image expected(5, 4, white);
        for (int c = 0; c < 3; ++c) {
            expected.set(1 + c, 1, cell_colour(c, top_down ? 0 : 1));
            expected.set(1 + c, 2, cell_colour(c, top_down ? 1 : 0));
        }
        EXPECT_TRUE(same_image(canvas.read(), expected));
    }
}

TEST(SetDIBitsToDevice, PartialSourceRectangleCountsFromTheDibsOrigin) {
    const std::vector<std::uint32_t> bits = dib_bits(4, 4);
    // Columns 1 and 2 of lines 1 and 2: bottom-up, line 2 (memory row 2) is the upper one.
    Canvas bottom_up(3, 3);
    const BITMAPINFO bottom_up_info = dib_info(4, 4);
    EXPECT_EQ(SetDIBitsToDevice(bottom_up.dc(), 0, 0, 2, 2, 1, 1, 0, 4, bits.data(), &bottom_up_info,
                                DIB_RGB_COLORS),
              4);
    Image expected(3, 3, white);
    for (int c = 0; c < 2; ++c) {
        expected.set(c, 0, cell_colour(1 + c, 2));
        expected.set(c, 1, cell_colour(1 + c, 1));
    }
    EXPECT_TRUE(same_image(bottom_up.read(), expected));

    Canvas top_down(3, 3);
    const BITMAPINFO top_down_info = dib_info(4, -4);
    SetDIBitsToDevice(top_down.dc(), 0, 0, 2, 2, 1, 1, 0, 4, bits.data(), &top_down_info, DIB_RGB_COLORS);
    for (int c = 0; c < 2; ++c) {
        expected.set(c, 0, cell_colour(1 + c, 1));
        expected.set(c, 1, cell_colour(1 + c, 2));
    }
    EXPECT_TRUE(same_image(top_down.read(), expected));
}

TEST(SetDIBitsToDevice, ClippedAtEveryEdgeOfTheBitmapAndStillCountsEveryLine) {
    const std::vector<std::uint32_t> bits = dib_bits(4, 4);
    const BITMAPINFO info = dib_info(4, -4);
    Canvas canvas(2, 2);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), -1, -1, 4, 4, 0, 0, 0, 4, bits.data(), &info, DIB_RGB_COLORS),
              4);
    Image expected(2, 2, white);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            expected.set(x, y, cell_colour(x + 1, y + 1));
    EXPECT_TRUE(same_image(canvas.read(), expected));

    // A source rectangle reaching past the DIB draws only the DIB's part.
    Canvas wide(6, 6);
    SetDIBitsToDevice(wide.dc(), 0, 0, 6, 6, 2, 0, 0, 4, bits.data(), &info, DIB_RGB_COLORS);
    Image only_dib(6, 6, white);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            only_dib.set(x, y, cell_colour(x + 2, y));
    EXPECT_TRUE(same_image(wide.read(), only_dib));
}

TEST(SetDIBitsToDevice, BitsHoldingABandDrawOnlyThoseLines) {
    // A bottom-up DIB of 4 lines; the bits hold lines 2 and 3 (the upper two), line 2 first.
    const std::vector<std::uint32_t> band = dib_bits(2, 2);
    const BITMAPINFO info = dib_info(2, 4);
    Canvas canvas(2, 4);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 2, 4, 0, 0, 2, 2, band.data(), &info, DIB_RGB_COLORS), 2);
    Image expected(2, 4, white);
    for (int c = 0; c < 2; ++c) {
        expected.set(c, 0, cell_colour(c, 1));  // line 3
        expected.set(c, 1, cell_colour(c, 0));  // line 2
    }
    EXPECT_TRUE(same_image(canvas.read(), expected));
    // More lines than the DIB has past the start: only those it has are counted.
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 2, 4, 0, 0, 3, 5, band.data(), &info, DIB_RGB_COLORS), 1);
}

TEST(SetDIBitsToDevice, RefusesWhatItCannotDrawAndDrawsNothing) {
    const std::vector<std::uint32_t> bits = dib_bits(2, 2);
    Canvas canvas(2, 2);
    const BITMAPINFO good = dib_info(2, 2);
    BITMAPINFO bits_24 = good, compressed = good, no_height = good;
    bits_24.bmiHeader.biBitCount = 24;
    compressed.bmiHeader.biCompression = 3;  // BI_BITFIELDS
    no_height.bmiHeader.biHeight = 0;
    for (const BITMAPINFO* info : {&bits_24, &compressed, &no_height})
        EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 2, 2, 0, 0, 0, 2, bits.data(), info, DIB_RGB_COLORS),
                  0);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 2, 2, 0, 0, 0, 2, nullptr, &good, DIB_RGB_COLORS), 0);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 2, 2, 0, 0, 0, 0, bits.data(), &good, DIB_RGB_COLORS), 0);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 2, 2, 0, 0, 2, 1, bits.data(), &good, DIB_RGB_COLORS), 0);
    EXPECT_EQ(SetDIBitsToDevice(nullptr, 0, 0, 2, 2, 0, 0, 0, 2, bits.data(), &good, DIB_RGB_COLORS), 0);
    EXPECT_TRUE(same_image(canvas.read(), Image(2, 2, white)));
}

TEST(SetDIBitsToDevice, WindowDcPlacesThroughItsOriginAndClipsToItsArea) {
    // A child window's client area (2, 2) .. (6, 6) of an 8 x 8 back store.
    HBITMAP surface = platform::gdi::create_surface(8, 8);
    HDC dc = platform::gdi::create_surface_dc(surface, POINT{2, 2}, RECT{2, 2, 6, 6});
    const std::vector<std::uint32_t> bits = dib_bits(6, 6);
    const BITMAPINFO info = dib_info(6, -6);
    EXPECT_EQ(SetDIBitsToDevice(dc, -1, -1, 6, 6, 0, 0, 0, 6, bits.data(), &info, DIB_RGB_COLORS), 6);
    platform::gdi::Pixels shown;
    ASSERT_TRUE(platform::gdi::bitmap_pixels(surface, &shown));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;
            const COLORREF colour = inside ? cell_colour(x - 1, y - 1) : white;
            EXPECT_EQ(shown.data[y * 8 + x],
                      GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour))
                << x << ", " << y;
        }
    }
    platform::gdi::delete_surface_dc(dc);
    platform::gdi::destroy_surface(surface);
}
