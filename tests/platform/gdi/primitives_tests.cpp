// FillRect, FrameRect, LineTo, SetPixel, GetPixel and GetClipBox: pixels probed and whole images compared
// with images built by hand from Win32's rules.
#include <cstdlib>

#include "gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::Image;
using gdi_test::same_image;

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF green = RGB(0, 255, 0);
constexpr COLORREF blue = RGB(0, 0, 255);

void line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

}  // namespace

TEST(FillRect, FillsLeftToRightExcludedTopToBottomExcluded) {
    Canvas c(8, 6);
    HBRUSH brush = CreateSolidBrush(red);
    RECT r{2, 1, 5, 4};
    EXPECT_NE(FillRect(c.dc(), &r, brush), 0);
    DeleteObject(brush);
    Image expected(8, 6, white);
    expected.fill(2, 1, 5, 4, red);
    EXPECT_TRUE(same_image(c.read(), expected));
    EXPECT_EQ(GetPixel(c.dc(), 4, 3), red);
    EXPECT_EQ(GetPixel(c.dc(), 5, 3), white);  // right column excluded
    EXPECT_EQ(GetPixel(c.dc(), 4, 4), white);  // bottom row excluded
}

TEST(FillRect, EmptyRectanglesDrawNothingAndInvertedOnesFillShiftedByOne) {
    Canvas c(6, 6);
    HBRUSH brush = CreateSolidBrush(red);
    RECT empty_width{2, 1, 2, 4}, empty_height{1, 3, 5, 3};
    EXPECT_NE(FillRect(c.dc(), &empty_width, brush), 0);
    EXPECT_NE(FillRect(c.dc(), &empty_height, brush), 0);
    EXPECT_TRUE(same_image(c.read(), Image(6, 6, white)));
    // An inverted side covers from the smaller coordinate plus one to the larger, both included.
    Canvas d(8, 8);
    RECT inverted{4, 4, 1, 1}, wide{7, 6, 5, 8};
    EXPECT_NE(FillRect(d.dc(), &inverted, brush), 0);
    EXPECT_NE(FillRect(d.dc(), &wide, brush), 0);
    DeleteObject(brush);
    Image expected(8, 8, white);
    expected.fill(2, 2, 5, 5, red);
    expected.fill(6, 6, 8, 8, red);
    EXPECT_TRUE(same_image(d.read(), expected));
}

TEST(FillRect, SystemColourBrushValueIsColourIndexPlusOne) {
    Canvas c(4, 4);
    RECT r{0, 0, 2, 2};
    EXPECT_NE(FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), 0);
    RECT r2{2, 2, 4, 4};
    EXPECT_NE(FillRect(c.dc(), &r2, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1)), 0);
    EXPECT_EQ(GetPixel(c.dc(), 1, 1), RGB(240, 240, 240));
    EXPECT_EQ(GetPixel(c.dc(), 3, 3), RGB(0, 120, 215));
    EXPECT_EQ(GetPixel(c.dc(), 2, 1), white);
}

TEST(FillRect, ClippedToBitmapEvenFarOutside) {
    Canvas c(5, 5);
    HBRUSH brush = CreateSolidBrush(blue);
    RECT r{-100000, 3, 1000000, 2000000000};
    EXPECT_NE(FillRect(c.dc(), &r, brush), 0);
    RECT out{10, 10, 20, 20};
    EXPECT_NE(FillRect(c.dc(), &out, brush), 0);
    DeleteObject(brush);
    Image expected(5, 5, white);
    expected.fill(0, 3, 5, 5, blue);
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(FillRect, NullBrushDrawsNothingAndStockBrushesHaveTheirColours) {
    Canvas c(3, 1, red);
    RECT r0{0, 0, 1, 1}, r1{1, 0, 2, 1}, r2{2, 0, 3, 1};
    EXPECT_NE(FillRect(c.dc(), &r0, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 0);
    EXPECT_NE(FillRect(c.dc(), &r1, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_NE(FillRect(c.dc(), &r2, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
    EXPECT_EQ(GetPixel(c.dc(), 0, 0), red);
    EXPECT_EQ(GetPixel(c.dc(), 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc(), 2, 0), white);
}

TEST(FrameRect, DrawsOnePixelBorderInsideTheRectangle) {
    Canvas c(7, 6);
    HBRUSH brush = CreateSolidBrush(green);
    RECT r{1, 1, 6, 5};
    EXPECT_NE(FrameRect(c.dc(), &r, brush), 0);
    RECT empty{3, 3, 3, 5};
    EXPECT_EQ(FrameRect(c.dc(), &empty, brush), 0);
    DeleteObject(brush);
    Image expected(7, 6, white);
    expected.fill(1, 1, 6, 2, green);
    expected.fill(1, 4, 6, 5, green);
    expected.fill(1, 1, 2, 5, green);
    expected.fill(5, 1, 6, 5, green);
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(LineTo, HorizontalLineExcludesEndPointAndMovesPosition) {
    Canvas c(10, 3);
    HPEN pen = CreatePen(PS_SOLID, 1, red);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    MoveToEx(c.dc(), 2, 1, nullptr);
    EXPECT_TRUE(LineTo(c.dc(), 7, 1));
    POINT p{};
    MoveToEx(c.dc(), 0, 0, &p);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 1);
    SelectObject(c.dc(), old);
    DeleteObject(pen);
    Image expected(10, 3, white);
    expected.fill(2, 1, 7, 2, red);  // 2..6, 7 excluded
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(LineTo, RightToLeftAndUpwardLinesExcludeTheirEndPoints) {
    Canvas c(10, 10);
    HPEN pen = CreatePen(PS_SOLID, 1, blue);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    line(c.dc(), 8, 1, 3, 1);  // x 8..4
    line(c.dc(), 1, 9, 1, 4);  // y 9..5
    SelectObject(c.dc(), old);
    DeleteObject(pen);
    Image expected(10, 10, white);
    expected.fill(4, 1, 9, 2, blue);
    expected.fill(1, 5, 2, 10, blue);
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(LineTo, VerticalLineWithDefaultBlackPen) {
    Canvas c(3, 6);
    line(c.dc(), 1, 0, 1, 4);
    Image expected(3, 6, white);
    expected.fill(1, 0, 2, 4, RGB(0, 0, 0));
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(LineTo, DiagonalLinesFollowBresenham) {
    Canvas c(12, 12);
    HPEN pen = CreatePen(PS_SOLID, 1, green);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    line(c.dc(), 0, 0, 4, 4);    // 45 degrees: (0,0) .. (3,3)
    line(c.dc(), 11, 0, 8, 3);   // 45 degrees down-left: (11,0) .. (9,2)
    line(c.dc(), 0, 6, 6, 8);    // shallow: slope 1/3
    line(c.dc(), 10, 11, 9, 5);  // steep upward: slope 1/6
    SelectObject(c.dc(), old);
    DeleteObject(pen);
    Image expected(12, 12, white);
    for (int i = 0; i < 4; ++i)
        expected.set(i, i, green);
    for (int i = 0; i < 3; ++i)
        expected.set(11 - i, i, green);
    // (0,6) -> (6,8): y = 6 + round(x / 3): x 0,1 -> 6; x 2,3,4 -> 7; x 5 -> 8.
    const int shallow[6] = {6, 6, 7, 7, 7, 8};
    for (int x = 0; x < 6; ++x)
        expected.set(x, shallow[x], green);
    // (10,11) -> (9,5): x = 10 - round(i / 6) for y = 11 - i: i 0..2 -> 10, i = 3 is a half, which goes
    // toward the end on a line going up; i 3..5 -> 9.
    for (int i = 0; i < 6; ++i)
        expected.set(i < 3 ? 10 : 9, 11 - i, green);
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(LineTo, HalvesRoundByTheLinesDirection) {
    // From (10,10) to (10+dx, 10+dy), the pixel at the half step (step 1 of 2 or 3 of 6) is off the start
    // point's row or column exactly when the line goes up but not steeply right, or steeply down-left.
    struct Case {
        int dx, dy;
        bool toward_end;
    };
    const Case cases[] = {{4, 2, false},  {2, 4, false},  {-2, 4, true},  {-4, 2, false},
                          {-4, -2, true}, {-2, -4, true}, {2, -4, false}, {4, -2, true},
                          {6, 1, false},  {-1, 6, true},  {-6, -1, true}, {1, -6, false}};
    for (const Case& k : cases) {
        Canvas c(20, 20);
        line(c.dc(), 10, 10, 10 + k.dx, 10 + k.dy);
        const bool x_major = std::abs(k.dx) > std::abs(k.dy);
        const int major = x_major ? std::abs(k.dx) : std::abs(k.dy);
        const int step = major / (2 * (x_major ? std::abs(k.dy) : std::abs(k.dx)));  // offset exactly 1/2
        const int sx = k.dx < 0 ? -1 : 1, sy = k.dy < 0 ? -1 : 1;
        const int off = k.toward_end ? 1 : 0;
        const int x = 10 + sx * (x_major ? step : off), y = 10 + sy * (x_major ? off : step);
        EXPECT_NE(GetPixel(c.dc(), x, y), white) << k.dx << "," << k.dy;
    }
}

TEST(LineTo, NullPenDrawsNothingButMoves) {
    Canvas c(5, 5);
    HPEN pen = CreatePen(PS_NULL, 1, red);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    line(c.dc(), 0, 2, 5, 2);
    POINT p{};
    MoveToEx(c.dc(), 0, 0, &p);
    EXPECT_EQ(p.x, 5);
    SelectObject(c.dc(), old);
    DeleteObject(pen);
    EXPECT_TRUE(same_image(c.read(), Image(5, 5, white)));
}

TEST(LineTo, ClippedLinesFromFarOutside) {
    Canvas c(6, 6);
    HPEN pen = CreatePen(PS_SOLID, 1, red);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    line(c.dc(), -2000000000, 2, 2000000000, 2);
    line(c.dc(), 3, 2000000000, 3, -2000000000);
    line(c.dc(), -1000, -1000, 1000, 1000);
    SelectObject(c.dc(), old);
    DeleteObject(pen);
    Image expected(6, 6, white);
    expected.fill(0, 2, 6, 3, red);
    expected.fill(3, 0, 4, 6, red);
    for (int i = 0; i < 6; ++i)
        expected.set(i, i, red);
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(LineTo, CurrentPositionStartsAtOrigin) {
    Canvas c(4, 4);
    EXPECT_TRUE(LineTo(c.dc(), 3, 0));
    Image expected(4, 4, white);
    expected.fill(0, 0, 3, 1, RGB(0, 0, 0));
    EXPECT_TRUE(same_image(c.read(), expected));
}

TEST(SetPixel, RoundTripsColourAndReturnsIt) {
    Canvas c(4, 4);
    EXPECT_EQ(SetPixel(c.dc(), 1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(c.dc(), 1, 2), RGB(1, 2, 3));
    EXPECT_EQ(SetPixel(c.dc(), 3, 3, RGB(200, 100, 50)), RGB(200, 100, 50));
    EXPECT_EQ(GetPixel(c.dc(), 3, 3), RGB(200, 100, 50));
    EXPECT_EQ(GetPixel(c.dc(), 0, 0), white);
#ifndef _WIN32
    // Stored 0x00RRGGBB underneath.
    platform::gdi::Pixels px;
    ASSERT_TRUE(platform::gdi::bitmap_pixels(c.bitmap(), &px));
    EXPECT_EQ(px.data[2 * 4 + 1], 0x00010203u);
#endif
}

TEST(SetPixel, OutsideTheBitmapGivesClrInvalid) {
    Canvas c(4, 4);
    EXPECT_EQ(SetPixel(c.dc(), 4, 0, red), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), 0, 4, red), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), -1, 0, red), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc(), 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc(), 0, -1), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc(), 1 << 30, 1 << 30), CLR_INVALID);
    EXPECT_TRUE(same_image(c.read(), Image(4, 4, white)));
}

TEST(CreateCompatibleBitmap, NewBitmapIsBlack) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 2);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(GetClipBox, GivesTheBitmapAreaOfAMemoryDc) {
    Canvas c(8, 6);
    RECT box{};
    EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 8);
    EXPECT_EQ(box.bottom, 6);
    EXPECT_EQ(GetClipBox(nullptr, &box), RGN_ERROR);
}
