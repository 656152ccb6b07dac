#include "tests/support/window_test.h"

#include "platform/testing/testing.h"
#include "tests/support/message_log.h"

namespace test_support {

void Headless_Window_Test::SetUp() {
    platform::headless::use_headless_display();
    platform::user::reset_window_layer();
    message_log().reset();
}

void Headless_Window_Test::TearDown() {
    // The handler may refer to the finished test's locals.
    message_log().handler = nullptr;
    platform::user::reset_window_layer();
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
