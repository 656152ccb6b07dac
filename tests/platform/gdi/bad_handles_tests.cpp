// Null, deleted and wrong-type handles, null rectangles and negative counts give Win32's failure values.
#include "gdi_test_util.h"

namespace {

HDC deleted_dc() {
    HDC dc = CreateCompatibleDC(nullptr);
    DeleteDC(dc);
    return dc;
}

}  // namespace

TEST(GdiBadHandles, NullHandles) {
    RECT r{0, 0, 1, 1};
    SIZE size{};
    POINT p{};
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(GetObjectType(nullptr), 0u);
    EXPECT_EQ(GetObjectA(nullptr, sizeof(BITMAP), nullptr), 0);
    EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 1, 1), nullptr);
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_EQ(FillRect(nullptr, &r, GetSysColorBrush(COLOR_WINDOW)), 0);
    EXPECT_EQ(FrameRect(nullptr, &r, GetSysColorBrush(COLOR_WINDOW)), 0);
    EXPECT_FALSE(MoveToEx(nullptr, 0, 0, &p));
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    EXPECT_EQ(SetPixel(nullptr, 0, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(GetBkColor(nullptr), CLR_INVALID);
    EXPECT_EQ(SetBkMode(nullptr, TRANSPARENT), 0);
    EXPECT_EQ(GetBkMode(nullptr), 0);
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(GetTextColor(nullptr), CLR_INVALID);
    EXPECT_EQ(DrawTextA(nullptr, "a", 1, &r, 0), 0);
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "a", 1));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "a", 1, &size));
}

TEST(GdiBadHandles, DeletedHandles) {
    HDC dc = deleted_dc();
    HBRUSH brush = CreateSolidBrush(0);
    DeleteObject(brush);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    DeleteObject(pen);
    HDC live = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(live, 2, 2);
    DeleteObject(bitmap);
    RECT r{0, 0, 1, 1};
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectA(bitmap, sizeof(BITMAP), nullptr), 0);
    EXPECT_EQ(SelectObject(live, brush), nullptr);
    EXPECT_EQ(SelectObject(live, pen), nullptr);
    EXPECT_EQ(SelectObject(live, bitmap), nullptr);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(FillRect(live, &r, brush), 0);
    EXPECT_EQ(FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW)), 0);
    EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_FALSE(LineTo(dc, 1, 1));
    EXPECT_EQ(GetBkColor(dc), CLR_INVALID);
    EXPECT_FALSE(BitBlt(live, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(CreateCompatibleDC(dc), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(dc, 1, 1), nullptr);
    DeleteDC(live);
}

TEST(GdiBadHandles, WrongTypeHandles) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(0);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(FillRect(dc, &r, reinterpret_cast<HBRUSH>(pen)), 0);
    EXPECT_EQ(FillRect(reinterpret_cast<HDC>(brush), &r, brush), 0);
    EXPECT_EQ(SetPixel(reinterpret_cast<HDC>(pen), 0, 0, 0), CLR_INVALID);
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(brush)));
    EXPECT_EQ(SelectObject(dc, dc), nullptr);
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(pen), brush), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(reinterpret_cast<HDC>(brush), 1, 1), nullptr);
    BITMAP info{};
    EXPECT_EQ(GetObjectA(dc, sizeof info, &info), 0);   // a DC has no description
    EXPECT_EQ(GetObjectType(brush), DWORD(OBJ_BRUSH));  // untouched by the failures
    EXPECT_EQ(GetObjectType(pen), DWORD(OBJ_PEN));
    DeleteObject(brush);
    DeleteObject(pen);
    DeleteDC(dc);
}

TEST(GdiBadHandles, ForeignValuesAreNotHandles) {
    int local = 0;
    HDC fake = reinterpret_cast<HDC>(&local);
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(GetObjectType(fake), 0u);
    EXPECT_EQ(GetPixel(fake, 0, 0), CLR_INVALID);
    EXPECT_EQ(FillRect(fake, &r, GetSysColorBrush(COLOR_WINDOW)), 0);
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(HGDI_ERROR)));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(0x12345678))));
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1))), 0u);
}

TEST(GdiBadHandles, NullBrushAndNegativeCounts) {
    gdi_test::Canvas c(4, 4);
    RECT r{0, 0, 4, 4};
    SIZE size{};
    EXPECT_EQ(FillRect(c.dc(), &r, nullptr), 0);
    EXPECT_FALSE(TextOutA(c.dc(), 0, 0, "abc", -1));
    EXPECT_FALSE(GetTextExtentPoint32A(c.dc(), "abc", -1, &size));
    EXPECT_EQ(SetBkMode(c.dc(), 7), 0);
    EXPECT_EQ(GetBkMode(c.dc()), OPAQUE);
    EXPECT_TRUE(gdi_test::same_image(c.read(), gdi_test::Image(4, 4, RGB(255, 255, 255))));
}
