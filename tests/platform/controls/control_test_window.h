// A visible top-level window on the headless display that hosts the controls under test and records the
// WM_COMMAND notifications it receives.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"

namespace controls_test {

struct Command {
    WPARAM wparam;
    LPARAM lparam;
};

class Control_Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND create_button(const char* caption, int x, int y, int width, int height, int id,
                       DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER);
    HWND create_edit(int x, int y, int width, int height, DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER);

    // Delivers all queued input and paints until nothing is left, as a message loop would.
    static void pump();
    // The edit's text through WM_GETTEXT.
    static std::string text_of(HWND edit);
    static void set_text(HWND edit, const char* text);
    // Clicks into the edit (focusing it), at the left margin unless told otherwise.
    void focus_edit(HWND edit, int x = 3);
    // What the screen shows at the control's client coordinates.
    static COLORREF shown(HWND window, int x, int y);

    // WM_COMMAND notifications the host window received since the test began, oldest first.
    static const std::vector<Command>& commands();

    HWND parent_ = nullptr;
};

// Layout of the edit's text that the tests rely on: inside a WS_BORDER edit, text starts 3 pixels from the
// left edge and 2 pixels from the top, 16 pixels per line.
constexpr int edit_text_left = 3;
constexpr int edit_text_top = 2;
constexpr int line_height = 16;

}  // namespace controls_test
