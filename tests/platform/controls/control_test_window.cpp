#include "control_test_window.h"

#ifndef _WIN32
#include "platform/testing/testing.h"
#endif
#include "tests/support/test_input.h"
#include "tests/support/window_test.h"

namespace controls_test {
namespace {

std::vector<Command> received_commands;

LRESULT CALLBACK host_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND) {
        received_commands.push_back({wparam, lparam});
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// Registered for every test: tests with a fresh window layer in the same program unregister it.
const char* host_class() {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = host_procedure;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = "Control Test Host";
    RegisterClassExA(&window_class);  // fails harmlessly while it is registered
    return window_class.lpszClassName;
}

}  // namespace

void Control_Test::SetUp() {
#ifndef _WIN32
    platform::headless::use_headless_display();
#endif
    received_commands.clear();
    RECT frame = test_support::window_rect_for_client(100, 100, 500, 400);
    parent_ = CreateWindowExA(0, host_class(), "Controls", WS_OVERLAPPEDWINDOW, frame.left, frame.top,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    ShowWindow(parent_, SW_SHOW);
    pump();
}

void Control_Test::TearDown() {
    DestroyWindow(parent_);
    pump();
}

HWND Control_Test::create_button(const char* caption, int x, int y, int width, int height, int id,
                                 DWORD style) {
    HWND button = CreateWindowExA(0, "Button", caption, style, x, y, width, height, parent_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(button, nullptr);
    pump();
    return button;
}

HWND Control_Test::create_edit(int x, int y, int width, int height, DWORD style) {
    HWND edit = CreateWindowExA(0, "Edit", nullptr, style, x, y, width, height, parent_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(edit, nullptr);
    pump();
    return edit;
}

void Control_Test::pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string Control_Test::text_of(HWND edit) {
    auto length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    auto copied = SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void Control_Test::set_text(HWND edit, const char* text) {
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    pump();
}

void Control_Test::focus_edit(HWND edit, int x) {
    test_support::click(edit, x, 10);
    pump();
    ASSERT_EQ(GetFocus(), edit);
}

COLORREF Control_Test::shown(HWND window, int x, int y) {
#ifdef _WIN32
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
#else
    return platform::headless::pixel(window, x, y);
#endif
}

const std::vector<Command>& Control_Test::commands() {
    return received_commands;
}

}  // namespace controls_test
