// Runs the whole viewer in-process on the headless display: a fresh application started before each test,
// finished after it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/application.h"
#include "platform/win32.h"

namespace app_test {

class Application_Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static Application& app();
    static On_Screen_Object_Ostrelin_Zeta_Function_Viewer& viewer() { return app().viewer; }
    static HWND main_window() { return app().main_window; }
    static Options_Window& options() { return app().options; }

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
    // The same for the entry with this text; fails the test when the menu has none.
    static void choose_menu_entry(int x, int y, const std::string& text);
    // The index of the entry with this text in the menu as it would open now, or -1.
    static int menu_index(const std::string& text);
    static std::string window_text(HWND window);
    static COLORREF shown(int x, int y);

private:
    static std::unique_ptr<Application> application_;
};

}  // namespace app_test
