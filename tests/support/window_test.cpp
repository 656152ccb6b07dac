#include "tests/support/window_test.h"

#include <string>
#include <vector>

#ifndef _WIN32
#include "platform/testing/testing.h"
#endif
#include "tests/support/message_log.h"

namespace test_support {

#ifdef _WIN32
namespace {

BOOL CALLBACK collect_window(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// What a fresh window layer gives on Windows: no window of this thread, no queued message, and none of the
// tests' logging classes registered.
void reset_windows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), collect_window, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        if (IsWindow(window)) DestroyWindow(window);
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    for (const std::string& name : registered_logging_classes())
        UnregisterClassA(name.c_str(), GetModuleHandleA(nullptr));
    registered_logging_classes().clear();
}

}  // namespace
#endif

void Headless_Window_Test::SetUp() {
#ifdef _WIN32
    reset_windows();
#else
    platform::headless::use_headless_display();
    platform::user::reset_window_layer();
#endif
    message_log().reset();
}

void Headless_Window_Test::TearDown() {
    // The handler may refer to the finished test's locals.
    message_log().handler = nullptr;
#ifdef _WIN32
    reset_windows();
#else
    platform::user::reset_window_layer();
#endif
    message_log().reset();
}

RECT window_rect_for_client(int x, int y, int width, int height, DWORD style) {
    RECT rect{x, y, x + width, y + height};
    AdjustWindowRectEx(&rect, style, FALSE, 0);
    return rect;
}

HWND Headless_Window_Test::create_top_level(const char* class_name, int x, int y, int width, int height,
                                            DWORD style) {
    RECT rect = window_rect_for_client(x, y, width, height, style);
    return CreateWindowExA(0, class_name, "test", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND Headless_Window_Test::create_child(const char* class_name, HWND parent, int x, int y, int width,
                                        int height, int id, DWORD style) {
    return CreateWindowExA(0, class_name, "", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), GetModuleHandleA(nullptr),
                           nullptr);
}

}  // namespace test_support
