// Pointer moves coalesce as in Win32: a new WM_MOUSEMOVE replaces the one waiting at the end of the queue for
// the same window with the same buttons and keys held; presses, releases, keys and the screen's own events
// keep their places among the moves.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"

namespace headless = platform::headless;
using test_support::message_log;
using test_support::pump_until_idle;
using Strings = std::vector<std::string>;

namespace {

constexpr std::initializer_list<UINT> input_messages = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                                        WM_KEYDOWN,   WM_KEYUP,       WM_SIZE};

class MoveCoalescing : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(test_support::register_logging_class("Moves"), 0);
        window = create_top_level("Moves", 100, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        child = create_child("Moves", window, 50, 60, 100, 40, 5);
        message_log().name_window(window, "parent");
        message_log().name_window(child, "child");
        pump_until_idle();
        message_log().clear();
    }

    // "WM_MOUSEMOVE x,y" for each move delivered, in order.
    static Strings move_positions() {
        Strings positions;
        for (const test_support::Logged_Message& move : message_log().of(WM_MOUSEMOVE)) {
            positions.push_back(std::to_string(GET_X_LPARAM(move.lparam)) + "," +
                                std::to_string(GET_Y_LPARAM(move.lparam)));
        }
        return positions;
    }

    HWND window = nullptr;
    HWND child = nullptr;
};

TEST_F(MoveCoalescing, WaitingMovesToOneWindowBecomeTheLastOfThem) {
    headless::mouse_move(window, 10, 10);
    headless::mouse_move(window, 20, 11);
    headless::mouse_move(window, 30, 12);
    headless::mouse_move(child, 1, 1);  // another window: queued behind
    headless::mouse_move(child, 2, 2);
    headless::mouse_move(window, 40, 13);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_MOUSEMOVE}),
              (Strings{"parent WM_MOUSEMOVE", "child WM_MOUSEMOVE", "parent WM_MOUSEMOVE"}));
    EXPECT_EQ(move_positions(), (Strings{"30,12", "2,2", "40,13"}));
    EXPECT_EQ(message_log().of(WM_MOUSEMOVE)[0].wparam, 0u);
}

TEST_F(MoveCoalescing, PressesReleasesAndKeysKeepTheirPlaceAmongTheMoves) {
    headless::mouse_move(window, 1, 1);
    headless::mouse_down(window, 2, 2);
    headless::mouse_move(window, 3, 3);  // the button is held now: another wParam
    headless::mouse_move(window, 4, 4);
    headless::key_down('X');
    headless::mouse_move(window, 5, 5);
    headless::mouse_move(window, 6, 6);
    headless::mouse_up(window, 6, 6);
    headless::mouse_move(window, 7, 7);
    headless::key_down(VK_SHIFT, platform::display::Modifier_Shift);
    headless::mouse_move(window, 8, 8);  // shift held: another wParam again
    pump_until_idle();
    EXPECT_EQ(message_log().sequence(input_messages),
              (Strings{"parent WM_MOUSEMOVE", "parent WM_LBUTTONDOWN", "parent WM_MOUSEMOVE",
                       "parent WM_KEYDOWN", "parent WM_MOUSEMOVE", "parent WM_LBUTTONUP",
                       "parent WM_MOUSEMOVE", "parent WM_KEYDOWN", "parent WM_MOUSEMOVE"}));
    EXPECT_EQ(move_positions(), (Strings{"1,1", "4,4", "6,6", "7,7", "8,8"}));
    const std::vector<test_support::Logged_Message> moves = message_log().of(WM_MOUSEMOVE);
    EXPECT_EQ(moves[1].wparam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(moves[4].wparam, static_cast<WPARAM>(MK_SHIFT));
}

TEST_F(MoveCoalescing, MovesArrivingWhileTheProgramIsBusyCoalesce) {
    // The window procedure is still busy with the press while the pointer goes on moving.
    message_log().handler = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_LBUTTONDOWN) return std::nullopt;
        for (int x = 10; x <= 50; x += 10)
            headless::mouse_move(hwnd, x, 5);
        return 0;
    };
    headless::mouse_down(window, 5, 5);
    pump_until_idle();
    EXPECT_EQ(move_positions(), (Strings{"50,5"}));
}

TEST_F(MoveCoalescing, ScreenEventsBetweenMovesStayBetweenThem) {
    headless::mouse_move(window, 10, 10);
    headless::resize(window, 320, 220);
    headless::mouse_move(window, 20, 20);
    headless::mouse_move(window, 30, 30);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence(input_messages),
              (Strings{"parent WM_MOUSEMOVE", "parent WM_SIZE", "parent WM_MOUSEMOVE"}));
    EXPECT_EQ(move_positions(), (Strings{"10,10", "30,30"}));
}

}  // namespace
