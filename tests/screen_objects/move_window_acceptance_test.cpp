// The main window's road from a right click to a moved rectangle, driven by pushed mouse input only and
// checked in the pixels the screen shows.
#include <gtest/gtest.h>

#include "platform/gdi/surface.h"
#include "platform/testing/testing.h"
#include "screen_objects/background.h"
#include "screen_objects/movable_rect_object.h"
#include "screen_objects/object_registry.h"
#include "tests/screen_objects/object_test_window.h"
#include "tests/support/message_pump.h"

namespace {

namespace headless = platform::headless;

constexpr COLORREF Blue = 0x00FF0000;
constexpr COLORREF Frame_Colour = 0x0022180E;
constexpr int Arrow = 32512, Size_All = 32646, Hand = 32649;

TEST(Move_Window_Acceptance_Test, RightClickMenuStartsAMoveThatTheNextLeftReleaseEnds) {
    const int live_at_start = platform::gdi::live_object_count();
    {
        Object_Registry registry;
        Object_Test_Window window(registry);
        HWND shown = window.handle;
        RECT frame{40, 40, 120, 100};
        On_Screen_Object_Movable_RECT movable;
        movable.rect = &frame;
        movable.colour = Frame_Colour;
        On_Screen_Object_Background background;
        background.colour = Blue;
        registry.main_window = shown;
        registry.register_object(&movable);
        registry.register_object(&background);
        test_support::pump_until_idle();
        EXPECT_EQ(headless::pixel(shown, 50, 50), Frame_Colour);
        EXPECT_EQ(headless::pixel(shown, 10, 10), Blue);

        headless::mouse_move(shown, 60, 60);
        headless::mouse_down(shown, 60, 60, 2);
        headless::mouse_up(shown, 60, 60, 2);
        test_support::pump_until_idle();
        // The menu (60, 60)-(153, 77) lies in front of the frame and of the background; its rows' last pixel
        // line is below the text.
        EXPECT_EQ(headless::pixel(shown, 110, 76), Menu_Colour);
        EXPECT_EQ(headless::pixel(shown, 150, 76), Menu_Colour);
        EXPECT_EQ(headless::pixel(shown, 110, 78), Frame_Colour);

        headless::mouse_move(shown, 100, 70);
        test_support::pump_until_idle();
        EXPECT_EQ(headless::pixel(shown, 150, 76), Menu_Highlight_Colour);
        EXPECT_EQ(headless::current_cursor(), Hand);

        headless::click(shown, 100, 70);
        test_support::pump_until_idle();
        EXPECT_EQ(headless::pixel(shown, 150, 76), Blue);
        EXPECT_EQ(headless::pixel(shown, 110, 76), Frame_Colour);

        headless::mouse_move(shown, 200, 150);  // the pointer keeps its offset (60, 30) from the corner
        test_support::pump_until_idle();
        EXPECT_EQ(headless::current_cursor(), Size_All);
        EXPECT_EQ(headless::pixel(shown, 50, 50), Blue);
        EXPECT_EQ(headless::pixel(shown, 140, 120), Frame_Colour);  // now (140, 120)-(220, 180)
        EXPECT_EQ(headless::pixel(shown, 219, 179), Frame_Colour);
        EXPECT_EQ(headless::pixel(shown, 140, 119), Blue);
        EXPECT_EQ(headless::pixel(shown, 220, 179), Blue);

        headless::click(shown, 200, 150);
        headless::mouse_move(shown, 250, 200);
        test_support::pump_until_idle();
        EXPECT_EQ(headless::current_cursor(), Arrow);
        EXPECT_EQ(headless::pixel(shown, 140, 120), Frame_Colour);
        EXPECT_EQ(headless::pixel(shown, 249, 199), Blue);

        EXPECT_GT(window.paints, 5);
        EXPECT_EQ(window.leaking_paints, 0);
    }
    EXPECT_EQ(platform::gdi::live_object_count(), live_at_start);
}

}  // namespace
