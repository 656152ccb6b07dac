// Showing and hiding windows, the active top-level window and the keyboard focus.
#include <algorithm>

#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

void set_focus_window(HWND handle) {
    Layer& l = layer();
    HWND previous = l.focus;
    if (previous == handle) return;
    l.focus = handle;
    if (previous != nullptr) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    if (handle != nullptr && l.focus == handle) {
        SendMessageA(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
}

// A window being shown erases its background at once, as Win32's ShowWindow does; the paint comes later.
void erase_now(HWND handle) {
    std::shared_ptr<Window> window = find_window(handle);
    if (!window || !is_visible_tree(handle)) return;
    {
        std::lock_guard guard(layer().lock);
        if (!window->erase) return;
        window->erase = false;
    }
    HDC hdc = GetDC(handle);
    if (hdc == nullptr) return;
    SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    ReleaseDC(handle, hdc);
}

}  // namespace

void activate(HWND top_level, WORD how) {
    Layer& l = layer();
    HWND previous = l.active;
    if (previous == top_level) return;
    l.active = top_level;
    if (top_level != nullptr) {
        std::erase(l.activation_order, top_level);
        l.activation_order.insert(l.activation_order.begin(), top_level);
    }
    if (previous != nullptr) {
        SendMessageA(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(top_level));
    }
    if (top_level != nullptr && l.active == top_level) {
        SendMessageA(top_level, WM_ACTIVATE, MAKEWPARAM(how, 0), reinterpret_cast<LPARAM>(previous));
    }
    // The focus always lies in the active window; a window that did not take it itself gets it.
    if (l.active != top_level) return;
    if (top_level == nullptr) {
        set_focus_window(nullptr);
    } else if (l.focus == nullptr || !is_in_tree(l.focus, top_level)) {
        set_focus_window(top_level);
    }
}

void activate_next_after(HWND top_level) {
    Layer& l = layer();
    std::vector<HWND> candidates = l.activation_order;
    {
        // Windows never activated follow, in creation order.
        std::lock_guard guard(l.lock);
        for (HWND handle : l.top_levels) {
            if (std::find(candidates.begin(), candidates.end(), handle) == candidates.end()) {
                candidates.push_back(handle);
            }
        }
    }
    for (HWND candidate : candidates) {
        std::shared_ptr<Window> window = find_window(candidate);
        if (candidate != top_level && window && !window->destroying && (window->style & WS_VISIBLE) != 0) {
            activate(candidate, WA_ACTIVE);
            return;
        }
    }
    activate(nullptr, WA_INACTIVE);
}

}  // namespace platform::user

using namespace platform::user;

BOOL WINAPI ShowWindow(HWND hwnd, int cmd_show) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window) return FALSE;
    bool was_visible = (window->style & WS_VISIBLE) != 0;
    bool top_level = window->parent == nullptr;
    const platform::display::Backend* display = layer().display.load();

    if (cmd_show == SW_HIDE) {
        if (!was_visible) return FALSE;
        SendMessageA(hwnd, WM_SHOWWINDOW, FALSE, 0);
        if (!IsWindow(hwnd)) return TRUE;
        window->style &= ~WS_VISIBLE;
        Layer& l = layer();
        if (top_level) {
            if (display != nullptr) display->hide_window(window->display_window);
            if (l.active == hwnd) activate_next_after(hwnd);
        } else {
            if (l.focus != nullptr && is_in_tree(l.focus, hwnd)) SetFocus(window->parent);
            invalidate(window->parent, &window->rect, TRUE);
        }
        return TRUE;
    }

    if (!was_visible) {
        SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
        if (!IsWindow(hwnd)) return FALSE;
        window->style |= WS_VISIBLE;
        if (top_level && display != nullptr) display->show_window(window->display_window);
    }
    bool activates = cmd_show != SW_SHOWNA && cmd_show != SW_SHOWNOACTIVATE && cmd_show != SW_SHOWMINIMIZED &&
                     cmd_show != SW_MINIMIZE;
    if (top_level && activates) activate(hwnd, WA_ACTIVE);
    if (!was_visible && IsWindow(hwnd)) {
        // Win32's order: activation, the erase, then the size and place a new top-level window never sent.
        invalidate(hwnd, nullptr, TRUE);
        erase_now(hwnd);
        if (window->size_pending && IsWindow(hwnd)) {
            window->size_pending = false;
            send_size_and_move(*window);
        }
    }
    return was_visible ? TRUE : FALSE;
}

HWND WINAPI SetFocus(HWND hwnd) {
    Layer& l = layer();
    HWND previous = l.focus;
    if (hwnd == nullptr) {
        set_focus_window(nullptr);
        return previous;
    }
    std::shared_ptr<Window> top = top_level_of(hwnd);
    if (!top) return nullptr;
    if (l.active != top->handle) activate(top->handle, WA_ACTIVE);
    if (!IsWindow(hwnd)) return nullptr;
    set_focus_window(hwnd);
    return previous;
}

HWND WINAPI GetFocus(void) {
    return layer().focus;
}

HWND WINAPI GetActiveWindow(void) {
    return layer().active;
}
