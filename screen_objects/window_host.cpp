#include "screen_objects/window_host.h"

#include <cstdint>

namespace {

constexpr UINT last_application_message = 0xBFFF;

// Every object draws into one off-screen bitmap, which reaches the window in a single copy, so the window
// never shows a half-drawn frame.
void paint_double_buffered(Object_Registry& registry, HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    PAINTSTRUCT paint;
    HDC window_dc = BeginPaint(window, &paint);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(window_dc, width, height);
    HGDIOBJ previous_bitmap = SelectObject(memory_dc, bitmap);

    registry.paint_window_objects(window, &memory_dc);
    BitBlt(window_dc, 0, 0, width, height, memory_dc, 0, 0, SRCCOPY);

    SelectObject(memory_dc, previous_bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory_dc);
    EndPaint(window, &paint);
}

// Tells every object where the pointer is, and which of them is the front-most one under it.
void tell_pointer(Window_Object_List& list, std::int32_t x, std::int32_t y) {
    list.pointer = POINT{x, y};
    On_Screen_Object* front = nullptr;
    for (On_Screen_Object* object : list.objects) {
        if (object->hit_test(x, y)) {
            front = object;
            break;
        }
    }
    // Indexes: an object may paint, which reads the list.
    for (std::size_t i = 0; i < list.objects.size(); ++i) {
        On_Screen_Object* object = list.objects[i];
        object->point_at(x, y, object == front, i == 0);
    }
}

void dispatch_mouse(Window_Object_List& list, std::int32_t event, LPARAM lparam) {
    // Signed: while the window holds the capture, the pointer may be left of or above the client area.
    list.dispatch_event(event, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
}

// The wheel's position comes in screen coordinates. Deltas that are not whole notches add up until they are.
void dispatch_wheel(Window_Object_List& list, HWND window, WPARAM wparam, LPARAM lparam) {
    const int delta = list.wheel_remainder + GET_WHEEL_DELTA_WPARAM(wparam);
    list.wheel_remainder = delta % WHEEL_DELTA;
    const int notches = delta / WHEEL_DELTA;
    if (notches == 0) return;
    POINT point{static_cast<SHORT>(LOWORD(lparam)), static_cast<SHORT>(HIWORD(lparam))};
    ScreenToClient(window, &point);
    list.dispatch_event(Event_Mouse_Wheel, point.x, point.y, notches);
    tell_pointer(list, point.x, point.y);
}

template <typename Call>
void tell_every_object(Window_Object_List& list, Call call) {
    for (std::size_t i = 0; i < list.objects.size(); ++i)
        call(*list.objects[i]);
}

}  // namespace

bool host_window_message(Object_Registry& registry, HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                         LRESULT& result) {
    result = 0;
    if (message == WM_PAINT) {
        paint_double_buffered(registry, window);
        return true;
    }
    Window_Object_List* list = registry.find_record(window);
    switch (message) {
        case WM_MOUSEMOVE:
            if (list == nullptr) return true;
            dispatch_mouse(*list, Event_Mouse_Move, lparam);
            tell_pointer(*list, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
            return true;
        case WM_RBUTTONDOWN:
            if (list != nullptr) dispatch_mouse(*list, Event_Right_Button_Down, lparam);
            return true;
        case WM_RBUTTONUP:
            if (list != nullptr) dispatch_mouse(*list, Event_Right_Button_Up, lparam);
            return true;
        case WM_LBUTTONDOWN:
            // A drag (pan, move, edge) follows the pointer outside the window and ends wherever it is
            // released.
            SetCapture(window);
            if (list != nullptr) dispatch_mouse(*list, Event_Left_Button_Down, lparam);
            return true;
        case WM_LBUTTONUP:
            if (GetCapture() == window) ReleaseCapture();
            if (list != nullptr) dispatch_mouse(*list, Event_Left_Button_Up, lparam);
            return true;
        case WM_MOUSEWHEEL:
            if (list != nullptr) dispatch_wheel(*list, window, wparam, lparam);
            return true;
        case WM_KEYDOWN:
            if (list == nullptr) return false;
            return list->dispatch_key(static_cast<UINT>(wparam));
        case WM_TIMER:
            if (list != nullptr)
                tell_every_object(*list, [&](On_Screen_Object& o) { o.handle_timer(wparam); });
            return true;
        default:
            if (message < WM_APP || message > last_application_message) return false;
            if (list != nullptr) {
                tell_every_object(*list,
                                  [&](On_Screen_Object& o) { o.handle_posted(message, wparam, lparam); });
                // What the objects show for the pointer may depend on the result.
                if (list->pointer) tell_pointer(*list, list->pointer->x, list->pointer->y);
            }
            return true;
    }
}

Window_Picture paint_window_picture(Object_Registry& registry, HWND window) {
    Window_Picture picture;
    RECT client{};
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return picture;
    const int width = client.right;
    const int height = client.bottom;
    HDC window_dc = GetDC(window);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(window_dc, width, height);
    ReleaseDC(window, window_dc);
    HGDIOBJ previous_bitmap = SelectObject(memory_dc, bitmap);
    registry.paint_window_objects(window, &memory_dc);
    SelectObject(memory_dc, previous_bitmap);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (GetDIBits(memory_dc, bitmap, 0, static_cast<UINT>(height), picture.pixels.data(), &info,
                  DIB_RGB_COLORS) == height) {
        picture.width = width;
        picture.height = height;
        for (std::uint32_t& pixel : picture.pixels)
            pixel &= 0x00FFFFFFu;
    } else {
        picture.pixels.clear();
    }
    DeleteObject(bitmap);
    DeleteDC(memory_dc);
    return picture;
}
