// Window geometry, text, identity and the window longs.
#include <algorithm>

#include "platform/gdi/surface.h"
#include "platform/user/window_layer.h"

using namespace platform::user;

namespace {

// The window's client area on the screen.
POINT client_origin_on_screen(HWND hwnd) {
    std::shared_ptr<Window> top = top_level_of(hwnd);
    POINT origin = origin_in_top_level(hwnd);
    return POINT{top->rect.left + origin.x, top->rect.top + origin.y};
}

// The window's rectangle on the screen: its client area, and around a top-level window its frame.
RECT screen_rect(HWND hwnd) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window) return RECT{};
    const POINT client = client_origin_on_screen(hwnd);
    const RECT& frame = window->frame;
    return RECT{client.x - frame.left, client.y - frame.top, client.x + window->width() + frame.right,
                client.y + window->height() + frame.bottom};
}

}  // namespace

void platform::user::send_size_and_move(const Window& window) {
    HWND hwnd = window.handle;
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window.width(), window.height()));
    if (IsWindow(hwnd)) SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(window.rect.left, window.rect.top));
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window || rect == nullptr) return FALSE;
    *rect = RECT{0, 0, window->width(), window->height()};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    if (!find_window(hwnd) || rect == nullptr) return FALSE;
    *rect = screen_rect(hwnd);
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
    if (!find_window(hwnd) || point == nullptr) return FALSE;
    const POINT client = client_origin_on_screen(hwnd);
    point->x -= client.x;
    point->y -= client.y;
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window) return FALSE;
    RECT old_rect = window->rect;
    // The sizes given are the window's; a top-level window's client area is smaller by its frame.
    const RECT& frame = window->frame;
    RECT new_rect{x + frame.left, y + frame.top, x + std::max(width, 0) - frame.right,
                  y + std::max(height, 0) - frame.bottom};
    new_rect.right = std::max(new_rect.right, new_rect.left);
    new_rect.bottom = std::max(new_rect.bottom, new_rect.top);
    set_window_rect(*window, new_rect);
    if (window->parent == nullptr && window->back_store != nullptr) {
        platform::gdi::resize_surface(window->back_store, std::max(window->width(), 1),
                                      std::max(window->height(), 1));
        const platform::display::Backend* display = layer().display.load();
        if (display != nullptr && window->display_window != 0 && display->move_window != nullptr) {
            display->move_window(window->display_window, new_rect.left, new_rect.top, window->width(),
                                 window->height());
        }
    }
    bool moved = old_rect.left != new_rect.left || old_rect.top != new_rect.top;
    bool sized = old_rect.right - old_rect.left != window->width() ||
                 old_rect.bottom - old_rect.top != window->height();
    if (moved) SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(new_rect.left, new_rect.top));
    if (sized && IsWindow(hwnd))
        SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window->width(), window->height()));
    if (repaint && IsWindow(hwnd)) {
        invalidate(hwnd, nullptr, true);
        if (window->parent != nullptr) invalidate(window->parent, &old_rect, true);  // where it was
    }
    return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window) return 0;
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(window->procedure);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(window->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(window->parent);
        case GWLP_USERDATA:
            return window->user_data;
        case GWLP_ID:
            return window->id;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(window->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(window->ex_style);
        default:
            return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window) return 0;
    LONG_PTR previous = GetWindowLongPtrA(hwnd, index);
    switch (index) {
        case GWLP_WNDPROC:
            if (value == 0) return 0;
            window->procedure = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_HINSTANCE:
            window->instance = reinterpret_cast<HINSTANCE>(value);
            break;
        case GWLP_USERDATA:
            window->user_data = value;
            break;
        case GWLP_ID:
            window->id = value;
            break;
        case GWL_STYLE:
            // Visibility changes through ShowWindow only; the other bits are taken as given.
            window->style = (static_cast<DWORD>(value) & ~WS_VISIBLE) | (window->style & WS_VISIBLE);
            break;
        case GWL_EXSTYLE:
            window->ex_style = static_cast<DWORD>(value);
            break;
        default:
            return 0;
    }
    return previous;
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!find_window(hwnd)) return FALSE;
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int max_count) {
    if (buffer == nullptr || max_count <= 0) return 0;
    buffer[0] = '\0';
    if (!find_window(hwnd)) return 0;
    return static_cast<int>(
        SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(max_count), reinterpret_cast<LPARAM>(buffer)));
}

HWND WINAPI GetParent(HWND hwnd) {
    std::shared_ptr<Window> window = find_window(hwnd);
    return window ? window->parent : nullptr;
}

BOOL WINAPI IsWindow(HWND hwnd) {
    return find_window(hwnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    return is_visible_tree(hwnd) ? TRUE : FALSE;
}

int WINAPI GetDlgCtrlID(HWND hwnd) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window || window->parent == nullptr) return 0;
    return static_cast<int>(window->id);
}
