// The message queue: order, filters, peeking, thread messages, quitting and posting from other threads.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_input.h"
#include "tests/support/window_test.h"

using test_support::message_log;
using test_support::pump_until_idle;
using test_support::register_logging_class;
using Strings = std::vector<std::string>;

namespace {

class Message_Queue : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(register_logging_class("Queue"), 0);
        window = create_top_level("Queue", 0, 0, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        child = create_child("Queue", window, 0, 0, 10, 10);
        other = create_top_level("Queue", 200, 0, 100, 100);
        message_log().name_window(window, "window");
        message_log().name_window(child, "child");
        message_log().name_window(other, "other");
        pump_until_idle();
        message_log().clear();
    }

    HWND window = nullptr;
    HWND child = nullptr;
    HWND other = nullptr;
};

TEST_F(Message_Queue, PeekWithoutRemovingLeavesTheMessageFirstInLine) {
    PostMessageA(window, WM_USER, 1, 2);
    PostMessageA(window, WM_USER + 1, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.lParam, 2);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Message_Queue, FiltersSelectByWindowTreeAndMessageRange) {
    PostMessageA(other, WM_USER, 0, 0);
    PostMessageA(child, WM_USER + 5, 0, 0);
    PostMessageA(window, WM_USER + 9, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, child) << "a window filter takes its children's messages too";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 8, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 9));
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.hwnd, other);
}

TEST_F(Message_Queue, QuitComesAfterPostedMessagesAndBeforeInputAndPaint) {
    InvalidateRect(window, nullptr, FALSE);
    test_support::click(window, 50, 50);
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(7);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_TRUE(message_log().entries().empty());
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_LBUTTONDOWN, WM_PAINT}),
              (Strings{"window WM_LBUTTONDOWN", "window WM_PAINT", "child WM_PAINT"}));
}

TEST_F(Message_Queue, ThreadMessagesAreRetrievedButNotDispatched) {
    EXPECT_TRUE(PostMessageA(nullptr, WM_USER + 3, 4, 5));
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3));
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_TRUE(message_log().entries().empty());
}

TEST_F(Message_Queue, SendMessageCallsTheProcedureDirectly) {
    message_log().handler = [](HWND, UINT msg, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_USER) return static_cast<LRESULT>(wparam * 2);
        return std::nullopt;
    };
    EXPECT_EQ(SendMessageA(child, WM_USER, 21, 0), 42);
    EXPECT_EQ(message_log().sequence(), (Strings{"child 0x0400"}));
}

TEST_F(Message_Queue, PostFromAnotherThreadWakesTheBlockedLoop) {
    std::thread worker([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        for (int i = 0; i < 100; ++i)
            PostMessageA(window, WM_USER, static_cast<WPARAM>(i), 0);
    });
    MSG msg;
    std::vector<WPARAM> received;
    while (received.size() < 100 && GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_USER) received.push_back(msg.wParam);
    }
    worker.join();
    ASSERT_EQ(received.size(), 100u);
    for (std::size_t i = 0; i < received.size(); ++i)
        EXPECT_EQ(received[i], i) << "in posting order";
}

TEST_F(Message_Queue, DestroyingAFocusedChildGivesTheFocusToItsParent) {
    SetFocus(child);
    message_log().clear();
    DestroyWindow(child);
    EXPECT_EQ(GetFocus(), window);
    EXPECT_EQ(message_log().sequence({WM_KILLFOCUS, WM_SETFOCUS, WM_DESTROY}),
              (Strings{"child WM_KILLFOCUS", "window WM_SETFOCUS", "child WM_DESTROY"}));
}

}  // namespace
