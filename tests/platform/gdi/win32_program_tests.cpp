// A small program written against win32.h alone, as it would be written for Windows: a memory DC with a
// bitmap compatible with the screen, rectangles, lines, pixels and text, read back with GetPixel. Expected
// values follow Win32's documented rules: FillRect excludes the right column and bottom row; LineTo excludes
// its end point and leaves the current position there; SetPixel returns the colour it set.
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

constexpr int W = 16;
constexpr int H = 12;

class Win32Program : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(NULL);
        ASSERT_NE(dc, nullptr);
        HDC screen = GetDC(NULL);  // a colour bitmap: the new memory DC's own is monochrome
        bitmap = CreateCompatibleBitmap(screen, W, H);
        ReleaseDC(NULL, screen);
        ASSERT_NE(bitmap, nullptr);
        old_bitmap = SelectObject(dc, bitmap);
        ASSERT_NE(old_bitmap, nullptr);
        RECT all = {0, 0, W, H};
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(dc, &all, white);
        DeleteObject(white);
    }
    void TearDown() override {
        SelectObject(dc, old_bitmap);
        EXPECT_TRUE(DeleteObject(bitmap));
        EXPECT_TRUE(DeleteDC(dc));
    }
    HDC dc = NULL;
    HBITMAP bitmap = NULL;
    HGDIOBJ old_bitmap = NULL;
};

}  // namespace

TEST_F(Win32Program, FillRectLineToAndSetPixelMatchWin32) {
    // Rectangle (2, 1) - (6, 4): columns 2..5, rows 1..3.
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r = {2, 1, 6, 4};
    EXPECT_NE(FillRect(dc, &r, red), 0);
    DeleteObject(red);

    // A horizontal line (1, 6) -> (9, 6): columns 1..8 on row 6; a vertical one (12, 2) -> (12, 9):
    // rows 2..8.
    HPEN blue = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ old_pen = SelectObject(dc, blue);
    POINT previous;
    EXPECT_TRUE(MoveToEx(dc, 1, 6, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    EXPECT_TRUE(LineTo(dc, 9, 6));
    EXPECT_TRUE(MoveToEx(dc, 12, 2, &previous));
    EXPECT_EQ(previous.x, 9);  // LineTo moved the current position to its end point
    EXPECT_EQ(previous.y, 6);
    EXPECT_TRUE(LineTo(dc, 12, 9));
    // A diagonal (0, 11) -> (4, 7): (0, 11), (1, 10), (2, 9), (3, 8); not (4, 7).
    MoveToEx(dc, 0, 11, NULL);
    LineTo(dc, 4, 7);
    EXPECT_EQ(SelectObject(dc, old_pen), blue);
    EXPECT_TRUE(DeleteObject(blue));

    EXPECT_EQ(SetPixel(dc, 15, 11, RGB(0, 128, 0)), RGB(0, 128, 0));
    EXPECT_EQ(SetPixel(dc, 16, 11, RGB(0, 128, 0)), CLR_INVALID);

    COLORREF expected[H][W];
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            expected[y][x] = RGB(255, 255, 255);
    for (int y = 1; y <= 3; ++y)
        for (int x = 2; x <= 5; ++x)
            expected[y][x] = RGB(255, 0, 0);
    for (int x = 1; x <= 8; ++x)
        expected[6][x] = RGB(0, 0, 255);
    for (int y = 2; y <= 8; ++y)
        expected[y][12] = RGB(0, 0, 255);
    for (int i = 0; i < 4; ++i)
        expected[11 - i][i] = RGB(0, 0, 255);
    expected[11][15] = RGB(0, 128, 0);

    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), expected[y][x]) << "pixel " << x << ", " << y;
    EXPECT_EQ(GetPixel(dc, W, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, H), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, -1, -1), CLR_INVALID);
}

TEST_F(Win32Program, TextStaysInsideItsExtent) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, OPAQUE);
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "ii", 2, &size));
    ASSERT_EQ(size.cy, 16);
    ASSERT_LT(size.cx, W);
    RECT box = {0, 0, W, H};
    EXPECT_EQ(DrawTextA(dc, "ii", 2, &box, 0), 16);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            COLORREF p = GetPixel(dc, x, y);
            if (x < size.cx) {
                EXPECT_EQ(GetRValue(p), 0) << x << ", " << y;  // blue background with black ink
                EXPECT_EQ(GetGValue(p), 0) << x << ", " << y;
            } else {
                EXPECT_EQ(p, RGB(255, 255, 255)) << x << ", " << y;
            }
        }
    }
    EXPECT_TRUE(TextOutA(dc, 0, 0, "x", 1));
}

TEST_F(Win32Program, BitBltCopiesBetweenMemoryDcs) {
    HDC second = CreateCompatibleDC(dc);
    HBITMAP second_bitmap = CreateCompatibleBitmap(dc, 4, 4);
    HGDIOBJ old = SelectObject(second, second_bitmap);
    SetPixel(second, 1, 2, RGB(10, 20, 30));
    EXPECT_TRUE(BitBlt(dc, 5, 5, 4, 4, second, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 6, 7), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));  // a new compatible bitmap is black
    EXPECT_EQ(GetPixel(dc, 9, 5), RGB(255, 255, 255));
    SelectObject(second, old);
    DeleteObject(second_bitmap);
    DeleteDC(second);
}
