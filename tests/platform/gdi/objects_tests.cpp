// Object life cycle: creation and deletion counted, SelectObject returning the previous object, lazy deletion
// of a selected pen or brush, bitmaps selected into one DC at a time, stock objects, GetObject/GetObjectType.
#include <thread>
#include <utility>
#include <vector>

#include "gdi_test_util.h"

using platform::gdi::live_object_count;

TEST(GdiObjects, CreateAndDeleteAreCounted) {
    int before = live_object_count();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = gdi_test::colour_bitmap(10, 10);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
    ASSERT_TRUE(dc && bitmap && brush && pen);
    EXPECT_EQ(live_object_count(), before + 4);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(live_object_count(), before);
}

TEST(GdiObjects, StockObjectsAreNotCountedAndNeverDeleted) {
    int before = live_object_count();
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(GetObjectType(white), DWORD(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), DWORD(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), DWORD(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_PEN)), DWORD(OBJ_PEN));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), DWORD(OBJ_PEN));
    EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), DWORD(OBJ_FONT));
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), DWORD(OBJ_FONT));
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(1000), nullptr);
    EXPECT_TRUE(DeleteObject(white));
    EXPECT_EQ(GetObjectType(white), DWORD(OBJ_BRUSH));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
    EXPECT_EQ(live_object_count(), before);
}

TEST(GdiObjects, NewMemoryDcHasDefaultObjectsAndOneByOneBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC));
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(font, GetStockObject(SYSTEM_FONT));
    HBITMAP bitmap = gdi_test::colour_bitmap(5, 5);
    HGDIOBJ default_bitmap = SelectObject(dc, bitmap);
    ASSERT_NE(default_bitmap, nullptr);
    EXPECT_EQ(GetObjectType(default_bitmap), DWORD(OBJ_BITMAP));
    BITMAP info{};
    EXPECT_EQ(GetObjectA(default_bitmap, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(SelectObject(dc, default_bitmap), bitmap);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(GdiObjects, SelectObjectReturnsThePreviousObjectOfThatType) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN a = CreatePen(PS_SOLID, 1, RGB(1, 0, 0));
    HPEN b = CreatePen(PS_SOLID, 1, RGB(2, 0, 0));
    HBRUSH brush = CreateSolidBrush(0);
    HGDIOBJ original = SelectObject(dc, a);
    EXPECT_EQ(SelectObject(dc, b), a);
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));  // brushes have their own slot
    EXPECT_EQ(SelectObject(dc, b), b);                                // reselecting returns itself
    EXPECT_EQ(SelectObject(dc, original), b);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(brush);
    DeleteDC(dc);
}

TEST(GdiObjects, DeletingASelectedPenIsLazyUntilItsDcIsDeleted) {
    int before = live_object_count();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = gdi_test::colour_bitmap(4, 1);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(dc, pen);
    EXPECT_TRUE(DeleteObject(pen));              // TRUE at once
    EXPECT_EQ(live_object_count(), before + 3);  // but still alive while selected
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 3, 0);  // and still drawing
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetObjectType(pen), 0u);  // the handle is gone for new uses
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, pen), nullptr);
    DeleteDC(other);
    SelectObject(dc, old_bitmap);
    DeleteObject(bitmap);
    EXPECT_TRUE(DeleteDC(dc));  // frees the pen too
    EXPECT_EQ(live_object_count(), before);
}

TEST(GdiObjects, DeletingASelectedBrushIsFreedWhenDeselected) {
    int before = live_object_count();
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ original = SelectObject(dc, brush);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(live_object_count(), before + 2);
    EXPECT_EQ(SelectObject(dc, original), brush);  // deselected: freed now
    EXPECT_EQ(live_object_count(), before + 1);
    EXPECT_FALSE(DeleteObject(brush));
    DeleteDC(dc);
    EXPECT_EQ(live_object_count(), before);
}

TEST(GdiObjects, PenSelectedIntoTwoDcsLivesUntilBothLetGo) {
    int before = live_object_count();
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    SelectObject(a, pen);
    SelectObject(b, pen);
    EXPECT_TRUE(DeleteObject(pen));
    DeleteDC(a);
    EXPECT_EQ(live_object_count(), before + 2);  // b and the pen
    DeleteDC(b);
    EXPECT_EQ(live_object_count(), before);
}

TEST(GdiObjects, BitmapIsSelectedIntoOneDcAtATime) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = gdi_test::colour_bitmap(2, 2);
    HGDIOBJ old_a = SelectObject(a, bitmap);
    ASSERT_NE(old_a, nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);
    EXPECT_EQ(SelectObject(a, bitmap), bitmap);
    EXPECT_FALSE(DeleteObject(bitmap));  // selected: fails as on Windows NT
    EXPECT_EQ(GetObjectType(bitmap), DWORD(OBJ_BITMAP));
    SelectObject(a, old_a);
    HGDIOBJ old_b = SelectObject(b, bitmap);  // free again
    EXPECT_NE(old_b, nullptr);
    SelectObject(b, old_b);
    EXPECT_TRUE(DeleteObject(bitmap));
    DeleteDC(a);
    DeleteDC(b);
}

TEST(GdiObjects, DeletingADcReleasesItsBitmap) {
    HDC a = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = gdi_test::colour_bitmap(2, 2);
    SelectObject(a, bitmap);
    DeleteDC(a);
    HDC b = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(b, bitmap), nullptr);
    DeleteDC(b);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(GdiObjects, CreateCompatibleBitmapSizes) {
    HDC dc = CreateCompatibleDC(nullptr);
    int before = live_object_count();
    BITMAP info{};
    HBITMAP zero = CreateCompatibleBitmap(dc, 0, 7);
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(GetObjectA(zero, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    // A new memory DC holds a monochrome bitmap, so its compatible bitmaps are monochrome too.
    HBITMAP normal = CreateCompatibleBitmap(dc, 13, 7);
    EXPECT_EQ(GetObjectA(normal, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 13);
    EXPECT_EQ(info.bmHeight, 7);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);  // rows padded to 16 bits
    EXPECT_EQ(GetObjectA(normal, 0, nullptr), int(sizeof(BITMAP)));
    EXPECT_EQ(GetObjectA(normal, 4, &info), 0);
    EXPECT_EQ(CreateCompatibleBitmap(dc, 1 << 30, 1 << 30), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(dc, 2000000000, 1), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 5, 5), nullptr);
    EXPECT_EQ(live_object_count(), before + 2);
    DeleteObject(zero);
    DeleteObject(normal);
    DeleteDC(dc);
}

TEST(GdiObjects, CreateCompatibleBitmapTakesTheMagnitudeOfANegativeSize) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAP info{};
    for (auto [width, height] : {std::pair{-3, -5}, {-3, 5}, {3, -5}}) {
        HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), int(sizeof info));
        EXPECT_EQ(info.bmWidth, 3);
        EXPECT_EQ(info.bmHeight, 5);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(CreateCompatibleBitmap(dc, -(1 << 30), 1 << 30), nullptr);
    DeleteDC(dc);
}

TEST(GdiObjects, CreateCompatibleDcFromAnotherDc) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(a);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(GetObjectType(b), DWORD(OBJ_MEMDC));
    DeleteDC(b);
    EXPECT_EQ(CreateCompatibleDC(b), nullptr);  // deleted DC
    DeleteDC(a);
}

TEST(GdiObjects, CreatePenStyles) {
    HPEN null_pen = CreatePen(PS_NULL, 1, 0);
    HPEN dash = CreatePen(PS_DASH, 1, 0);
    EXPECT_NE(null_pen, nullptr);
    EXPECT_NE(dash, nullptr);
    // A style out of the range PS_SOLID .. PS_INSIDEFRAME gives a solid pen.
    for (int style : {-1, 7, 100}) {
        HPEN pen = CreatePen(style, 1, 0);
        ASSERT_NE(pen, nullptr);
        LOGPEN info{};
        EXPECT_EQ(GetObjectA(pen, sizeof info, &info), int(sizeof info));
        EXPECT_EQ(info.lopnStyle, UINT(PS_SOLID)) << style;
        DeleteObject(pen);
    }
    DeleteObject(null_pen);
    DeleteObject(dash);
}

TEST(GdiObjects, ObjectsCreatedOnOtherThreadsAreCounted) {
    int before = live_object_count();
    std::vector<std::thread> threads;
    std::vector<HBRUSH> brushes(8 * 50);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &brushes] {
            for (int i = 0; i < 50; ++i)
                brushes[t * 50 + i] = CreateSolidBrush(RGB(t, i, 0));
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(live_object_count(), before + 400);
    threads.clear();
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &brushes] {
            for (int i = 0; i < 50; ++i)
                EXPECT_TRUE(DeleteObject(brushes[t * 50 + i]));
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(live_object_count(), before);
}

TEST(GdiObjects, SystemColoursAreWindows10Defaults) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xF0F0F0u);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), 0xA0A0A0u);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), 0xFFFFFFu);
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), 0x696969u);
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), 0xE3E3E3u);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 0u);
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), 0u);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 120, 215));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), 0xFFFFFFu);
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), 0x6D6D6Du);
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(1000), 0u);
}

TEST(GdiObjects, SystemColourBrushesAreStockBrushes) {
    int before = live_object_count();
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
    EXPECT_EQ(GetObjectType(face), DWORD(OBJ_BRUSH));
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(GetObjectType(face), DWORD(OBJ_BRUSH));
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
    EXPECT_EQ(GetSysColorBrush(1000), nullptr);
    EXPECT_EQ(live_object_count(), before);
    gdi_test::Canvas c(2, 1);
    RECT r{0, 0, 1, 1};
    FillRect(c.dc(), &r, face);
    EXPECT_EQ(GetPixel(c.dc(), 0, 0), RGB(240, 240, 240));
}
