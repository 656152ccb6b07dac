#include "tests/support/window_test.h"

#include "platform/display/headless.h"
#include "platform/user/testing.h"
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

HWND Headless_Window_Test::create_top_level(const char* class_name, int x, int y, int width, int height,
                                            DWORD style) {
    return CreateWindowExA(0, class_name, "test", style, x, y, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND Headless_Window_Test::create_child(const char* class_name, HWND parent, int x, int y, int width,
                                        int height, int id, DWORD style) {
    return CreateWindowExA(0, class_name, "", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), GetModuleHandleA(nullptr),
                           nullptr);
}

}  // namespace test_support
