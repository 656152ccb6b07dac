// A zeta viewer and a blue background in a headless window whose procedure works like the main window's:
// every paint draws the registered objects into one off-screen bitmap and copies it to the window, and mouse
// messages become framework events.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"
#include "screen_objects/background.h"
#include "screen_objects/object_registry.h"
#include "tests/support/window_test.h"
#include "zeta/viewer/zeta_viewer.h"

class Viewer_Test : public test_support::Headless_Window_Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Waits for the running calculation to end and for the repaint it asked for.
    void wait_until_calculated();
    void pump();

    void right_click(int x, int y);
    // Points at entry `index` of the open menu, then clicks it.
    void choose(int index);
    // The same for the open menu's entry with this text; fails the test when there is none.
    void choose(const std::string& text);
    void left_click(int x, int y);

    // What the screen shows at client (x, y).
    COLORREF shown(int x, int y) const;
    // Pixels of the critical line's colour in the column the start-up plot puts it in.
    int cyan_pixels_in_line_column() const;

    RECT plot_rect{100, 60, 180, 580};
    Object_Registry registry;
    On_Screen_Object_Ostrelin_Zeta_Function_Viewer viewer;
    On_Screen_Object_Background background;
    HWND window = nullptr;
    POINT menu_corner{};
    std::int32_t precision = 0;
};

// "Finished calculating <quantity> with <precision> iterations."
std::string finished_text(const char* quantity, std::int32_t precision);
