// Icons from the program's own pixels: CreateIcon with 32-bit colour and an AND mask, drawn with DrawIconEx
// (alpha, or the mask where there is no alpha), and a class icon that the screen shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/window_test.h"

#ifndef _WIN32
#include "platform/testing/testing.h"
#endif

namespace {

// 32-bit colour pixels as CreateIcon takes them: B, G, R, A bytes.
std::vector<BYTE> bgra(const std::vector<std::uint32_t>& argb) {
    std::vector<BYTE> bytes;
    for (std::uint32_t pixel : argb) {
        bytes.push_back(static_cast<BYTE>(pixel));
        bytes.push_back(static_cast<BYTE>(pixel >> 8));
        bytes.push_back(static_cast<BYTE>(pixel >> 16));
        bytes.push_back(static_cast<BYTE>(pixel >> 24));
    }
    return bytes;
}

class Icon : public test_support::Headless_Window_Test {
protected:
    static constexpr int canvas_size = 8;
    static constexpr COLORREF canvas_colour = RGB(0, 0, 200);

    void SetUp() override {
        Headless_Window_Test::SetUp();
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, canvas_size, canvas_size);
        ReleaseDC(nullptr, screen);
        old_bitmap = SelectObject(dc, bitmap);
        RECT all{0, 0, canvas_size, canvas_size};
        HBRUSH brush = CreateSolidBrush(canvas_colour);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }

    void TearDown() override {
        SelectObject(dc, old_bitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        Headless_Window_Test::TearDown();
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old_bitmap = nullptr;
};

TEST_F(Icon, AlphaDecidesWhatShowsRowsTopToBottom) {
    // 3 x 2: opaque red, transparent green, opaque white; opaque green, transparent, opaque black.
    const std::vector<BYTE> colour =
        bgra({0xFFFF0000, 0x0000FF00, 0xFFFFFFFF, 0xFF00FF00, 0x00000000, 0xFF000000});
    const BYTE mask[4] = {0xFF, 0xFF, 0xFF, 0xFF};  // all 1: ignored where there is alpha
    HICON icon = CreateIcon(GetModuleHandleA(nullptr), 3, 2, 1, 32, mask, colour.data());
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(DrawIconEx(dc, 2, 3, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(dc, 2, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 3), canvas_colour);
    EXPECT_EQ(GetPixel(dc, 4, 3), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 2, 4), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 3, 4), canvas_colour);
    EXPECT_EQ(GetPixel(dc, 4, 4), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 5, 3), canvas_colour) << "nothing beyond the icon";
    EXPECT_EQ(GetPixel(dc, 2, 5), canvas_colour);

    ASSERT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon)) << "gone";
    EXPECT_FALSE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(dc, 0, 0), canvas_colour);
}

TEST_F(Icon, WithoutAlphaTheMaskKeepsOrInvertsWhatIsBelow) {
    // 2 x 2, alpha 0 everywhere. Mask rows are padded to 16 bits: 0b01..., 0b10....
    const std::vector<BYTE> colour = bgra({0x00FF0000, 0x00000000, 0x0000FF00, 0x00FFFFFF});
    const BYTE mask[4] = {0x40, 0x00, 0x80, 0x00};
    HICON icon = CreateIcon(GetModuleHandleA(nullptr), 2, 2, 1, 32, mask, colour.data());
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0)) << "mask 0: the colour";
    EXPECT_EQ(GetPixel(dc, 1, 0), canvas_colour) << "mask 1 over black: see-through";
    EXPECT_EQ(GetPixel(dc, 0, 1), canvas_colour ^ RGB(0, 255, 0)) << "mask 1 over a colour: inverted";
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    EXPECT_TRUE(DestroyIcon(icon));
}

#ifndef _WIN32  // what the screen is given belongs to this layer

// The screen shows the class icon, else the small one; without alpha the mask becomes the alpha.
TEST_F(Icon, TheScreenShowsTheClassIcon) {
    const std::vector<BYTE> colour = bgra({0xFF3060C0, 0x803060C0});
    const BYTE mask[2] = {};
    HICON icon = CreateIcon(nullptr, 2, 1, 1, 32, mask, colour.data());
    const std::vector<BYTE> masked_colour = bgra({0x000000FF, 0x00000000});
    const BYTE masking[2] = {0x40, 0x00};  // opaque blue, then see-through
    HICON masked = CreateIcon(nullptr, 2, 1, 1, 32, masking, masked_colour.data());
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(masked, nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = test_support::logging_window_procedure;
    wc.hIcon = icon;
    wc.hIconSm = masked;
    wc.lpszClassName = "Icons";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    wc.hIcon = nullptr;
    wc.lpszClassName = "Small Icon";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    ASSERT_NE(test_support::register_logging_class("No Icon"), 0);

    int width = 0;
    int height = 0;
    HWND window = create_top_level("Icons", 0, 0, 100, 100);
    EXPECT_EQ(platform::headless::window_icon(window, &width, &height),
              (std::vector<std::uint32_t>{0xFF3060C0, 0x803060C0}));
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);
    window = create_top_level("Small Icon", 0, 0, 100, 100);
    EXPECT_EQ(platform::headless::window_icon(window, &width, &height),
              (std::vector<std::uint32_t>{0xFF0000FF, 0x00000000}));
    window = create_top_level("No Icon", 0, 0, 100, 100);
    EXPECT_TRUE(platform::headless::window_icon(window, &width, &height).empty());
    DestroyIcon(icon);
    DestroyIcon(masked);
}

TEST_F(Icon, OnlyThirtyTwoBitColourAndSaneSizesAreMade) {
    const std::vector<BYTE> colour(4 * 4, 0);
    const BYTE mask[8] = {};
    EXPECT_EQ(CreateIcon(nullptr, 2, 2, 1, 24, mask, colour.data()), nullptr);
    EXPECT_EQ(CreateIcon(nullptr, 2, 2, 2, 32, mask, colour.data()), nullptr);
    EXPECT_EQ(CreateIcon(nullptr, 0, 2, 1, 32, mask, colour.data()), nullptr);
    EXPECT_EQ(CreateIcon(nullptr, 2, -1, 1, 32, mask, colour.data()), nullptr);
    EXPECT_EQ(CreateIcon(nullptr, 100000, 100000, 1, 32, mask, colour.data()), nullptr);
    EXPECT_EQ(CreateIcon(nullptr, 2, 2, 1, 32, nullptr, colour.data()), nullptr);
    EXPECT_EQ(CreateIcon(nullptr, 2, 2, 1, 32, mask, nullptr), nullptr);
    HICON icon = CreateIcon(nullptr, 2, 2, 1, 32, mask, colour.data());
    EXPECT_FALSE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_IMAGE)) << "only DI_NORMAL is drawn";
    EXPECT_FALSE(DrawIconEx(nullptr, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(DrawIconEx(dc, -1000000, 2000000000, icon, 2000000000, 2000000000, 0, nullptr, DI_NORMAL))
        << "far outside: nothing to draw, and at once";
    EXPECT_TRUE(DestroyIcon(icon));
}

#endif

}  // namespace
