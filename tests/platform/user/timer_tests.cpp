// Window timers: WM_TIMER after everything else, one pending at a time, replaced and killed by id.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"

using test_support::message_log;
using test_support::pump_until_idle;

namespace {

using Timers = test_support::Headless_Window_Test;

void sleep_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TEST_F(Timers, WaitedForComeAfterPaintNeverPileUpAndStopWhenKilled) {
    ASSERT_NE(test_support::register_logging_class("Timed"), 0);
    HWND window = create_top_level("Timed", 10, 10, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    message_log().name_window(window, "timed");
    pump_until_idle();
    ASSERT_EQ(SetTimer(window, 7, 20, nullptr), 7u);
    MSG msg;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(15));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, 7u);

    sleep_ms(100);  // five periods pass without retrieval
    InvalidateRect(window, nullptr, FALSE);
    message_log().clear();
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_PAINT, WM_TIMER}),
              (std::vector<std::string>{"timed WM_PAINT", "timed WM_TIMER"}));

    EXPECT_EQ(SetTimer(window, 7, 100000, nullptr), 7u);  // replaced: the long period starts now
    SetTimer(window, 8, 10, nullptr);
    EXPECT_EQ(KillTimer(window, 8), TRUE);
    EXPECT_EQ(KillTimer(window, 8), FALSE);
    sleep_ms(40);
    message_log().clear();
    pump_until_idle();
    EXPECT_TRUE(message_log().of(WM_TIMER).empty());

    // A thread timer: a new id whatever the one asked for, WM_TIMER without a window.
    const UINT_PTR thread_timer = SetTimer(nullptr, 7, 10, nullptr);
    ASSERT_NE(thread_timer, 0u);
    EXPECT_EQ(SetTimer(nullptr, thread_timer, 10, nullptr), thread_timer) << "the same timer, set again";
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, thread_timer);
    EXPECT_EQ(KillTimer(nullptr, thread_timer), TRUE);
    EXPECT_EQ(KillTimer(nullptr, thread_timer), FALSE);
    DestroyWindow(window);
    EXPECT_EQ(SetTimer(window, 5, 10, nullptr), 0u);
}

UINT_PTR called_with = 0;
void CALLBACK timer_procedure(HWND, UINT message, UINT_PTR id, DWORD) {
    if (message == WM_TIMER) called_with = id;
}

TEST_F(Timers, ATimerProcedureIsCalledByDispatchInsteadOfTheWindowProcedure) {
    ASSERT_NE(test_support::register_logging_class("Timed"), 0);
    HWND window = create_top_level("Timed", 10, 10, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    pump_until_idle();
    message_log().clear();
    SetTimer(window, 9, 10, timer_procedure);
    sleep_ms(20);
    pump_until_idle();
    EXPECT_EQ(called_with, 9u);
    EXPECT_TRUE(message_log().of(WM_TIMER).empty());
}

}  // namespace
