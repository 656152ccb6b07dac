// Invalidation, WM_PAINT and the DCs that draw into a top-level window's back store, and presenting that back
// store to the screen.
#include <algorithm>

#include "platform/gdi/surface.h"
#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

bool has_paint_due_locked(const Window& window) {
    if ((window.style & WS_VISIBLE) == 0) return false;
    if (window.invalid) return true;
    for (HWND child : window.children) {
        Window* child_window = find_window_locked(child);
        if (child_window != nullptr && has_paint_due_locked(*child_window)) return true;
    }
    return false;
}

// Pre-order search: a parent paints before its children, so they draw over it.
HWND find_paint_locked(const Window& window, bool in_filter, HWND filter) {
    if ((window.style & WS_VISIBLE) == 0) return nullptr;
    in_filter = in_filter || window.handle == filter;
    if (window.invalid && in_filter) return window.handle;
    for (HWND child : window.children) {
        Window* child_window = find_window_locked(child);
        if (child_window == nullptr) continue;
        if (HWND found = find_paint_locked(*child_window, in_filter, filter)) return found;
    }
    return nullptr;
}

// The window and its descendants, parents first, with the threads they belong to.
void list_tree_locked(const Window& window, std::vector<std::pair<HWND, std::thread::id>>& out) {
    out.emplace_back(window.handle, window.thread);
    for (HWND child : window.children) {
        if (Window* child_window = find_window_locked(child)) list_tree_locked(*child_window, out);
    }
}

void clear_painted_marks(HWND handle) {
    std::shared_ptr<Window> window = find_window(handle);
    if (!window) return;
    window->painted_this_cycle = false;
    for (HWND child : children_of(handle))
        clear_painted_marks(child);
}

// A DC onto the window's part of its top-level back store, clipped to `clip` (window client coordinates) or
// to the whole visible client area when `clip` is null.
HDC make_window_dc(HWND handle, const RECT* clip) {
    std::shared_ptr<Window> top = top_level_of(handle);
    if (!top || top->back_store == nullptr) return nullptr;
    POINT origin = origin_in_top_level(handle);
    RECT area = visible_area_in_top_level(handle);
    if (clip != nullptr) area = rect_intersection(area, rect_offset(*clip, origin.x, origin.y));
    HDC hdc = gdi::create_surface_dc(top->back_store, origin, area);
    if (hdc != nullptr) layer().window_dcs[hdc] = top->handle;
    return hdc;
}

// Ends a window DC; true when it was one.
bool release_window_dc(HDC hdc) {
    Layer& l = layer();
    auto found = l.window_dcs.find(hdc);
    if (found == l.window_dcs.end()) return false;
    HWND top_level = found->second;
    l.window_dcs.erase(found);
    gdi::delete_surface_dc(hdc);
    std::shared_ptr<Window> top = find_window(top_level);
    if (!top) return true;
    top->present_pending = true;
    // Show the tree once it is fully painted, not every child on its way there.
    bool paint_due = false;
    {
        std::lock_guard guard(l.lock);
        paint_due = has_paint_due_locked(*top);
    }
    if (!paint_due) present(*top);
    return true;
}

void update_tree(HWND handle) {
    if (!is_visible_tree(handle)) return;
    std::shared_ptr<Window> window = find_window(handle);
    bool invalid = false;
    {
        std::lock_guard guard(layer().lock);
        invalid = window && window->invalid;
    }
    if (invalid) SendMessageA(handle, WM_PAINT, 0, 0);
    for (HWND child : children_of(handle))
        update_tree(child);
}

}  // namespace

void invalidate_locked(Window& window, const RECT* rect, bool erase) {
    RECT client{0, 0, window.width(), window.height()};
    RECT area = rect != nullptr ? rect_intersection(*rect, client) : client;
    if (rect_empty(area)) return;
    window.update = window.invalid ? rect_union(window.update, area) : area;
    window.invalid = true;
    window.erase = window.erase || erase;
    // The parent paints over its children, so they repaint where it does.
    for (HWND child : window.children) {
        Window* child_window = find_window_locked(child);
        if (child_window == nullptr) continue;
        RECT in_child = rect_offset(area, -child_window->rect.left, -child_window->rect.top);
        invalidate_locked(*child_window, &in_child, erase);
    }
}

void invalidate(HWND handle, const RECT* rect, bool erase) {
    {
        std::lock_guard guard(layer().lock);
        Window* window = find_window_locked(handle);
        if (window == nullptr) return;
        invalidate_locked(*window, rect, erase);
    }
    wake_message_loop();
}

HWND next_window_to_paint(HWND filter) {
    Layer& l = layer();
    std::lock_guard guard(l.lock);
    for (HWND top_level : l.top_levels) {
        Window* window = find_window_locked(top_level);
        if (window == nullptr) continue;
        if (HWND found = find_paint_locked(*window, filter == nullptr, filter)) return found;
    }
    return nullptr;
}

void present(Window& top_level) {
    top_level.present_pending = false;
    clear_painted_marks(top_level.handle);
    const display::Backend* display = layer().display.load();
    gdi::Pixels pixels;
    if (display == nullptr || top_level.back_store == nullptr ||
        !gdi::bitmap_pixels(top_level.back_store, &pixels)) {
        return;
    }
    display->present(top_level.display_window, pixels.data, pixels.width, pixels.height);
}

void present_pending_windows() {
    std::vector<HWND> top_levels;
    {
        std::lock_guard guard(layer().lock);
        top_levels = layer().top_levels;
    }
    for (HWND handle : top_levels) {
        std::shared_ptr<Window> window = find_window(handle);
        if (window && window->present_pending) present(*window);
    }
}

void before_paint_message(HWND handle) {
    std::shared_ptr<Window> window = find_window(handle);
    if (!window || !window->painted_this_cycle) return;
    std::shared_ptr<Window> top = top_level_of(handle);
    if (top && top->present_pending) present(*top);
}

LRESULT erase_background_now(HWND handle) {
    std::shared_ptr<Window> window = find_window(handle);
    if (!window || !is_visible_tree(handle)) return 0;
    RECT update{};
    {
        std::lock_guard guard(layer().lock);
        if (!window->invalid || !window->erase) return 0;
        update = window->update;
    }
    HDC hdc = make_window_dc(handle, &update);
    if (hdc == nullptr) return 0;
    const LRESULT erased = SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    release_window_dc(hdc);
    if (erased != 0) {
        std::lock_guard guard(layer().lock);
        window->erase = false;
    }
    return erased;
}

void release_window_dcs(HWND top_level) {
    Layer& l = layer();
    for (auto it = l.window_dcs.begin(); it != l.window_dcs.end();) {
        if (it->second == top_level) {
            gdi::delete_surface_dc(it->first);
            it = l.window_dcs.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace platform::user

using namespace platform::user;

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Layer& l = layer();
    if (hwnd == nullptr) {
        // Every window, in full, whatever the rectangle says, and erased before this returns: each window's
        // thread handles the WM_ERASEBKGND that is sent to it.
        std::vector<std::pair<HWND, std::thread::id>> windows;
        {
            std::lock_guard guard(l.lock);
            for (HWND top_level : l.top_levels) {
                if (Window* window = find_window_locked(top_level)) {
                    invalidate_locked(*window, nullptr, true);
                    list_tree_locked(*window, windows);
                }
            }
        }
        wake_message_loop();
        for (const auto& [handle, thread] : windows)
            call_on_thread(thread, [handle = handle] { return erase_background_now(handle); });
        return TRUE;
    }
    {
        std::lock_guard guard(l.lock);
        Window* window = find_window_locked(hwnd);
        if (window == nullptr) return FALSE;
        invalidate_locked(*window, rect, erase != FALSE);
    }
    wake_message_loop();
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
    if (hwnd == nullptr) return InvalidateRect(nullptr, nullptr, TRUE);  // Win32 redraws everything then
    Layer& l = layer();
    std::lock_guard guard(l.lock);
    Window* window = find_window_locked(hwnd);
    if (window == nullptr) return FALSE;
    if (!window->invalid) return TRUE;
    // The update area is one rectangle, so only a rectangle that covers it all validates it.
    RECT covered = rect != nullptr ? rect_intersection(window->update, *rect) : window->update;
    if (rect == nullptr ||
        (covered.left == window->update.left && covered.top == window->update.top &&
         covered.right == window->update.right && covered.bottom == window->update.bottom)) {
        window->invalid = false;
        window->erase = false;
        window->update = RECT{};
    }
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    // Checked first: other threads call UpdateWindow(NULL), which must touch nothing.
    if (hwnd == nullptr) return FALSE;
    if (!find_window(hwnd)) return FALSE;
    update_tree(hwnd);
    std::shared_ptr<Window> top = top_level_of(hwnd);
    if (top && top->present_pending) present(*top);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window || paint == nullptr) return nullptr;
    RECT update{};
    bool erase = false;
    {
        std::lock_guard guard(layer().lock);
        if (window->invalid) update = window->update;
        erase = window->erase;
        window->invalid = false;
        window->erase = false;
        window->update = RECT{};
    }
    window->painted_this_cycle = true;
    HDC hdc = make_window_dc(hwnd, &update);
    bool erased = false;
    if (erase && hdc != nullptr)
        erased = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) != 0;
    *paint = PAINTSTRUCT{};
    paint->hdc = hdc;
    paint->fErase = erase && !erased ? TRUE : FALSE;
    paint->rcPaint = update;
    return hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    release_window_dc(paint->hdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
    if (hwnd == nullptr) {
        // A memory DC with the screen's colour format stands in for the screen DC.
        HDC hdc = platform::gdi::create_screen_dc();
        if (hdc != nullptr) layer().screen_dcs.push_back(hdc);
        return hdc;
    }
    if (!find_window(hwnd)) return nullptr;
    return make_window_dc(hwnd, nullptr);
}

int WINAPI ReleaseDC(HWND, HDC hdc) {
    if (hdc == nullptr) return 0;
    if (release_window_dc(hdc)) return 1;
    if (std::erase(layer().screen_dcs, hdc) == 0) return 0;
    DeleteDC(hdc);
    return 1;
}
