// Creating and destroying windows, with Win32's message order.
#include <algorithm>

#include "platform/gdi/surface.h"
#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

// Successive default positions step down and right, as Win32 cascades them.
constexpr int cascade_step = 26;
constexpr int cascade_length = 8;

RECT default_top_level_rect(int x, int y, int width, int height) {
    int screen_width = 0;
    int screen_height = 0;
    if (const display::Backend* display = open_display()) display->screen_size(&screen_width, &screen_height);
    if (width == CW_USEDEFAULT) {
        // With a default width the height argument means nothing (it is often 0).
        width = screen_width * 3 / 4;
        height = screen_height * 3 / 4;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (x == CW_USEDEFAULT) {
        Layer& l = layer();
        int step = cascade_step * (1 + l.default_placements++ % cascade_length);
        x = step;
        y = step;
        if (x + width > screen_width) x = std::max(0, screen_width - width);
        if (y + height > screen_height) y = std::max(0, screen_height - height);
    }
    return RECT{x, y, x + width, y + height};
}

RECT child_rect(int x, int y, int width, int height) {
    // Win32 takes CW_USEDEFAULT as 0 for child windows.
    auto given = [](int value) { return value == CW_USEDEFAULT ? 0 : value; };
    x = given(x);
    y = given(y);
    width = std::max(given(width), 0);
    height = std::max(given(height), 0);
    return RECT{x, y, x + width, y + height};
}

void add_to_table(const std::shared_ptr<Window>& window) {
    Layer& l = layer();
    std::lock_guard guard(l.lock);
    l.windows[window->handle] = window;
    if (window->parent != nullptr) {
        if (Window* parent = find_window_locked(window->parent)) parent->children.push_back(window->handle);
    } else {
        l.top_levels.push_back(window->handle);
    }
}

void remove_from_table(Window& window) {
    Layer& l = layer();
    std::lock_guard guard(l.lock);
    l.windows.erase(window.handle);
    if (Window* parent = find_window_locked(window.parent)) std::erase(parent->children, window.handle);
    std::erase(l.top_levels, window.handle);
    window.invalid = false;
}

// Releases what the layer holds for a window once its last message has been sent.
void release_window(Window& window) {
    Layer& l = layer();
    remove_from_table(window);
    if (l.focus == window.handle) l.focus = nullptr;
    if (l.active == window.handle) l.active = nullptr;
    std::erase(l.activation_order, window.handle);
    std::erase_if(l.input, [&window](const Input_Message& input) { return input.msg.hwnd == window.handle; });
    if (window.parent == nullptr) {
        release_window_dcs(window.handle);
        if (window.back_store != nullptr) gdi::destroy_surface(window.back_store);
        window.back_store = nullptr;
        const display::Backend* display = l.display.load();
        if (display != nullptr && window.display_window != 0) display->destroy_window(window.display_window);
        window.display_window = 0;
    }
}

// WM_DESTROY goes to a window before its children, WM_NCDESTROY after them.
void destroy_tree(const std::shared_ptr<Window>& window) {
    window->destroying = true;
    SendMessageA(window->handle, WM_DESTROY, 0, 0);
    for (HWND child : children_of(window->handle)) {
        std::shared_ptr<Window> child_window = find_window(child);
        if (child_window && !child_window->destroying) destroy_tree(child_window);
    }
    SendMessageA(window->handle, WM_NCDESTROY, 0, 0);
    release_window(*window);
}

std::shared_ptr<Window> make_window(const Window_Class& window_class, DWORD ex_style, DWORD style,
                                    HWND parent, HMENU menu, HINSTANCE instance, const RECT& rect) {
    auto window = std::make_shared<Window>();
    {
        std::lock_guard guard(layer().lock);
        window->handle = new_window_handle();
    }
    window->procedure = window_class.procedure;
    window->thread = std::this_thread::get_id();
    window->ex_style = ex_style;
    window->style = style & ~WS_VISIBLE;  // ShowWindow sets it after creation
    window->parent = (style & WS_CHILD) != 0 ? parent : nullptr;
    window->rect = rect;
    window->instance = instance;
    if ((style & WS_CHILD) != 0) window->id = reinterpret_cast<LONG_PTR>(menu);
    return window;
}

bool attach_screen_window(Window& window, LPCSTR title) {
    const display::Backend* display = open_display();
    if (display == nullptr) return false;
    window.display_window =
        display->create_window(title != nullptr ? title : "", window.rect.left, window.rect.top,
                               window.width(), window.height(), (window.style & WS_THICKFRAME) != 0);
    if (window.display_window == 0) return false;
    window.back_store = gdi::create_surface(std::max(window.width(), 1), std::max(window.height(), 1));
    if (window.back_store == nullptr) {
        display->destroy_window(window.display_window);
        window.display_window = 0;
        return false;
    }
    show_class_icon(window);
    return true;
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                            LPVOID param) {
    ensure_control_classes();
    std::shared_ptr<const Window_Class> window_class = find_class(class_name);
    if (!window_class || window_class->procedure == nullptr) return nullptr;
    bool child = (style & WS_CHILD) != 0;
    if (child && !find_window(parent)) return nullptr;  // a child needs a live parent

    // The sizes given are the window's; a top-level window's client area is smaller by its frame.
    RECT rect = child ? child_rect(x, y, width, height) : default_top_level_rect(x, y, width, height);
    RECT frame = child ? RECT{} : non_client_frame(style, ex_style);
    RECT client{rect.left + frame.left, rect.top + frame.top, rect.right - frame.right,
                rect.bottom - frame.bottom};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    std::shared_ptr<Window> window =
        make_window(*window_class, ex_style, style, parent, menu, instance, client);
    window->window_class = window_class;
    window->frame = frame;
    if (!child && !attach_screen_window(*window, window_name)) return nullptr;
    add_to_table(window);
    HWND handle = window->handle;

    CREATESTRUCTA create{param,
                         instance,
                         menu,
                         window->parent,
                         rect.bottom - rect.top,
                         rect.right - rect.left,
                         rect.top,
                         rect.left,
                         static_cast<LONG>(style),
                         window_name,
                         class_name,
                         ex_style};
    // A window whose WM_NCCREATE or WM_CREATE refuses hears only WM_NCDESTROY, as in Win32; children it
    // created meanwhile are destroyed as usual.
    const auto refuse = [&] {
        for (HWND created : children_of(handle))
            DestroyWindow(created);
        window->destroying = true;
        SendMessageA(handle, WM_NCDESTROY, 0, 0);
        release_window(*window);
        return nullptr;
    };
    if (SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == 0) return refuse();
    if (SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) return refuse();
    if (!IsWindow(handle)) return nullptr;  // destroyed itself while being created
    if (child) {
        send_size_and_move(*window);
    } else {
        window->size_pending = true;  // a top-level window hears its size at the first show
    }
    if ((style & WS_VISIBLE) != 0 && IsWindow(handle)) ShowWindow(handle, child ? SW_SHOWNA : SW_SHOW);
    return IsWindow(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window || window->destroying) return FALSE;
    window->destroying = true;
    release_capture_in_tree(hwnd);
    Layer& l = layer();
    if (window->parent == nullptr) {
        // As in Win32, the window is deactivated (WM_ACTIVATE) before its focus goes (WM_KILLFOCUS).
        if (l.active == hwnd) activate_next_after(hwnd);
        if (l.focus != nullptr && is_in_tree(l.focus, hwnd)) {
            HWND focus = l.focus;
            l.focus = nullptr;
            SendMessageA(focus, WM_KILLFOCUS, 0, 0);
        }
    } else {
        // A child hands the focus to its parent; what it covered shows its parent again.
        if (l.focus != nullptr && is_in_tree(l.focus, hwnd)) SetFocus(window->parent);
        if ((window->style & WS_VISIBLE) != 0) invalidate(window->parent, &window->rect, TRUE);
    }
    destroy_tree(window);
    return TRUE;
}
