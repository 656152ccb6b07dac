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
    EXPECT_TRUE(DestroyIcon(icon));
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

TEST_F(Icon, DestroyedIconsAreGone) {
    const std::vector<BYTE> colour = bgra({0xFF102030});
    const BYTE mask[2] = {0, 0};
    HICON icon = CreateIcon(GetModuleHandleA(nullptr), 1, 1, 1, 32, mask, colour.data());
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(dc, 0, 0), canvas_colour);
}

TEST_F(Icon, AWindowOfAClassWithAnIconIsCreated) {
    const std::vector<BYTE> colour = bgra(std::vector<std::uint32_t>(16 * 16, 0xFF3060C0));
    const std::vector<BYTE> mask(2 * 16, 0);
    HICON icon = CreateIcon(GetModuleHandleA(nullptr), 16, 16, 1, 32, mask.data(), colour.data());
    ASSERT_NE(icon, nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = test_support::logging_window_procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.lpszClassName = "With Icon";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    test_support::registered_logging_classes().emplace_back("With Icon");
    HWND window = create_top_level("With Icon", 0, 0, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_NE(window, nullptr);
#ifndef _WIN32
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> shown = platform::headless::window_icon(window, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(shown, std::vector<std::uint32_t>(16 * 16, 0xFF3060C0));
#endif
    DestroyWindow(window);
    EXPECT_TRUE(DestroyIcon(icon));
}

#ifndef _WIN32  // what the screen is given belongs to this layer

TEST_F(Icon, TheScreenGetsTheMaskAsAlphaAndTheSmallIconWhenThereIsNoOther) {
    // 2 x 1 without alpha: opaque blue, then see-through.
    const std::vector<BYTE> colour = bgra({0x000000FF, 0x00000000});
    const BYTE mask[2] = {0x40, 0x00};
    HICON icon = CreateIcon(nullptr, 2, 1, 1, 32, mask, colour.data());
    ASSERT_NE(icon, nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = test_support::logging_window_procedure;
    wc.hIconSm = icon;
    wc.lpszClassName = "Small Icon";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    HWND window = create_top_level("Small Icon", 0, 0, 100, 100);
    int width = 0;
    int height = 0;
    EXPECT_EQ(platform::headless::window_icon(window, &width, &height),
              (std::vector<std::uint32_t>{0xFF0000FF, 0x00000000}));
    EXPECT_EQ(width, 2);

    ASSERT_NE(test_support::register_logging_class("No Icon"), 0);
    HWND plain = create_top_level("No Icon", 0, 0, 100, 100);
    EXPECT_TRUE(platform::headless::window_icon(plain, &width, &height).empty());
    DestroyIcon(icon);
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
