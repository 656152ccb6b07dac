#include "tests/app/app_fixture.h"

#include <vector>

#include "platform/testing/testing.h"
#include "tests/support/message_pump.h"

namespace app_test {

namespace {

// The viewer is a program-wide object; give every test the state a fresh process would have.
void reset_viewer() {
    viewer.end_drag();
    viewer.panning = 0;
    viewer.active = 0;
    viewer.job.precision = 100;
    viewer.job.method = Series_Method;
    viewer.job.pan_offset_x = 0.0;
    viewer.job.pan_offset_y = 0.0;
    viewer.history = View_History{};
    viewer.readout.clear();
}

}  // namespace

void Application_Test::SetUp() {
    platform::headless::use_headless_display();
    platform::user::reset_window_layer();
    reset_viewer();
    ASSERT_TRUE(start_application(GetModuleHandleA(nullptr)));
    test_support::pump_until_idle();
}

void Application_Test::TearDown() {
    finish_application();
    platform::user::reset_window_layer();
}

void Application_Test::finish_calculation() {
    wait_for_calculation(viewer.job);
    test_support::pump_until_idle();
}

void Application_Test::compute_quick_plot() {
    viewer.job.precision = 10;
    start_calculation(viewer.job);
    finish_calculation();
}

void Application_Test::move(int x, int y) {
    platform::headless::mouse_move(main_window, x, y);
    test_support::pump_until_idle();
}

void Application_Test::left_click(int x, int y) {
    platform::headless::click(main_window, x, y, 1);
    test_support::pump_until_idle();
}

void Application_Test::right_click(int x, int y) {
    platform::headless::click(main_window, x, y, 2);
    test_support::pump_until_idle();
}

void Application_Test::wheel(int x, int y, int notches) {
    platform::headless::mouse_wheel(main_window, x, y, notches);
    test_support::pump_until_idle();
}

void Application_Test::choose_menu_entry(int x, int y, int index) {
    right_click(x, y);
    // Entries are 17 pixels high; aim at the middle of the row.
    const int entry_y = y + index * 17 + 8;
    move(x + 5, entry_y);
    left_click(x + 5, entry_y);
}

std::string Application_Test::window_text(HWND window) {
    std::vector<char> buffer(40000);
    const LRESULT length =
        SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

COLORREF Application_Test::shown(int x, int y) {
    return platform::headless::pixel(main_window, x, y);
}

}  // namespace app_test
