// Invalidation and WM_PAINT: when paints come, erasing, children over parents, presenting, other threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"

using test_support::message_log;
using test_support::pump_until_idle;
using test_support::register_logging_class;
using Strings = std::vector<std::string>;

namespace {

constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF blue = RGB(0, 0, 255);

void fill(HDC hdc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

// Paints its whole client area, and a good deal beyond it, in the colour kept in GWLP_USERDATA.
LRESULT CALLBACK colour_procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    message_log().record(hwnd, msg, wparam, lparam);
    if (msg != WM_PAINT) return DefWindowProcA(hwnd, msg, wparam, lparam);
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    fill(hdc, RECT{-500, -500, 2000, 2000}, static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
    EndPaint(hwnd, &paint);
    return 0;
}

class Painting : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(register_logging_class("Plain"), 0);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = colour_procedure;
        wc.lpszClassName = "Colour";
        ASSERT_NE(RegisterClassExA(&wc), 0);
    }

    // A shown window with its first paint done and the log empty.
    HWND shown_window(const char* class_name, const char* label, int width = 200, int height = 100) {
        HWND window = create_top_level(class_name, 10, 10, width, height, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        message_log().name_window(window, label);
        pump_until_idle();
        message_log().clear();
        return window;
    }
};

TEST_F(Painting, PaintComesOnlyWhenNothingElseIsQueued) {
    HWND window = shown_window("Plain", "w");
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(window, WM_USER, 0, 0);
    PostMessageA(window, WM_USER + 1, 0, 0);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    DispatchMessageA(&msg);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence(), (Strings{"w 0x0400", "w 0x0401", "w WM_PAINT"}));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the paint validated the window";
}

TEST_F(Painting, PaintStaysDueUntilTheWindowIsValidated) {
    HWND window = shown_window("Plain", "w");
    InvalidateRect(window, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "not dispatched, so still due";
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    EXPECT_TRUE(ValidateRect(window, nullptr));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Painting, UpdateWindowPaintsAtOnce) {
    HWND window = shown_window("Plain", "w");
    RECT part{5, 5, 20, 20};
    InvalidateRect(window, &part, FALSE);
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_EQ(message_log().sequence(), (Strings{"w WM_PAINT"}));
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_EQ(message_log().sequence(), (Strings{"w WM_PAINT"})) << "nothing invalid, nothing sent";
    EXPECT_FALSE(UpdateWindow(nullptr));

    ShowWindow(window, SW_HIDE);
    InvalidateRect(window, nullptr, FALSE);
    message_log().clear();
    UpdateWindow(window);
    EXPECT_TRUE(message_log().of(WM_PAINT).empty()) << "hidden windows do not paint";
}

TEST_F(Painting, EraseOnlyWhenAskedAndPaintAreaAccumulates) {
    HWND window = shown_window("Plain", "w");
    RECT first{10, 10, 20, 20};
    RECT second{50, 5, 60, 15};
    PAINTSTRUCT paint{};
    message_log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_PAINT) return std::nullopt;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    };
    InvalidateRect(window, &first, FALSE);
    InvalidateRect(window, &second, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(message_log().sequence(), (Strings{"w WM_PAINT"}));
    EXPECT_EQ(paint.rcPaint.left, 10);
    EXPECT_EQ(paint.rcPaint.top, 5);
    EXPECT_EQ(paint.rcPaint.right, 60);
    EXPECT_EQ(paint.rcPaint.bottom, 20);

    message_log().clear();
    InvalidateRect(window, &first, FALSE);
    InvalidateRect(window, &second, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(message_log().sequence(), (Strings{"w WM_PAINT", "w WM_ERASEBKGND"}));
    EXPECT_TRUE(paint.fErase) << "the class has no brush, so nothing was erased";

    RECT outside{300, 300, 400, 400};
    EXPECT_TRUE(InvalidateRect(window, &outside, TRUE));
    message_log().clear();
    pump_until_idle();
    EXPECT_TRUE(message_log().entries().empty()) << "a rectangle outside the client area invalidates nothing";
}

TEST_F(Painting, DefaultEraseUsesTheClassBrush) {
    ASSERT_NE(register_logging_class("Face", 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), 0);
    HWND face = shown_window("Face", "face");
    EXPECT_EQ(platform::headless::pixel(face, 0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(platform::headless::pixel(face, 199, 99), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(platform::headless::pixel(face, 200, 0), CLR_INVALID);

    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    ASSERT_NE(register_logging_class("Green", 0, green), 0);
    HWND window = shown_window("Green", "green");
    EXPECT_EQ(platform::headless::pixel(window, 50, 50), RGB(0, 128, 0));
    DestroyWindow(window);
    UnregisterClassA("Green", nullptr);
    DeleteObject(green);

    // A null brush leaves what was there.
    HWND unbrushed = shown_window("Plain", "plain");
    HDC hdc = GetDC(unbrushed);
    fill(hdc, RECT{0, 0, 200, 100}, red);
    ReleaseDC(unbrushed, hdc);
    InvalidateRect(unbrushed, nullptr, TRUE);
    UpdateWindow(unbrushed);
    EXPECT_EQ(message_log().of(WM_ERASEBKGND).size(), 1u);
    EXPECT_EQ(platform::headless::pixel(unbrushed, 100, 50), red);
}

TEST_F(Painting, ChildrenPaintAfterTheirParentAndOnlyInsideThemselves) {
    HWND parent = shown_window("Colour", "parent");
    SetWindowLongPtrA(parent, GWLP_USERDATA, static_cast<LONG_PTR>(red));
    HWND child = create_child("Colour", parent, 20, 30, 40, 20);
    SetWindowLongPtrA(child, GWLP_USERDATA, static_cast<LONG_PTR>(blue));
    message_log().name_window(child, "child");
    int presents = platform::headless::present_count(parent);

    InvalidateRect(parent, nullptr, FALSE);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_PAINT}), (Strings{"parent WM_PAINT", "child WM_PAINT"}));
    EXPECT_EQ(platform::headless::present_count(parent), presents + 1) << "one image per paint cycle";
    EXPECT_EQ(platform::headless::pixel(parent, 19, 30), red);
    EXPECT_EQ(platform::headless::pixel(parent, 20, 30), blue);
    EXPECT_EQ(platform::headless::pixel(parent, 59, 49), blue);
    EXPECT_EQ(platform::headless::pixel(parent, 60, 49), red);
    EXPECT_EQ(platform::headless::pixel(parent, 59, 50), red);
    EXPECT_EQ(platform::headless::pixel(child, 0, 0), blue) << "read in the child's coordinates";

    // A parent's partial update reaches only the children it overlaps.
    message_log().clear();
    RECT left_edge{0, 0, 10, 100};
    InvalidateRect(parent, &left_edge, FALSE);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_PAINT}), (Strings{"parent WM_PAINT"}));

    // Hiding the child shows the parent where it was.
    ShowWindow(child, SW_HIDE);
    pump_until_idle();
    EXPECT_EQ(platform::headless::pixel(parent, 30, 40), red);
}

TEST_F(Painting, InvalidateAllFromAnotherThreadErasesEveryWindowBeforeItReturnsThenRepaints) {
    HWND first = shown_window("Plain", "first");
    HWND second = shown_window("Plain", "second");
    HWND child = create_child("Plain", second, 0, 0, 10, 10);
    message_log().name_window(child, "child");
    pump_until_idle();
    message_log().clear();

    std::atomic<int> erases{0};
    message_log().handler = [&erases](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_ERASEBKGND) ++erases;
        return std::nullopt;
    };
    std::atomic<int> erases_when_returned{-1};
    std::thread worker([&] {
        // Most likely after the UI thread has blocked in GetMessageA; correct either way.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        RECT small{0, 0, 1, 1};
        InvalidateRect(nullptr, &small, FALSE);
        erases_when_returned = erases.load();
    });
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));  // woken by the first erase or the invalidation
    DispatchMessageA(&msg);
    while (erases_when_returned.load() < 0 || message_log().of(WM_PAINT).size() < 3) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    // Every window was sent WM_ERASEBKGND, handled on this thread, before InvalidateRect returned; each also
    // paints in full (the class has no brush, so nothing was erased and BeginPaint asks again).
    EXPECT_GE(erases_when_returned.load(), 3);
    const Strings sequence = message_log().sequence({WM_PAINT, WM_ERASEBKGND});
    for (const std::string name : {"first", "second", "child"}) {
        EXPECT_EQ(std::count(sequence.begin(), sequence.end(), name + " WM_PAINT"), 1) << name;
        EXPECT_GE(std::count(sequence.begin(), sequence.end(), name + " WM_ERASEBKGND"), 1) << name;
    }
    (void)first;
}

// A worker that repaints every window and waits for the repaint, while the UI thread waits for the worker to
// end without retrieving messages, as a restart that joins its calculation thread does.
class Worker_Repaint : public Painting {
protected:
    // Runs `repaint` on a worker, then waits up to `patience` for it to end without retrieving messages.
    // Returns whether it ended by then; afterwards retrieves messages until it has, so nothing stays blocked.
    bool ends_while_ui_thread_waits(const std::function<void()>& repaint,
                                    std::chrono::milliseconds patience) {
        std::atomic<bool> finished{false};
        std::thread worker([&] {
            repaint();
            finished = true;
        });
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (!finished.load() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const bool ended = finished.load();
        MSG msg;
        while (!finished.load()) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        worker.join();
        return ended;
    }
};

TEST_F(Worker_Repaint, RepaintingEveryWindowDeadlocksAUiThreadThatWaitsForTheWorker) {
    shown_window("Plain", "main");
    pump_until_idle();
    message_log().clear();
    // The worker stays inside InvalidateRect until the UI thread handles its WM_ERASEBKGND: however long the
    // UI thread waits, it cannot end.
    EXPECT_FALSE(ends_while_ui_thread_waits(
        [] {
            InvalidateRect(nullptr, nullptr, TRUE);
            UpdateWindow(nullptr);
        },
        std::chrono::milliseconds(300)));
    EXPECT_FALSE(message_log().of(WM_ERASEBKGND).empty()) << "handled once the UI thread retrieved messages";
}

TEST_F(Worker_Repaint, InvalidatingTheMainWindowOnlyNeverWaitsForTheUiThread) {
    HWND main = shown_window("Plain", "main");
    pump_until_idle();
    message_log().clear();
    EXPECT_TRUE(ends_while_ui_thread_waits([main] { InvalidateRect(main, nullptr, TRUE); },
                                           std::chrono::seconds(30)));
    EXPECT_TRUE(message_log().of(WM_ERASEBKGND).empty()) << "nothing was sent";
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_PAINT, WM_ERASEBKGND}),
              (Strings{"main WM_PAINT", "main WM_ERASEBKGND"}));
}

TEST_F(Worker_Repaint, AMessageSentFromAnotherThreadIsHandledWhenTheUiThreadRetrievesMessages) {
    HWND main = shown_window("Plain", "main");
    pump_until_idle();
    message_log().clear();
    std::atomic<std::thread::id> handled_on{};
    message_log().handler = [&handled_on](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_USER) return std::nullopt;
        handled_on = std::this_thread::get_id();
        return 42;
    };
    std::atomic<LRESULT> result{0};
    EXPECT_FALSE(ends_while_ui_thread_waits([&] { result = SendMessageA(main, WM_USER, 1, 2); },
                                            std::chrono::milliseconds(100)));
    EXPECT_EQ(result.load(), 42);
    EXPECT_EQ(handled_on.load(), std::this_thread::get_id());
}

TEST_F(Painting, OtherThreadsInvalidateAndPostWhileWindowsComeAndGo) {
    HWND stable = shown_window("Colour", "stable");
    std::atomic<HWND> target{stable};
    std::atomic<bool> stop{false};
    std::atomic<bool> worker_done{false};
    std::thread worker([&] {
        RECT part{0, 0, 50, 50};
        while (!stop.load()) {
            InvalidateRect(target.load(), &part, TRUE);
            InvalidateRect(nullptr, nullptr, FALSE);
            PostMessageA(target.load(), WM_USER, 0, 0);
            UpdateWindow(nullptr);
        }
        worker_done = true;
    });
    for (int round = 0; round < 200; ++round) {
        HWND window = create_top_level("Colour", 0, 0, 60, 60, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        HWND child = create_child("Colour", window, 5, 5, 20, 20);
        target.store(round % 2 == 0 ? window : child);
        pump_until_idle();
        DestroyWindow(window);
        pump_until_idle();
    }
    HWND gone = target.load();
    stop.store(true);
    // The worker's InvalidateRect(NULL) may be waiting for this thread to handle its erases.
    while (!worker_done.load()) {
        pump_until_idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    EXPECT_FALSE(InvalidateRect(gone, nullptr, TRUE));
    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    EXPECT_TRUE(IsWindow(stable));
    pump_until_idle();
    EXPECT_EQ(platform::gdi::live_object_count(), 0) << "paints released every DC";
}

}  // namespace
