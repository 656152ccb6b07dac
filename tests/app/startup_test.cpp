// The application from start-up to exit, in-process on the headless display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/options_window.h"
#include "platform/testing/testing.h"
#include "screen_objects/background.h"
#include "screen_objects/object_registry.h"
#include "tests/app/app_fixture.h"
#include "tests/support/message_pump.h"

namespace app_test {
namespace {

constexpr COLORREF blue = RGB(0, 0, 255);
constexpr COLORREF frame_colour = RGB(14, 24, 34);
constexpr COLORREF black = RGB(0, 0, 0);

using Start_Up = Application_Test;

TEST_F(Start_Up, ListsTheViewerInFrontOfTheBlueBackground) {
    Window_Object_List* list = object_registry.find_record(main_window());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->objects.size(), 2u);
    EXPECT_EQ(list->objects[0], &viewer());
    auto* background = static_cast<On_Screen_Object_Background*>(list->objects[1]);
    EXPECT_EQ(background->colour, blue);
    EXPECT_EQ(viewer().window, main_window());
    EXPECT_EQ(viewer().rect, &app().plot_rect);
    EXPECT_EQ(viewer().options_window, options().window);
    EXPECT_TRUE(IsWindowVisible(main_window()));
    EXPECT_FALSE(IsWindowVisible(options().window));
}

TEST_F(Start_Up, ShowsTheFrameOnBlueAndFinishesTheFirstPlot) {
    const std::string first_status = status_text_copy(viewer().job);
    EXPECT_TRUE(first_status == "Calculating values..." ||
                first_status == "Finished calculating reciprocal absolute value with 100 iterations.")
        << first_status;

    finish_calculation();
    EXPECT_EQ(status_text_copy(viewer().job),
              "Finished calculating reciprocal absolute value with 100 iterations.");
    // Far from the plot and its labels only the background shows.
    EXPECT_EQ(shown(20, 20), blue);
    EXPECT_EQ(shown(900, 700), blue);
    // The frame's top row is not covered by grid cells, so it keeps the frame colour.
    EXPECT_EQ(shown(150, 60), frame_colour);
    // The finished plot is coloured: only a NaN cell can give red and green 0 together. Column 100 is left
    // out: the imaginary axis's ticks start on it.
    int black_pixels = 0;
    for (int y = 61; y <= 580; y += 7) {
        for (int x = 101; x < 180; x += 3) {
            if (x != 125 && shown(x, y) == black) ++black_pixels;
        }
    }
    EXPECT_EQ(black_pixels, 0);
    // Column 50, row 50 is s = 1 exactly, where the series gives NaN: drawn black.
    EXPECT_EQ(shown(150, 530), black);
    // The critical line Re(s) = 1/2 lies 25 columns right of the left edge at 0.02 per column.
    EXPECT_EQ(shown(125, 300), RGB(0x63, 0xFF, 0xFF));
}

TEST_F(Start_Up, MouseInputOverThePlotReachesTheViewerAndElsewhereTheBackground) {
    finish_calculation();
    Window_Object_List* list = object_registry.find_record(main_window());
    ASSERT_NE(list, nullptr);

    right_click(600, 600);
    EXPECT_EQ(list->objects.size(), 2u) << "the background opens no menu";

    right_click(140, 300);
    ASSERT_EQ(list->objects.size(), 3u);
    EXPECT_EQ(list->objects[0], &viewer().menu);
    EXPECT_EQ(shown(142, 302), RGB(0, 0, 222)) << "the open menu is drawn in front";
}

std::vector<UINT> logged_messages;
WNDPROC wrapped_procedure = nullptr;

LRESULT CALLBACK logging_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) logged_messages.push_back(message);
    return wrapped_procedure(window, message, wparam, lparam);
}

TEST_F(Start_Up, DoubleClickGivesTwoPressReleasePairs) {
    finish_calculation();
    logged_messages.clear();
    wrapped_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(main_window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&logging_procedure)));
    ASSERT_EQ(wrapped_procedure, &Main_Window_Procedure);

    platform::headless::click(main_window(), 600, 600);
    platform::headless::click(main_window(), 600, 600);
    test_support::pump_until_idle();
    EXPECT_EQ(logged_messages,
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(Start_Up, ResizingRepaintsAtTheNewSizeAndKeepsThePlotRectangle) {
    finish_calculation();
    platform::headless::resize(main_window(), 1000, 820);
    test_support::pump_until_idle();

    int width = 0;
    int height = 0;
    platform::headless::shown_pixels(main_window(), &width, &height);
    EXPECT_EQ(width, 1000);
    EXPECT_EQ(height, 820);
    EXPECT_EQ(shown(995, 815), blue);
    EXPECT_EQ(app().plot_rect.left, 100);
    EXPECT_EQ(app().plot_rect.top, 60);
    EXPECT_EQ(app().plot_rect.right, 180);
    EXPECT_EQ(app().plot_rect.bottom, 580);
}

TEST_F(Start_Up, ClosingTheMainWindowEndsWithExitCodeZeroWhileOptionsIsShown) {
    choose_menu_entry(120, 300, "Options");
    ASSERT_TRUE(IsWindowVisible(options().window));

    platform::headless::request_close(main_window());
    const std::optional<int> exit_code = test_support::pump_until_idle();
    ASSERT_TRUE(exit_code.has_value());
    EXPECT_EQ(*exit_code, 0);
    EXPECT_FALSE(IsWindow(main_window()));
}

TEST_F(Start_Up, ClosingTheMainWindowDuringACalculationStopsItAtOnce) {
    finish_calculation();
    viewer().job.settings.precision = 2000000000;
    viewer().job.status_text = "Calculating values...";
    viewer().restart_calculation();
    ASSERT_TRUE(viewer().job.running);

    platform::headless::request_close(main_window());
    EXPECT_EQ(test_support::pump_until_idle(), std::optional<int>(0));
    app().finish();
    EXPECT_FALSE(viewer().job.running);
    EXPECT_FALSE(viewer().job.thread.joinable());
}

}  // namespace
}  // namespace app_test
