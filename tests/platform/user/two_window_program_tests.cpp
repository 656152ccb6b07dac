// A whole small program on the headless display: a double-buffered main window and a second window with a
// system-colour background, driven by pushed input, another thread's repaint request and the close button.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/gdi/surface.h"
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"

namespace headless = platform::headless;

namespace {

struct Program_State {
    COLORREF main_background = RGB(0, 0, 255);
    COLORREF panel_colour = RGB(10, 120, 30);
    int main_paints = 0;
    int second_paints = 0;
    int main_clicks = 0;
    int second_clicks = 0;
    POINT last_click{-1, -1};
};

Program_State state;

void fill(HDC hdc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

// Draws everything into a bitmap first and shows it in one block, as the viewer's main window does.
void paint_double_buffered(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP bitmap = CreateCompatibleBitmap(hdc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    fill(memory, client, state.main_background);
    if (state.last_click.x >= 0) {
        fill(memory,
             RECT{state.last_click.x, state.last_click.y, state.last_click.x + 3, state.last_click.y + 3},
             RGB(255, 255, 0));
    }
    BitBlt(hdc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK main_procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            ++state.main_paints;
            paint_double_buffered(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
            ++state.main_clicks;
            state.last_click = POINT{LOWORD(lparam), HIWORD(lparam)};
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wparam, lparam);
    }
}

LRESULT CALLBACK second_procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case WM_PAINT: {
            ++state.second_paints;
            PAINTSTRUCT paint;
            HDC hdc = BeginPaint(hwnd, &paint);
            fill(hdc, RECT{30, 30, 200, 60}, state.panel_colour);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_LBUTTONDOWN:
            ++state.second_clicks;
            return 0;
        case WM_CLOSE:
            ShowWindow(hwnd, SW_HIDE);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wparam, lparam);
    }
}

ATOM register_class(const char* name, WNDPROC procedure, UINT style, HBRUSH background) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc);
}

class Two_Window_Program : public test_support::Headless_Window_Test {};

TEST_F(Two_Window_Program, ClickRepaintFromAnotherThreadAndCloseEndTheLoop) {
    state = Program_State{};
    int objects_before = platform::gdi::live_object_count();
    ASSERT_NE(register_class("Main", main_procedure, CS_HREDRAW | CS_VREDRAW, nullptr), 0);
    ASSERT_NE(register_class("Second", second_procedure, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), 0);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND main_window = CreateWindowExA(0, "Main", "Main", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                       CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    HWND second_window = CreateWindowExA(0, "Second", "Second", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                         CW_USEDEFAULT, 400, 550, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(main_window, nullptr);
    ASSERT_NE(second_window, nullptr);
    ShowWindow(second_window, SW_SHOW);
    ShowWindow(main_window, SW_SHOW);
    test_support::pump_until_idle();
    EXPECT_EQ(headless::pixel(main_window, 0, 0), RGB(0, 0, 255));
    RECT main_client, second_client;
    GetClientRect(main_window, &main_client);
    GetClientRect(second_window, &second_client);
    EXPECT_EQ(headless::pixel(main_window, main_client.right - 1, main_client.bottom - 1), RGB(0, 0, 255));
    EXPECT_EQ(headless::pixel(second_window, 5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(headless::pixel(second_window, 30, 30), RGB(10, 120, 30));
    EXPECT_EQ(headless::pixel(second_window, second_client.right - 1, second_client.bottom - 1),
              GetSysColor(COLOR_BTNFACE));

    headless::click(main_window, 123, 45);
    test_support::pump_until_idle();
    EXPECT_EQ(state.main_clicks, 1);
    EXPECT_EQ(state.second_clicks, 0);
    EXPECT_EQ(state.last_click.x, 123);
    EXPECT_EQ(state.last_click.y, 45);
    EXPECT_EQ(headless::pixel(main_window, 124, 46), RGB(255, 255, 0));
    EXPECT_EQ(headless::pixel(main_window, 126, 46), RGB(0, 0, 255));

    // A worker changes what both windows show and asks for every window to be redrawn.
    state.main_background = RGB(200, 0, 0);
    state.panel_colour = RGB(0, 0, 0);
    int main_paints = state.main_paints;
    int second_paints = state.second_paints;
    std::atomic<bool> returned{false};
    std::thread worker([&returned] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        RECT plot{100, 60, 180, 580};
        InvalidateRect(nullptr, &plot, TRUE);
        UpdateWindow(nullptr);
        returned = true;
    });
    // InvalidateRect(NULL) returns once this thread has handled the erases it sends.
    MSG msg;
    while (state.main_paints == main_paints || state.second_paints == second_paints || !returned.load()) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    test_support::pump_until_idle();
    EXPECT_EQ(headless::pixel(main_window, 0, 0), RGB(200, 0, 0))
        << "repainted in full, not just the rectangle";
    EXPECT_EQ(headless::pixel(main_window, 124, 46), RGB(255, 255, 0));
    EXPECT_EQ(headless::pixel(second_window, 30, 30), RGB(0, 0, 0));
    EXPECT_EQ(headless::pixel(second_window, 5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(platform::gdi::live_object_count(), objects_before) << "paints delete what they create";

    // Closing the main window ends the program although the second window is still shown.
    headless::request_close(main_window);
    EXPECT_EQ(test_support::run_message_loop(), 0);
    EXPECT_FALSE(IsWindow(main_window));
    EXPECT_TRUE(IsWindowVisible(second_window));
}

}  // namespace
