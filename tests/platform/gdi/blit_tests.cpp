// BitBlt: plain copies, clipping at the source and the destination, overlapping copies within one bitmap,
// and the raster operations that combine source, destination and the destination's brush.
#include "gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::Image;
using gdi_test::same_image;

namespace {

// A distinct colour for every pixel position.
COLORREF pattern(int x, int y) {
    return RGB(10 + x, 100 + y, 7);
}

void paint_pattern(HDC dc, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixel(dc, x, y, pattern(x, y));
}

Image pattern_image(int w, int h) {
    Image image(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.set(x, y, pattern(x, y));
    return image;
}

constexpr COLORREF white = RGB(255, 255, 255);

}  // namespace

TEST(BitBlt, CopiesABlockBetweenBitmaps) {
    Canvas source(6, 5), dest(8, 8);
    paint_pattern(source.dc(), 6, 5);
    EXPECT_TRUE(BitBlt(dest.dc(), 3, 2, 4, 3, source.dc(), 1, 1, SRCCOPY));
    Image expected(8, 8, white);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            expected.set(3 + x, 2 + y, pattern(1 + x, 1 + y));
    EXPECT_TRUE(same_image(dest.read(), expected));
    EXPECT_TRUE(same_image(source.read(), pattern_image(6, 5)));
}

TEST(BitBlt, ClippedAtTheDestination) {
    Canvas source(6, 6), dest(4, 4);
    paint_pattern(source.dc(), 6, 6);
    EXPECT_TRUE(BitBlt(dest.dc(), -2, 2, 6, 6, source.dc(), 0, 0, SRCCOPY));
    Image expected(4, 4, white);
    for (int y = 2; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            expected.set(x, y, pattern(x + 2, y - 2));
    EXPECT_TRUE(same_image(dest.read(), expected));
}

TEST(BitBlt, ClippedAtTheSourceLeavesTheRestUntouched) {
    Canvas source(3, 3), dest(6, 6);
    paint_pattern(source.dc(), 3, 3);
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 6, 6, source.dc(), -1, -2, SRCCOPY));
    Image expected(6, 6, white);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            expected.set(x + 1, y + 2, pattern(x, y));
    EXPECT_TRUE(same_image(dest.read(), expected));
}

TEST(BitBlt, EntirelyOutsideCopiesNothing) {
    Canvas source(3, 3), dest(3, 3);
    paint_pattern(source.dc(), 3, 3);
    EXPECT_TRUE(BitBlt(dest.dc(), 10, 10, 3, 3, source.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 3, 3, source.dc(), -5, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 2000000000, 2000000000, source.dc(), -2000000000, 0, SRCCOPY));
    EXPECT_TRUE(same_image(dest.read(), Image(3, 3, white)));
}

TEST(BitBlt, OverlappingCopyToTheLowerRight) {
    Canvas c(6, 6);
    paint_pattern(c.dc(), 6, 6);
    EXPECT_TRUE(BitBlt(c.dc(), 1, 2, 4, 3, c.dc(), 0, 0, SRCCOPY));
    Image expected = pattern_image(6, 6);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            expected.set(1 + x, 2 + y, pattern(x, y));
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(BitBlt, OverlappingCopyToTheUpperLeft) {
    Canvas c(6, 6);
    paint_pattern(c.dc(), 6, 6);
    EXPECT_TRUE(BitBlt(c.dc(), 0, 0, 5, 4, c.dc(), 1, 2, SRCCOPY));
    Image expected = pattern_image(6, 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            expected.set(x, y, pattern(1 + x, 2 + y));
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(BitBlt, OverlappingCopyWithinOneRow) {
    Canvas c(8, 1);
    paint_pattern(c.dc(), 8, 1);
    EXPECT_TRUE(BitBlt(c.dc(), 2, 0, 6, 1, c.dc(), 0, 0, SRCCOPY));
    Image expected = pattern_image(8, 1);
    for (int x = 0; x < 6; ++x)
        expected.set(2 + x, 0, pattern(x, 0));
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(BitBlt, RasterOperationsCombineSourceDestinationAndBrush) {
    const COLORREF s = RGB(0x0F, 0x33, 0x5A);
    const COLORREF d = RGB(0xF0, 0x55, 0x3C);
    const COLORREF p = RGB(0x81, 0x7E, 0x18);
    const COLORREF all = 0x00FFFFFF;
    struct Case {
        const char* name;
        DWORD rop;
        COLORREF expected;
    };
    const Case cases[] = {
        {"SRCCOPY", SRCCOPY, s},
        {"SRCPAINT", SRCPAINT, s | d},
        {"SRCAND", SRCAND, s & d},
        {"SRCINVERT", SRCINVERT, s ^ d},
        {"SRCERASE", SRCERASE, s & (~d & all)},
        {"NOTSRCCOPY", NOTSRCCOPY, ~s & all},
        {"NOTSRCERASE", NOTSRCERASE, ~(s | d) & all},
        {"MERGECOPY", MERGECOPY, p & s},
        {"MERGEPAINT", MERGEPAINT, (~s & all) | d},
        {"DSTINVERT", DSTINVERT, ~d & all},
        {"BLACKNESS", BLACKNESS, 0},
        {"WHITENESS", WHITENESS, all},
        {"PATCOPY", PATCOPY, p},
        {"PATINVERT", PATINVERT, p ^ d},
    };
    Canvas source(2, 1, s);
    for (const Case& c : cases) {
        Canvas dest(3, 1, d);
        HBRUSH brush = CreateSolidBrush(p);
        HGDIOBJ old = SelectObject(dest.dc(), brush);
        EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 2, 1, source.dc(), 0, 0, c.rop)) << c.name;
        Image expected(3, 1, d);
        expected.fill(0, 0, 2, 1, c.expected);
        EXPECT_TRUE(same_image(dest.read(), expected)) << c.name;
        SelectObject(dest.dc(), old);
        DeleteObject(brush);
    }
}

TEST(BitBlt, OperationsWithoutSourceTakeNoSourceDc) {
    Canvas dest(2, 2);
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 1, 2, nullptr, 0, 0, BLACKNESS));
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    Image expected(2, 2, white);
    expected.fill(0, 0, 1, 2, RGB(0, 0, 0));
    EXPECT_TRUE(same_image(dest.read(), expected));
}

TEST(BitBlt, ZeroExtentCopiesNothing) {
    Canvas source(2, 2, RGB(1, 2, 3)), dest(2, 2);
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 0, 2, source.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(same_image(dest.read(), Image(2, 2, white)));
}

// GetDIBits of a 32-bit BI_RGB DIB, as Win32 documents it: lines counted from the DIB's origin (the bottom row
// for a positive height, the top row for a negative one), pixels 0x00RRGGBB, the number of lines copied. The
// bitmap is not selected into a DC while it is read.
TEST(GetDIBits, CopiesTheBitmapsRowsBottomUpOrTopDown) {
    gdi_test::Canvas canvas(3, 4, RGB(0, 0, 0));
    SetPixel(canvas.dc(), 0, 0, RGB(10, 20, 30));  // top left
    SetPixel(canvas.dc(), 2, 3, RGB(40, 50, 60));  // bottom right
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = gdi_test::colour_bitmap(3, 4);
    HDC copy = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, 3, 4, canvas.dc(), 0, 0, SRCCOPY);
    SelectObject(copy, old);
    DeleteDC(copy);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = -4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> top_down(12, 0xDEADBEEF);
    EXPECT_EQ(GetDIBits(dc, bitmap, 0, 4, top_down.data(), &info, DIB_RGB_COLORS), 4);
    EXPECT_EQ(top_down[0] & 0x00FFFFFFu, 0x000A141Eu);
    EXPECT_EQ(top_down[11] & 0x00FFFFFFu, 0x0028323Cu);
    EXPECT_EQ(top_down[5] & 0x00FFFFFFu, 0u);

    info.bmiHeader.biHeight = 4;
    std::vector<std::uint32_t> bottom_up(6, 0xDEADBEEF);
    EXPECT_EQ(GetDIBits(dc, bitmap, 0, 2, bottom_up.data(), &info, DIB_RGB_COLORS), 2) << "the bottom two rows";
    EXPECT_EQ(bottom_up[2] & 0x00FFFFFFu, 0x0028323Cu);
    EXPECT_EQ(bottom_up[3] & 0x00FFFFFFu, 0u);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
