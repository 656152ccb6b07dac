// The table of live windows and the tree questions the rest of the layer asks about them.
#include <algorithm>

#include "platform/user/window_layer.h"

namespace platform::user {

Layer& layer() {
    // Never destroyed: a calculation thread may still invalidate while the process exits.
    static Layer* instance = new Layer;
    return *instance;
}

Window* find_window_locked(HWND handle) {
    if (handle == nullptr) return nullptr;
    auto& windows = layer().windows;
    auto found = windows.find(handle);
    return found != windows.end() ? found->second.get() : nullptr;
}

std::shared_ptr<Window> find_window(HWND handle) {
    if (handle == nullptr) return nullptr;
    Layer& l = layer();
    std::lock_guard guard(l.lock);
    auto found = l.windows.find(handle);
    return found != l.windows.end() ? found->second : nullptr;
}

HWND new_window_handle() {
    // Handles are never reused, so a stale handle can never reach a newer window.
    std::uintptr_t value = layer().next_handle;
    layer().next_handle += 4;
    return reinterpret_cast<HWND>(value);
}

std::shared_ptr<Window> top_level_of(HWND handle) {
    std::shared_ptr<Window> window = find_window(handle);
    while (window && window->parent != nullptr)
        window = find_window(window->parent);
    return window;
}

display::Window_Id display_window_of(HWND handle) {
    std::shared_ptr<Window> top = top_level_of(handle);
    return top ? top->display_window : 0;
}

POINT origin_in_top_level(HWND handle) {
    POINT origin{0, 0};
    std::shared_ptr<Window> window = find_window(handle);
    while (window && window->parent != nullptr) {
        origin.x += window->rect.left;
        origin.y += window->rect.top;
        window = find_window(window->parent);
    }
    return origin;
}

RECT visible_area_in_top_level(HWND handle) {
    std::shared_ptr<Window> window = find_window(handle);
    if (!window) return RECT{};
    POINT origin = origin_in_top_level(handle);
    RECT area{origin.x, origin.y, origin.x + window->width(), origin.y + window->height()};
    // Each ancestor's client area cuts the window off.
    while (window && window->parent != nullptr) {
        std::shared_ptr<Window> parent = find_window(window->parent);
        if (!parent) break;
        POINT parent_origin = origin_in_top_level(parent->handle);
        area =
            rect_intersection(area, RECT{parent_origin.x, parent_origin.y, parent_origin.x + parent->width(),
                                         parent_origin.y + parent->height()});
        window = parent;
    }
    return area;
}

bool is_visible_tree(HWND handle) {
    std::shared_ptr<Window> window = find_window(handle);
    if (!window) return false;
    while (window) {
        if ((window->style & WS_VISIBLE) == 0) return false;
        if (window->parent == nullptr) return true;
        window = find_window(window->parent);
    }
    return false;
}

bool is_in_tree(HWND handle, HWND root) {
    std::shared_ptr<Window> window = find_window(handle);
    while (window) {
        if (window->handle == root) return true;
        window = find_window(window->parent);
    }
    return false;
}

std::vector<HWND> children_of(HWND handle) {
    Layer& l = layer();
    std::lock_guard guard(l.lock);
    Window* window = find_window_locked(handle);
    return window != nullptr ? window->children : std::vector<HWND>{};
}

void set_window_rect(Window& window, const RECT& rect) {
    std::lock_guard guard(layer().lock);
    window.rect = rect;
}

bool rect_empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT rect_intersection(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return rect_empty(r) ? RECT{} : r;
}

RECT rect_union(const RECT& a, const RECT& b) {
    if (rect_empty(a)) return b;
    if (rect_empty(b)) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

RECT rect_offset(const RECT& r, int dx, int dy) {
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool rect_contains(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace platform::user
