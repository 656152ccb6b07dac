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
using test_support::register_logging_class;
using Strings = std::vector<std::string>;

namespace {

class Timers : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(register_logging_class("Timed"), 0);
        window = create_top_level("Timed", 10, 10, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        message_log().name_window(window, "window");
        pump_until_idle();
        message_log().clear();
    }

    static void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    HWND window = nullptr;
};

TEST_F(Timers, GetMessageWaitsForTheTimerAndALateLoopGetsOneMessageNotABacklog) {
    ASSERT_EQ(SetTimer(window, 7, 20, nullptr), 7u);
    MSG msg;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(15));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 0);

    sleep_ms(100);  // five periods pass without retrieval
    pump_until_idle();
    EXPECT_EQ(message_log().of(WM_TIMER).size(), 1u);

    EXPECT_EQ(KillTimer(window, 7), TRUE);
    EXPECT_EQ(KillTimer(window, 7), FALSE);
    sleep_ms(40);
    message_log().clear();
    pump_until_idle();
    EXPECT_TRUE(message_log().of(WM_TIMER).empty());
}

TEST_F(Timers, ComeAfterPaintAndInputAndAreFilteredLikeOtherMessages) {
    SetTimer(window, 1, 10, nullptr);
    sleep_ms(30);
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(window, WM_USER, 0, 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_CHAR, PM_NOREMOVE)) << "outside the range";
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_USER, WM_PAINT, WM_TIMER}),
              (Strings{"window 0x0400", "window WM_PAINT", "window WM_TIMER"}));
}

TEST_F(Timers, SettingAnIdAgainReplacesTheTimerAndDestroyingTheWindowEndsIt) {
    SetTimer(window, 3, 10, nullptr);
    EXPECT_EQ(SetTimer(window, 3, 100000, nullptr), 3u);
    sleep_ms(30);
    pump_until_idle();
    EXPECT_TRUE(message_log().of(WM_TIMER).empty()) << "the longer period replaced the short one";

    EXPECT_EQ(SetTimer(nullptr, 4, 10, nullptr), 0u);
    SetTimer(window, 4, 10, nullptr);
    DestroyWindow(window);
    sleep_ms(30);
    message_log().clear();
    pump_until_idle();
    EXPECT_TRUE(message_log().of(WM_TIMER).empty());
    EXPECT_EQ(SetTimer(window, 5, 10, nullptr), 0u) << "no timer for a destroyed window";
}

UINT_PTR called_with = 0;
void CALLBACK timer_procedure(HWND, UINT message, UINT_PTR id, DWORD) {
    if (message == WM_TIMER) called_with = id;
}

TEST_F(Timers, ATimerProcedureIsCalledByDispatchInsteadOfTheWindowProcedure) {
    called_with = 0;
    SetTimer(window, 9, 10, timer_procedure);
    sleep_ms(20);
    pump_until_idle();
    EXPECT_EQ(called_with, 9u);
    EXPECT_TRUE(message_log().of(WM_TIMER).empty());
}

}  // namespace
