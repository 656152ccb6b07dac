#include "tests/screen_objects/object_test_window.h"

#include <utility>

#include "platform/gdi/surface.h"
#include "platform/testing/testing.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"

namespace {

constexpr const char* Class_Name = "screen objects test window";

std::int32_t event_for_message(UINT message) {
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

void paint(Object_Test_Window& window) {
    const int live_before = platform::gdi::live_object_count();
    ++window.paints;
    if (window.log != nullptr) window.log->push_back("paint");
    RECT client{};
    GetClientRect(window.handle, &client);
    PAINTSTRUCT paint_struct{};
    HDC paint_dc = BeginPaint(window.handle, &paint_struct);
    window.last_paint_rect = paint_struct.rcPaint;
    HDC memory_dc = CreateCompatibleDC(paint_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(paint_dc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory_dc, bitmap);
    window.registry.paint_window_objects(window.handle, &memory_dc);
    BitBlt(paint_dc, 0, 0, client.right, client.bottom, memory_dc, 0, 0, SRCCOPY);
    SelectObject(memory_dc, previous);
    DeleteObject(bitmap);
    DeleteDC(memory_dc);
    EndPaint(window.handle, &paint_struct);
    if (platform::gdi::live_object_count() != live_before) ++window.leaking_paints;
}

LRESULT CALLBACK test_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* window = reinterpret_cast<Object_Test_Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
    if (message == WM_PAINT) {
        paint(*window);
        return 0;
    }
    if (message == WM_ERASEBKGND && window->log != nullptr) window->log->push_back("erase");
    if (std::int32_t event = event_for_message(message); event != 0) {
        window->registry.dispatch_window_event(hwnd, event, LOWORD(lparam), HIWORD(lparam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

void register_test_class() {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = test_window_procedure;
    window_class.lpszClassName = Class_Name;
    RegisterClassExA(&window_class);
}

}  // namespace

Object_Test_Window::Object_Test_Window(Object_Registry& window_registry, std::vector<std::string>* paint_log)
    : registry(window_registry), log(paint_log) {
    platform::headless::use_headless_display();
    platform::user::reset_window_layer();
    register_test_class();
    RECT frame = test_support::window_rect_for_client(0, 0, 400, 300);
    handle = CreateWindowExA(0, Class_Name, "screen objects", WS_OVERLAPPEDWINDOW, frame.left, frame.top,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr,
                             nullptr);
    SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(handle, SW_SHOW);
    test_support::pump_until_idle();
}

Object_Test_Window::~Object_Test_Window() {
    SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
    DestroyWindow(handle);
    test_support::pump_until_idle();
}

Recording_Object::Recording_Object(std::string object_name, std::vector<std::string>& event_log, RECT covered)
    : name(std::move(object_name)), log(event_log), area(covered) {}

void Recording_Object::update_cursor(std::int32_t, std::int32_t) {}

void Recording_Object::draw(HDC*) {
    log.push_back("draw " + name);
}

bool Recording_Object::hit_test(std::int32_t x, std::int32_t y) {
    return area.left <= x && x <= area.right && area.top <= y && y <= area.bottom;
}

std::int32_t Recording_Object::handle_event(std::int32_t event, std::int32_t x, std::int32_t y) {
    std::string entry = name + " " + std::to_string(event);
    if (event == Event_Child_Removed) entry += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
    log.push_back(entry);
    if (answers.empty()) return Action_None;
    std::int32_t answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}
