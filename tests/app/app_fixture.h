// Runs the whole viewer in-process on the headless display: start-up before each test, the exit steps after
// it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/application.h"
#include "platform/win32.h"

namespace app_test {

class Application_Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Waits for the running calculation to end, then dispatches everything it asked for.
    static void finish_calculation();
    // Computes the start-up plot again with few series terms, so that many restarts stay quick.
    static void compute_quick_plot();
    // Pushes input to the main window and dispatches it.
    static void move(int x, int y);
    static void left_click(int x, int y);
    static void right_click(int x, int y);
    static void wheel(int x, int y, int notches);
    // Opens the plot's menu at (x, y) and releases the left button on entry `index`.
    static void choose_menu_entry(int x, int y, int index);
    static std::string window_text(HWND window);
    static COLORREF shown(int x, int y);
};

}  // namespace app_test
