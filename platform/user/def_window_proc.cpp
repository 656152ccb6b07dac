// Default processing of window messages.
#include <algorithm>
#include <cstring>

#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

// Class brushes up to this value are system colour indexes plus one, as in Win32.
constexpr std::uintptr_t largest_system_colour_brush = 64;

LRESULT erase_background(const Window& window, HDC hdc) {
    HBRUSH brush = window.window_class->background;
    if (brush == nullptr || hdc == nullptr) return 0;
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value <= largest_system_colour_brush) brush = GetSysColorBrush(static_cast<int>(value) - 1);
    RECT client{0, 0, window.width(), window.height()};
    FillRect(hdc, &client, brush);
    return 1;
}

LRESULT set_class_cursor(const Window& window, WPARAM wparam, LPARAM lparam) {
    // A parent may decide the cursor for its children first.
    if (window.parent != nullptr && SendMessageA(window.parent, WM_SETCURSOR, wparam, lparam) != 0)
        return TRUE;
    // A parent's own class cursor is not for the children under the pointer.
    if (reinterpret_cast<HWND>(wparam) != window.handle) return FALSE;
    if (LOWORD(lparam) != HTCLIENT || window.window_class->cursor == nullptr) return FALSE;
    SetCursor(window.window_class->cursor);
    return TRUE;
}

void set_text(Window& window, LPCSTR text) {
    window.text = text != nullptr ? text : "";
    const display::Backend* display = layer().display.load();
    if (window.parent == nullptr && display != nullptr && window.display_window != 0) {
        display->set_title(window.display_window, window.text.c_str());
    }
}

LRESULT copy_text(const Window& window, WPARAM capacity, LPSTR buffer) {
    if (buffer == nullptr || capacity == 0) return 0;
    std::size_t count = std::min<std::size_t>(window.text.size(), capacity - 1);
    std::memcpy(buffer, window.text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window) return 0;
    switch (msg) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
            if (create != nullptr && create->lpszName != nullptr) set_text(*window, create->lpszName);
            return TRUE;
        }
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return erase_background(*window, reinterpret_cast<HDC>(wparam));
        case WM_SETCURSOR:
            return set_class_cursor(*window, wparam, lparam);
        case WM_MOUSEWHEEL:
            // Passed up the parent chain until a window handles it.
            return window->parent != nullptr ? SendMessageA(window->parent, msg, wparam, lparam) : 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE) SetFocus(hwnd);
            return 0;
        case WM_SETTEXT:
            set_text(*window, reinterpret_cast<LPCSTR>(lparam));
            return TRUE;
        case WM_GETTEXT:
            return copy_text(*window, wparam, reinterpret_cast<LPSTR>(lparam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window->text.size());
        default:
            return 0;
    }
}
