// Turns the display's events into window messages: pointer input to the window under the pointer, the wheel
// to the focused window, keys and text through keyboard.cpp, and the screen's own requests (close, focus,
// expose, resize).
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/gdi/surface.h"
#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

// Win32's defaults for what counts as a double click.
constexpr DWORD double_click_time_ms = 500;
constexpr int double_click_distance = 2;

struct Input_State {
    WPARAM buttons = 0;  // MK_ flags of the buttons held now
    HWND last_press_window = nullptr;
    int last_press_button = 0;
    DWORD last_press_time = 0;
    POINT last_press_point{};
};

Input_State& input_state() {
    static Input_State state;
    return state;
}

WPARAM button_flag(int button) {
    switch (button) {
        case display::Button_Left:
            return MK_LBUTTON;
        case display::Button_Right:
            return MK_RBUTTON;
        case display::Button_Middle:
            return MK_MBUTTON;
        default:
            return 0;
    }
}

// WM_xBUTTONDOWN for the button; its WM_xBUTTONUP and WM_xBUTTONDBLCLK follow it by one and two.
UINT button_down_message(int button) {
    switch (button) {
        case display::Button_Right:
            return WM_RBUTTONDOWN;
        case display::Button_Middle:
            return WM_MBUTTONDOWN;
        default:
            return WM_LBUTTONDOWN;
    }
}

std::shared_ptr<Window> top_level_for_display(display::Window_Id id) {
    if (id == 0) return nullptr;
    Layer& l = layer();
    std::lock_guard guard(l.lock);
    for (HWND handle : l.top_levels) {
        Window* window = find_window_locked(handle);
        if (window != nullptr && window->display_window == id) return l.windows.find(handle)->second;
    }
    return nullptr;
}

// The deepest visible window at (x, y) in `handle`'s client coordinates; the first child created is on top.
HWND window_at(HWND handle, int x, int y) {
    for (HWND child : children_of(handle)) {
        std::shared_ptr<Window> window = find_window(child);
        if (window && (window->style & WS_VISIBLE) != 0 && rect_contains(window->rect, x, y)) {
            return window_at(child, x - window->rect.left, y - window->rect.top);
        }
    }
    return handle;
}

bool is_double_click(Input_State& state, HWND target, int button, const POINT& point, DWORD time) {
    std::shared_ptr<Window> window = find_window(target);
    bool double_click = window && (window->window_class->style & CS_DBLCLKS) != 0 &&
                        state.last_press_window == target && state.last_press_button == button &&
                        time - state.last_press_time <= double_click_time_ms &&
                        std::abs(point.x - state.last_press_point.x) <= double_click_distance &&
                        std::abs(point.y - state.last_press_point.y) <= double_click_distance;
    // A third press starts a new pair.
    state.last_press_window = double_click ? nullptr : target;
    state.last_press_button = button;
    state.last_press_time = time;
    state.last_press_point = point;
    return double_click;
}

// As in Win32, at most one move waits at the end of the queue: a move replaces the last queued message when
// that is a move to the same window with the same buttons and keys held (wParam). After a press, a release,
// a key or a move elsewhere it queues behind them, so nothing overtakes anything.
void queue_pointer_message(const MSG& message) {
    std::deque<Input_Message>& input = layer().input;
    if (message.message == WM_MOUSEMOVE && !input.empty()) {
        MSG& last = input.back().msg;
        if (last.message == WM_MOUSEMOVE && last.hwnd == message.hwnd && last.wParam == message.wParam) {
            last = message;
            return;
        }
    }
    input.push_back(Input_Message{message, 0});
}

// Where pointer input at (x, y) of `top`'s client area goes: the capture holder wherever the pointer is,
// else the window under it in a shown client area. `position` gets the target's client coordinates.
HWND pointer_target(const Window& top, int x, int y, POINT* position) {
    HWND holder = layer().capture;
    if (holder != nullptr && IsWindow(holder)) {
        std::shared_ptr<Window> holder_top = top_level_of(holder);
        POINT origin = origin_in_top_level(holder);
        // Input reported for another top-level window is placed through the screen.
        *position = POINT{top.rect.left + x - holder_top->rect.left - origin.x,
                          top.rect.top + y - holder_top->rect.top - origin.y};
        return holder;
    }
    if ((top.style & WS_VISIBLE) == 0 || !rect_contains(RECT{0, 0, top.width(), top.height()}, x, y)) {
        return nullptr;
    }
    HWND target = window_at(top.handle, x, y);
    POINT origin = origin_in_top_level(target);
    *position = POINT{x - origin.x, y - origin.y};
    return target;
}

void convert_pointer(const Window& top, const display::Event& event) {
    Input_State& state = input_state();
    WPARAM flag = button_flag(event.button);
    if (event.type == display::Event_Type::Button_Down) state.buttons |= flag;
    if (event.type == display::Event_Type::Button_Up) state.buttons &= ~flag;
    if (event.type != display::Event_Type::Mouse_Move && flag == 0) return;
    POINT position{};
    HWND target = pointer_target(top, event.x, event.y, &position);
    if (target == nullptr) return;
    POINT screen_point{top.rect.left + event.x, top.rect.top + event.y};
    DWORD time = message_time();
    UINT message = WM_MOUSEMOVE;
    if (event.type == display::Event_Type::Button_Down) {
        message = button_down_message(event.button);
        if (is_double_click(state, target, event.button, screen_point, time)) message += 2;
    } else if (event.type == display::Event_Type::Button_Up) {
        message = button_down_message(event.button) + 1;
    }
    queue_pointer_message(MSG{target, message, state.buttons | modifier_key_flags(),
                              MAKELPARAM(position.x, position.y), time, screen_point});
}

HWND keyboard_target() {
    Layer& l = layer();
    return l.focus != nullptr ? l.focus : l.active;
}

// The wheel goes to the focused window wherever the pointer is: the delta in WHEEL_DELTA units in the high
// word, the buttons and modifiers held in the low word, the pointer's screen position in lParam.
void convert_wheel(const Window& top, const display::Event& event) {
    HWND target = keyboard_target();
    if (target == nullptr || event.wheel == 0) return;
    const int most_notches = SHRT_MAX / WHEEL_DELTA;
    const int delta = std::clamp(event.wheel, -most_notches, most_notches) * WHEEL_DELTA;
    const Input_State& state = input_state();
    POINT screen_point{top.rect.left + event.x, top.rect.top + event.y};
    MSG wheel{target,
              WM_MOUSEWHEEL,
              MAKEWPARAM(state.buttons | modifier_key_flags(), static_cast<WORD>(delta)),
              MAKELPARAM(screen_point.x, screen_point.y),
              message_time(),
              screen_point};
    layer().input.push_back(Input_Message{wheel, 0});
}

void resize_top_level(Window& top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    int old_width = top.width();
    int old_height = top.height();
    if (width == old_width && height == old_height) return;
    set_window_rect(top, RECT{top.rect.left, top.rect.top, top.rect.left + width, top.rect.top + height});
    gdi::resize_surface(top.back_store, std::max(width, 1), std::max(height, 1));
    SendMessageA(top.handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    if (!IsWindow(top.handle)) return;
    UINT class_style = top.window_class->style;
    bool redraw_all = ((class_style & CS_HREDRAW) != 0 && width != old_width) ||
                      ((class_style & CS_VREDRAW) != 0 && height != old_height);
    if (redraw_all) {
        invalidate(top.handle, nullptr, true);
        return;
    }
    RECT right_strip{old_width, 0, width, height};
    RECT bottom_strip{0, old_height, width, height};
    invalidate(top.handle, &right_strip, true);
    invalidate(top.handle, &bottom_strip, true);
}

}  // namespace

void convert_display_event(const display::Event& event) {
    std::shared_ptr<Window> top = top_level_for_display(event.window);
    switch (event.type) {
        case display::Event_Type::Key_Down:
        case display::Event_Type::Key_Up:
            convert_key(event);
            return;
        case display::Event_Type::Text:
            convert_text(event);
            return;
        default:
            break;
    }
    if (!top) return;
    switch (event.type) {
        case display::Event_Type::Mouse_Move:
        case display::Event_Type::Button_Down:
        case display::Event_Type::Button_Up:
            convert_pointer(*top, event);
            break;
        case display::Event_Type::Wheel:
            convert_wheel(*top, event);
            break;
        case display::Event_Type::Close_Request:
            layer().input.push_back(
                Input_Message{MSG{top->handle, WM_CLOSE, 0, 0, message_time(), POINT{}}, 0});
            break;
        case display::Event_Type::Focus_Gained:
            if ((top->style & WS_VISIBLE) != 0) activate(top->handle, WA_ACTIVE);
            break;
        case display::Event_Type::Focus_Lost:
            if (layer().active == top->handle) activate(nullptr, WA_INACTIVE);
            break;
        case display::Event_Type::Exposed:
            present(*top);
            break;
        case display::Event_Type::Resized:
            resize_top_level(*top, event.width, event.height);
            break;
        default:
            break;
    }
}

bool is_pointer_event(const display::Event& event) {
    return event.type == display::Event_Type::Mouse_Move || event.type == display::Event_Type::Button_Down ||
           event.type == display::Event_Type::Button_Up;
}

void before_input_delivery(const Input_Message& input) {
    apply_key_state(input);
    const MSG& message = input.msg;
    bool pointer = message.message >= WM_MOUSEMOVE && message.message <= WM_MBUTTONDBLCLK;
    if (!pointer) return;
    bool press = message.message != WM_MOUSEMOVE && (message.message - WM_LBUTTONDOWN) % 3 != 1;
    if (press) {
        std::shared_ptr<Window> top = top_level_of(message.hwnd);
        if (top && layer().active != top->handle) activate(top->handle, WA_CLICKACTIVE);
        std::shared_ptr<Window> target = find_window(message.hwnd);
        if (target && target->parent != nullptr && layer().focus != message.hwnd) SetFocus(message.hwnd);
    }
    // A window that holds the capture sets the cursor itself.
    if (IsWindow(message.hwnd) && layer().capture == nullptr) {
        SendMessageA(message.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(message.hwnd),
                     MAKELPARAM(HTCLIENT, message.message));
    }
}

void reset_input_state() {
    input_state() = Input_State{};
    reset_keyboard_state();
}

}  // namespace platform::user
