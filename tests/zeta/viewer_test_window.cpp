#include "tests/zeta/viewer_test_window.h"

#include <algorithm>

#include "platform/testing/testing.h"
#include "screen_objects/window_host.h"
#include "tests/support/message_pump.h"
#include "tests/support/sanitizer_scale.h"
#include "tests/zeta/render_probe.h"

namespace {

constexpr const char* class_name = "zeta viewer test window";
constexpr int client_width = 760, client_height = 740;
constexpr int menu_item_height = 17;

Object_Registry* painted_registry = nullptr;

LRESULT CALLBACK viewer_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = 0;
    if (painted_registry != nullptr &&
        host_window_message(*painted_registry, window, message, wparam, lparam, result))
        return result;
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

std::string finished_text(const char* quantity, std::int32_t precision) {
    return std::string("Finished calculating ") + quantity + " with " + std::to_string(precision) +
           " iterations.";
}

void Viewer_Test::SetUp() {
    Headless_Window_Test::SetUp();
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = viewer_window_procedure;
    window_class.lpszClassName = class_name;
    ASSERT_NE(RegisterClassExA(&window_class), 0);
    window = create_top_level(class_name, 0, 0, client_width, client_height);
    ASSERT_NE(window, nullptr);
    painted_registry = &registry;
    registry.main_window = window;

    // The start-up plot, with fewer series terms under a sanitizer.
    precision = scaled(100, 20);
    viewer.rect = &plot_rect;
    viewer.window = window;
    viewer.colour = RGB(14, 24, 34);
    viewer.job.settings = start_up_settings();
    viewer.job.settings.precision = precision;
    viewer.restart_calculation();
    registry.register_object(&viewer);
    background.colour = RGB(0, 0, 255);
    registry.register_object(&background);
    ShowWindow(window, SW_SHOW);
    wait_until_calculated();
}

void Viewer_Test::TearDown() {
    stop_calculation(viewer.job);
    painted_registry = nullptr;
    Headless_Window_Test::TearDown();
}

void Viewer_Test::pump() {
    test_support::pump_until_idle();
}

void Viewer_Test::wait_until_calculated() {
    wait_for_calculation(viewer.job);
    pump();
}

void Viewer_Test::right_click(int x, int y) {
    platform::headless::mouse_move(window, x, y);
    platform::headless::click(window, x, y, 2);
    pump();
    menu_corner = {x, y};
}

void Viewer_Test::choose(int index) {
    const int x = menu_corner.x + 10;
    const int y = menu_corner.y + index * menu_item_height + menu_item_height / 2;
    platform::headless::mouse_move(window, x, y);
    pump();
    platform::headless::click(window, x, y);
    pump();
}

void Viewer_Test::choose(const std::string& text) {
    const auto& items = viewer.menu.items;
    const auto found = std::find(items.begin(), items.end(), text);
    ASSERT_NE(found, items.end()) << "no menu entry \"" << text << "\"";
    choose(static_cast<int>(found - items.begin()));
}

void Viewer_Test::left_click(int x, int y) {
    platform::headless::mouse_move(window, x, y);
    platform::headless::click(window, x, y);
    pump();
}

COLORREF Viewer_Test::shown(int x, int y) const {
    return platform::headless::pixel(window, x, y);
}

int Viewer_Test::cyan_pixels_in_line_column() const {
    int count = 0;
    for (int y = 0; y < client_height; ++y)
        count += shown(125, y) == Cyan_Critical_Line;
    return count;
}
