#include "app/main_window.h"

#include <cstdint>

#include "app/application.h"
#include "screen_objects/object_registry.h"

const char main_window_class_name[] = "this is what you name your window class";

namespace {

// Every object draws into one off-screen bitmap, which reaches the window in a single copy, so the window
// never shows a half-drawn frame.
void paint_double_buffered(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    PAINTSTRUCT paint;
    HDC window_dc = BeginPaint(window, &paint);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(window_dc, width, height);
    HGDIOBJ previous_bitmap = SelectObject(memory_dc, bitmap);

    object_registry.paint_window_objects(window, &memory_dc);
    BitBlt(window_dc, 0, 0, width, height, memory_dc, 0, 0, SRCCOPY);

    SelectObject(memory_dc, previous_bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory_dc);
    EndPaint(window, &paint);
}

void dispatch_mouse(HWND window, std::int32_t event, LPARAM lparam) {
    // Signed: while the window holds the capture, the pointer may be left of or above the client area.
    object_registry.dispatch_window_event(window, event, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
}

// The readout follows the pointer over the viewer, unless another object (an open menu) is in front of it.
POINT latest_pointer{};  // where a readout value computed in the background is shown for

void update_readout(HWND window, std::int32_t x, std::int32_t y) {
    latest_pointer = POINT{x, y};
    const Window_Object_List* list = object_registry.find_record(window);
    if (list == nullptr) return;
    const On_Screen_Object* front = nullptr;
    for (On_Screen_Object* object : list->objects) {
        if (object->hit_test(x, y)) {
            front = object;
            break;
        }
    }
    viewer.point_at(x, y, front == &viewer, !list->objects.empty() && list->objects.front() == &viewer);
}

// The wheel's position comes in screen coordinates. Deltas that are not whole notches (fine-grained wheels)
// add up until they are.
void dispatch_wheel(HWND window, WPARAM wparam, LPARAM lparam) {
    static int partial_delta = 0;
    const int delta = partial_delta + GET_WHEEL_DELTA_WPARAM(wparam);
    partial_delta = delta % WHEEL_DELTA;
    const int notches = delta / WHEEL_DELTA;
    if (notches == 0) return;
    POINT point{static_cast<SHORT>(LOWORD(lparam)), static_cast<SHORT>(HIWORD(lparam))};
    ScreenToClient(window, &point);
    object_registry.dispatch_window_event(window, Event_Mouse_Wheel, point.x, point.y, notches);
    update_readout(window, point.x, point.y);
}

}  // namespace

LRESULT CALLBACK Main_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_COMMAND:
            return 0;
        case WM_PAINT:
            paint_double_buffered(window);
            return 0;
        case WM_MOUSEMOVE:
            dispatch_mouse(window, Event_Mouse_Move, lparam);
            update_readout(window, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
            return 0;
        case WM_RBUTTONDOWN:
            dispatch_mouse(window, Event_Right_Button_Down, lparam);
            return 0;
        case WM_RBUTTONUP:
            dispatch_mouse(window, Event_Right_Button_Up, lparam);
            return 0;
        case WM_LBUTTONDOWN:
            // A drag (pan, move, edge) follows the pointer outside the window and ends wherever it is
            // released.
            SetCapture(window);
            dispatch_mouse(window, Event_Left_Button_Down, lparam);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == window) ReleaseCapture();
            dispatch_mouse(window, Event_Left_Button_Up, lparam);
            return 0;
        case WM_MOUSEWHEEL:
            dispatch_wheel(window, wparam, lparam);
            return 0;
        case readout_ready_message:
            update_readout(window, latest_pointer.x, latest_pointer.y);
            return 0;
        case WM_TIMER:
            if (wparam == progress_timer_id) viewer.show_progress();
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}
