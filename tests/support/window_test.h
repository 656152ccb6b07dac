// A GoogleTest fixture for tests that create windows: the headless display, a fresh window layer and an empty
// message log before each test, and everything torn down after it.
#pragma once

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace test_support {

// The window rectangle whose client area lies at (x, y) with the given size, for a window of `style`.
RECT window_rect_for_client(int x, int y, int width, int height, DWORD style = WS_OVERLAPPEDWINDOW);

class Headless_Window_Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A top-level window whose client area has the given place and size, not shown.
    static HWND create_top_level(const char* class_name, int x, int y, int width, int height,
                                 DWORD style = WS_OVERLAPPEDWINDOW);
    static HWND create_child(const char* class_name, HWND parent, int x, int y, int width, int height,
                             int id = 0, DWORD style = WS_CHILD | WS_VISIBLE);
};

}  // namespace test_support
