// Monochrome bitmaps: what a new memory DC holds, drawing into them, and copies to and from colour bitmaps.
#include "gdi_test_util.h"

using gdi_test::Canvas;

namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);

}  // namespace

TEST(Monochrome, NewMemoryDcHoldsOneByOneMonochromeBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP colour = gdi_test::colour_bitmap(2, 2);
    HGDIOBJ original = SelectObject(dc, colour);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(original, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    SelectObject(dc, original);
    DeleteObject(colour);
    DeleteDC(dc);
}

TEST(Monochrome, DrawingTakesTheNearerOfBlackAndWhite) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateCompatibleBitmap(dc, 4, 1);
    HGDIOBJ old = SelectObject(dc, mono);
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(200, 190, 180)), white);
    EXPECT_EQ(SetPixel(dc, 1, 0, RGB(255, 0, 0)), black);
    EXPECT_EQ(GetPixel(dc, 0, 0), white);
    EXPECT_EQ(GetPixel(dc, 1, 0), black);
    RECT right{2, 0, 4, 1};
    HBRUSH light = CreateSolidBrush(RGB(250, 240, 230));
    FillRect(dc, &right, light);
    EXPECT_EQ(GetPixel(dc, 3, 0), white);
    SelectObject(dc, old);
    DeleteObject(light);
    DeleteObject(mono);
    DeleteDC(dc);
}

TEST(Monochrome, CopiesConvertThroughTheDcColours) {
    Canvas colour(2, 1, RGB(9, 9, 9));
    SetPixel(colour.dc(), 1, 0, RGB(40, 50, 60));
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateCompatibleBitmap(dc, 2, 1);
    HGDIOBJ old = SelectObject(dc, mono);
    // Colour to monochrome: the source's background colour becomes white, every other colour black.
    SetBkColor(colour.dc(), RGB(40, 50, 60));
    EXPECT_TRUE(BitBlt(dc, 0, 0, 2, 1, colour.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 0, 0), black);
    EXPECT_EQ(GetPixel(dc, 1, 0), white);
    // Monochrome to colour: black takes the destination's text colour, white its background colour.
    SetTextColor(colour.dc(), RGB(1, 2, 3));
    SetBkColor(colour.dc(), RGB(200, 100, 50));
    EXPECT_TRUE(BitBlt(colour.dc(), 0, 0, 2, 1, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(colour.dc(), 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(colour.dc(), 1, 0), RGB(200, 100, 50));
    SelectObject(dc, old);
    DeleteObject(mono);
    DeleteDC(dc);
}

TEST(GetObjectA, BrushesAndPensDescribeThemselves) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
    EXPECT_EQ(GetObjectA(brush, 0, nullptr), int(sizeof(LOGBRUSH)));
    EXPECT_EQ(GetObjectA(pen, 0, nullptr), int(sizeof(LOGPEN)));
    LOGBRUSH brush_info{};
    ASSERT_EQ(GetObjectA(brush, sizeof brush_info, &brush_info), int(sizeof brush_info));
    EXPECT_EQ(brush_info.lbStyle, UINT(BS_SOLID));
    EXPECT_EQ(brush_info.lbColor, RGB(1, 2, 3));
    LOGPEN pen_info{};
    ASSERT_EQ(GetObjectA(pen, sizeof pen_info, &pen_info), int(sizeof pen_info));
    EXPECT_EQ(pen_info.lopnStyle, UINT(PS_SOLID));
    EXPECT_EQ(pen_info.lopnWidth.x, 1);
    EXPECT_EQ(pen_info.lopnColor, RGB(4, 5, 6));
    // A brush fills what fits of too small a buffer; a pen needs room for all of it.
    LOGBRUSH part{};
    part.lbColor = RGB(9, 9, 9);
    EXPECT_EQ(GetObjectA(brush, 4, &part), 4);
    EXPECT_EQ(part.lbStyle, UINT(BS_SOLID));
    EXPECT_EQ(part.lbColor, RGB(9, 9, 9));
    EXPECT_EQ(GetObjectA(pen, 2, &pen_info), 0);
    DeleteObject(brush);
    DeleteObject(pen);
}
