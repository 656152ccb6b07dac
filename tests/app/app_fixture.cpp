#include "tests/app/app_fixture.h"

#include <vector>

#include "platform/testing/testing.h"
#include "tests/support/message_pump.h"

namespace app_test {

std::unique_ptr<Application> Application_Test::application_;

void Application_Test::SetUp() {
    platform::headless::use_headless_display();
    platform::user::reset_window_layer();
    application_ = std::make_unique<Application>();
    ASSERT_TRUE(application_->start(GetModuleHandleA(nullptr)));
    test_support::pump_until_idle();
}

void Application_Test::TearDown() {
    application_.reset();
    platform::user::reset_window_layer();
}

Application& Application_Test::app() {
    return *application_;
}

void Application_Test::finish_calculation() {
    wait_for_calculation(viewer().job);
    test_support::pump_until_idle();
}

void Application_Test::compute_quick_plot() {
    viewer().job.settings.precision = 10;
    viewer().restart_calculation();
    finish_calculation();
}

void Application_Test::move(int x, int y) {
    platform::headless::mouse_move(main_window(), x, y);
    test_support::pump_until_idle();
}

void Application_Test::left_click(int x, int y) {
    platform::headless::click(main_window(), x, y, 1);
    test_support::pump_until_idle();
}

void Application_Test::right_click(int x, int y) {
    platform::headless::click(main_window(), x, y, 2);
    test_support::pump_until_idle();
}

void Application_Test::wheel(int x, int y, int notches) {
    platform::headless::mouse_wheel(main_window(), x, y, notches);
    test_support::pump_until_idle();
}

void Application_Test::choose_menu_entry(int x, int y, int index) {
    right_click(x, y);
    // Entries are 17 pixels high; aim at the middle of the row.
    const int entry_y = y + index * 17 + 8;
    move(x + 5, entry_y);
    left_click(x + 5, entry_y);
}

int Application_Test::menu_index(const std::string& text) {
    const auto commands = viewer().menu_commands();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].text == text) return static_cast<int>(i);
    }
    return -1;
}

void Application_Test::choose_menu_entry(int x, int y, const std::string& text) {
    const int index = menu_index(text);
    ASSERT_GE(index, 0) << "no menu entry \"" << text << "\"";
    choose_menu_entry(x, y, index);
}

std::string Application_Test::window_text(HWND window) {
    std::vector<char> buffer(40000);
    const LRESULT length =
        SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

COLORREF Application_Test::shown(int x, int y) {
    return platform::headless::pixel(main_window(), x, y);
}

}  // namespace app_test
