// Layer-internal pixel access (surface.h): surfaces, surface DCs with origin and clip, bitmap pixels.
#include "gdi_test_util.h"

namespace gdi = platform::gdi;
using gdi_test::Image;
using gdi_test::same_image;

namespace {

std::vector<COLORREF> read_surface(HBITMAP surface) {
    gdi::Pixels px;
    std::vector<COLORREF> out;
    if (!gdi::bitmap_pixels(surface, &px)) return out;
    for (int i = 0; i < px.width * px.height; ++i) {
        std::uint32_t p = px.data[i];
        out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    return out;
}

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF red = RGB(255, 0, 0);

}  // namespace

TEST(Surface, NewSurfaceIsWhiteAndNotCounted) {
    int before = gdi::live_object_count();
    HBITMAP s = gdi::create_surface(5, 4);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(gdi::live_object_count(), before);
    gdi::Pixels px;
    ASSERT_TRUE(gdi::bitmap_pixels(s, &px));
    EXPECT_EQ(px.width, 5);
    EXPECT_EQ(px.height, 4);
    EXPECT_TRUE(same_image(read_surface(s), Image(5, 4, white)));
    EXPECT_FALSE(DeleteObject(s));  // not the program's to delete
    gdi::destroy_surface(s);
    EXPECT_FALSE(gdi::bitmap_pixels(s, &px));
    EXPECT_EQ(gdi::create_surface(-1, 5), nullptr);
}

TEST(Surface, ResizeKeepsPixelsInsideAndNewOnesAreWhite) {
    HBITMAP s = gdi::create_surface(3, 3);
    POINT origin{0, 0};
    RECT clip{0, 0, 100, 100};
    HDC dc = gdi::create_surface_dc(s, origin, clip);
    RECT all{0, 0, 3, 3};
    HBRUSH brush = CreateSolidBrush(red);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SetPixel(dc, 2, 2, RGB(0, 0, 9));
    ASSERT_TRUE(gdi::resize_surface(s, 4, 2));
    Image expected(4, 2, white);
    expected.fill(0, 0, 3, 2, red);
    EXPECT_TRUE(same_image(read_surface(s), expected));
    ASSERT_TRUE(gdi::resize_surface(s, 5, 5));
    Image bigger(5, 5, white);
    bigger.fill(0, 0, 3, 2, red);
    EXPECT_TRUE(same_image(read_surface(s), bigger));
    EXPECT_EQ(GetPixel(dc, 4, 4), white);  // the DC follows the new size
    EXPECT_FALSE(gdi::resize_surface(s, -1, 5));
    gdi::delete_surface_dc(dc);
    gdi::destroy_surface(s);
}

TEST(Surface, SurfaceDcDrawsAtItsOriginClippedToItsRectangle) {
    HBITMAP s = gdi::create_surface(10, 8);
    int before = gdi::live_object_count();
    // A child window whose client area is (3, 2) .. (8, 6) of its top-level back store.
    HDC dc = gdi::create_surface_dc(s, POINT{3, 2}, RECT{3, 2, 8, 6});
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(gdi::live_object_count(), before);
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_DC));
    EXPECT_EQ(gdi::dc_bitmap(dc), s);
    HBRUSH brush = CreateSolidBrush(red);
    RECT big{-10, -10, 100, 100};
    FillRect(dc, &big, brush);
    DeleteObject(brush);
    Image expected(10, 8, white);
    expected.fill(3, 2, 8, 6, red);
    EXPECT_TRUE(same_image(read_surface(s), expected));

    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(1, 1, 1)), RGB(1, 1, 1));  // lands on (3, 2)
    EXPECT_EQ(SetPixel(dc, 5, 0, RGB(1, 1, 1)), CLR_INVALID);   // (8, 2): outside the clip
    EXPECT_EQ(SetPixel(dc, -1, 0, RGB(1, 1, 1)), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(dc, 4, 3), red);
    EXPECT_EQ(GetPixel(dc, 4, 4), CLR_INVALID);
    expected.set(3, 2, RGB(1, 1, 1));

    MoveToEx(dc, -5, 1, nullptr);
    LineTo(dc, 50, 1);  // row 3 of the surface, columns 3..7 only
    expected.fill(3, 3, 8, 4, RGB(0, 0, 0));
    EXPECT_TRUE(same_image(read_surface(s), expected));
    gdi::delete_surface_dc(dc);
    EXPECT_EQ(GetObjectType(dc), 0u);
    gdi::destroy_surface(s);
}

TEST(Surface, BitBltFromAMemoryDcIntoAClippedSurfaceDc) {
    HBITMAP s = gdi::create_surface(8, 8);
    HDC dc = gdi::create_surface_dc(s, POINT{2, 2}, RECT{2, 2, 6, 6});
    gdi_test::Canvas back(10, 10, RGB(0, 0, 200));
    EXPECT_TRUE(BitBlt(dc, -1, -1, 10, 10, back.dc(), 0, 0, SRCCOPY));
    Image expected(8, 8, white);
    expected.fill(2, 2, 6, 6, RGB(0, 0, 200));
    EXPECT_TRUE(same_image(read_surface(s), expected));
    // And back: reading a surface DC through its origin.
    EXPECT_TRUE(BitBlt(back.dc(), 0, 0, 2, 2, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(back.dc(), 0, 0), RGB(0, 0, 200));
    gdi::delete_surface_dc(dc);
    gdi::destroy_surface(s);
}

TEST(Surface, SurfaceDcRefusesBitmapsAndDeleteDc) {
    HBITMAP s = gdi::create_surface(4, 4);
    HDC dc = gdi::create_surface_dc(s, POINT{0, 0}, RECT{0, 0, 4, 4});
    HDC mem = CreateCompatibleDC(dc);
    ASSERT_NE(mem, nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
    EXPECT_EQ(SelectObject(mem, s), nullptr);  // a surface is no program bitmap
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(gdi::dc_bitmap(mem) != nullptr, true);  // its 1 x 1 default bitmap
    DeleteObject(bitmap);
    DeleteDC(mem);
    gdi::delete_surface_dc(dc);
    gdi::destroy_surface(s);
}

TEST(Surface, LazilyDeletedPenIsFreedWithTheSurfaceDc) {
    HBITMAP s = gdi::create_surface(4, 4);
    int before = gdi::live_object_count();
    HDC dc = gdi::create_surface_dc(s, POINT{0, 0}, RECT{0, 0, 4, 4});
    HPEN pen = CreatePen(PS_SOLID, 1, red);
    SelectObject(dc, pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(gdi::live_object_count(), before + 1);
    gdi::delete_surface_dc(dc);
    EXPECT_EQ(gdi::live_object_count(), before);
    gdi::destroy_surface(s);
}

TEST(Surface, DestroyedSurfaceMakesItsDcFailWithoutCrashing) {
    HBITMAP s = gdi::create_surface(4, 4);
    HDC dc = gdi::create_surface_dc(s, POINT{0, 0}, RECT{0, 0, 4, 4});
    gdi::destroy_surface(s);
    RECT r{0, 0, 2, 2};
    EXPECT_EQ(FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW)), 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(gdi::dc_bitmap(dc), nullptr);
    gdi::delete_surface_dc(dc);
}

TEST(Surface, BadArguments) {
    gdi::Pixels px;
    EXPECT_FALSE(gdi::bitmap_pixels(nullptr, &px));
    EXPECT_EQ(gdi::create_surface_dc(nullptr, POINT{0, 0}, RECT{0, 0, 1, 1}), nullptr);
    EXPECT_FALSE(gdi::resize_surface(nullptr, 1, 1));
    gdi::destroy_surface(nullptr);
    gdi::delete_surface_dc(nullptr);
    EXPECT_EQ(gdi::dc_bitmap(nullptr), nullptr);
    // A program bitmap is not a surface.
    gdi_test::Canvas c(2, 2);
    EXPECT_FALSE(gdi::resize_surface(c.bitmap(), 3, 3));
    gdi::destroy_surface(c.bitmap());
    EXPECT_EQ(GetObjectType(c.bitmap()), DWORD(OBJ_BITMAP));
    EXPECT_TRUE(gdi::bitmap_pixels(c.bitmap(), &px));
    EXPECT_EQ(px.width, 2);
}
