// BitBlt with SRCCOPY: plain copies, clipping at the source and the destination, overlapping copies within
// one bitmap, other raster operations refused.
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

TEST(BitBlt, OnlySrccopyIsSupported) {
    Canvas source(2, 2, RGB(1, 2, 3)), dest(2, 2);
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 2, 2, source.dc(), 0, 0, 0x00EE0086));  // SRCPAINT
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 2, 2, source.dc(), 0, 0, 0x00F00021));  // PATCOPY
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(same_image(dest.read(), Image(2, 2, white)));
}

TEST(BitBlt, ZeroExtentCopiesNothing) {
    Canvas source(2, 2, RGB(1, 2, 3)), dest(2, 2);
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 0, 2, source.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(same_image(dest.read(), Image(2, 2, white)));
}
