// Mouse capture: every pointer message to the holder in its client coordinates, wherever the pointer is, and
// WM_CAPTURECHANGED to the window that loses it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"

namespace headless = platform::headless;
using test_support::message_log;
using test_support::pump_until_idle;
using test_support::register_logging_class;
using Strings = std::vector<std::string>;

namespace {

class Capture : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(register_logging_class("Capture"), 0);
        window = create_top_level("Capture", 100, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        child = create_child("Capture", window, 50, 60, 100, 40, 5);
        other = create_top_level("Capture", 500, 150, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        message_log().name_window(window, "window");
        message_log().name_window(child, "child");
        message_log().name_window(other, "other");
        pump_until_idle();
        message_log().clear();
    }

    static Strings pointer_and_capture_messages() {
        return message_log().sequence(
            {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_CAPTURECHANGED, WM_SETCURSOR});
    }

    HWND window = nullptr;
    HWND child = nullptr;
    HWND other = nullptr;
};

TEST_F(Capture, TheHolderGetsEveryPointerMessageInItsClientCoordinatesWithoutSetCursor) {
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SetCapture(window), nullptr);
    EXPECT_EQ(GetCapture(), window);
    // Each move retrieved before the next, which would otherwise replace it in the queue.
    headless::mouse_move(window, -30, 250);  // left of and below the client area
    pump_until_idle();
    headless::mouse_move(child, 5, 5);  // over its child
    pump_until_idle();
    headless::mouse_move(other, 10, 20);  // over another top-level window: placed through the screen
    pump_until_idle();
    headless::mouse_up(window, 400, -7, 2);
    pump_until_idle();
    EXPECT_EQ(pointer_and_capture_messages(), (Strings{"window WM_MOUSEMOVE", "window WM_MOUSEMOVE",
                                                       "window WM_MOUSEMOVE", "window WM_RBUTTONUP"}));
    std::vector<test_support::Logged_Message> moves = message_log().of(WM_MOUSEMOVE);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lparam), -30);
    EXPECT_EQ(GET_Y_LPARAM(moves[0].lparam), 250);
    EXPECT_EQ(moves[1].lparam, MAKELPARAM(55, 65));
    EXPECT_EQ(moves[2].lparam, MAKELPARAM(410, 70));
    EXPECT_EQ(GET_Y_LPARAM(message_log().of(WM_RBUTTONUP)[0].lparam), -7);

    // Released: input outside is dropped again and the child gets its own.
    message_log().clear();
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    headless::mouse_move(window, -30, 250);
    headless::mouse_move(child, 5, 5);
    pump_until_idle();
    EXPECT_EQ(pointer_and_capture_messages(), (Strings{"window WM_CAPTURECHANGED", "child WM_SETCURSOR",
                                                       "window WM_SETCURSOR", "child WM_MOUSEMOVE"}));
    EXPECT_EQ(message_log().of(WM_CAPTURECHANGED)[0].lparam, 0);
}

TEST_F(Capture, TheWindowThatLosesTheCaptureIsToldWhoTookIt) {
    SetCapture(window);
    EXPECT_EQ(SetCapture(child), window);
    EXPECT_EQ(GetCapture(), child);
    EXPECT_EQ(SetCapture(child), child) << "taking it again";
    EXPECT_EQ(message_log().sequence({WM_CAPTURECHANGED}),
              (Strings{"window WM_CAPTURECHANGED", "child WM_CAPTURECHANGED"}));
    EXPECT_EQ(message_log().of(WM_CAPTURECHANGED)[0].lparam, reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(message_log().of(WM_CAPTURECHANGED)[1].lparam, reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(0x7777)), nullptr) << "no such window";
    EXPECT_EQ(GetCapture(), child);

    // Destroying the holder (here through its parent) releases the capture before WM_DESTROY.
    message_log().clear();
    DestroyWindow(window);
    EXPECT_EQ(GetCapture(), nullptr);
    Strings sequence = message_log().sequence({WM_CAPTURECHANGED, WM_DESTROY});
    ASSERT_GE(sequence.size(), 2u);
    EXPECT_EQ(sequence[0], "child WM_CAPTURECHANGED");
    headless::mouse_move(other, 10, 10);
    pump_until_idle();
    EXPECT_EQ(message_log().of(WM_MOUSEMOVE).back().window, other);
}

TEST_F(Capture, APressOutsideWhileCapturedStillGoesToTheHolder) {
    SetCapture(child);
    headless::mouse_down(other, 10, 10);
    headless::mouse_up(other, 10, 10);
    pump_until_idle();
    EXPECT_EQ(pointer_and_capture_messages(), (Strings{"child WM_LBUTTONDOWN", "child WM_LBUTTONUP"}));
    // other: screen (510, 160); child: client origin at screen (150, 160).
    EXPECT_EQ(message_log().of(WM_LBUTTONUP)[0].lparam, MAKELPARAM(360, 0));
    EXPECT_EQ(message_log().of(WM_LBUTTONDOWN)[0].wparam, static_cast<WPARAM>(MK_LBUTTON));
}

}  // namespace
