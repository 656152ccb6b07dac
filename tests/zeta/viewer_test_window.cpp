#include "tests/zeta/viewer_test_window.h"

#include "platform/testing/testing.h"
#include "tests/support/message_pump.h"
#include "tests/zeta/render_probe.h"
#include "tests/zeta/sanitizer_scale.h"

namespace {

constexpr const char* class_name = "zeta viewer test window";
constexpr int client_width = 760, client_height = 740;
constexpr int menu_item_height = 17;

Object_Registry* painted_registry = nullptr;

std::int32_t event_for(UINT message) {
    switch (message) {
        case WM_MOUSEMOVE:
            return Event_Mouse_Move;
        case WM_RBUTTONDOWN:
            return Event_Right_Button_Down;
        case WM_RBUTTONUP:
            return Event_Right_Button_Up;
        case WM_LBUTTONDOWN:
            return Event_Left_Button_Down;
        case WM_LBUTTONUP:
            return Event_Left_Button_Up;
        default:
            return 0;
    }
}

void paint(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    PAINTSTRUCT paint_struct{};
    HDC window_dc = BeginPaint(window, &paint_struct);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(window_dc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory_dc, bitmap);
    painted_registry->paint_window_objects(window, &memory_dc);
    BitBlt(window_dc, 0, 0, client.right, client.bottom, memory_dc, 0, 0, SRCCOPY);
    SelectObject(memory_dc, previous);
    DeleteObject(bitmap);
    DeleteDC(memory_dc);
    EndPaint(window, &paint_struct);
}

LRESULT CALLBACK viewer_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (painted_registry == nullptr) return DefWindowProcA(window, message, wparam, lparam);
    if (message == WM_PAINT) {
        paint(window);
        return 0;
    }
    if (const std::int32_t event = event_for(message); event != 0) {
        painted_registry->dispatch_window_event(window, event, LOWORD(lparam), HIWORD(lparam));
        return 0;
    }
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
    viewer.colour = RGB(14, 24, 34);
    Plot_Job& job = viewer.job;
    job.plot_rect = &plot_rect;
    job.repaint_window = window;
    job.real_part = 0.0;
    job.imaginary_part = -5.0;
    job.real_scale = 0.02;
    job.imaginary_scale = 0.1;
    job.ceiling = 5.0;
    job.floor = -5.0;
    job.mode = Reciprocal_Absolute_Value;
    job.precision = precision;
    start_calculation(job);
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
