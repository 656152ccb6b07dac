// Test input and probes on the headless display, in terms of windows: input is placed at a window's client
// coordinates and reaches the screen's queue as the top-level window's client coordinates.
#include <algorithm>

#include "platform/display/headless_screen.h"
#include "platform/testing/headless_probes.h"
#include "platform/testing/testing.h"
#include "platform/user/window_layer.h"

namespace platform::headless {
namespace {

using display::Event;
using display::Event_Type;
namespace screen = display::headless_screen;

void push_pointer(HWND window, Event_Type type, int x, int y, int button, int wheel = 0) {
    display::Window_Id id = user::display_window_of(window);
    if (id == 0) return;
    POINT origin = user::origin_in_top_level(window);
    Event event;
    event.type = type;
    event.window = id;
    event.x = x + origin.x;
    event.y = y + origin.y;
    event.button = button;
    event.wheel = wheel;
    screen::push_event(event);
}

void push_key(Event_Type type, int virtual_key, unsigned modifiers) {
    Event event;
    event.type = type;
    event.window = user::display_window_of(GetActiveWindow());
    event.virtual_key = virtual_key;
    event.modifiers = modifiers;
    screen::push_event(event);
}

void push_window_event(HWND window, Event_Type type) {
    Event event;
    event.type = type;
    event.window = user::display_window_of(window);
    if (event.window != 0) screen::push_event(event);
}

COLORREF colorref_from_pixel(std::uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace

void mouse_move(HWND window, int x, int y) {
    push_pointer(window, Event_Type::Mouse_Move, x, y, 0);
}

void mouse_down(HWND window, int x, int y, int button) {
    push_pointer(window, Event_Type::Button_Down, x, y, button);
}

void mouse_up(HWND window, int x, int y, int button) {
    push_pointer(window, Event_Type::Button_Up, x, y, button);
}

void click(HWND window, int x, int y, int button) {
    mouse_down(window, x, y, button);
    mouse_up(window, x, y, button);
}

void mouse_wheel(HWND window, int x, int y, int notches) {
    push_pointer(window, Event_Type::Wheel, x, y, 0, notches);
}

void key_down(int virtual_key, unsigned modifiers) {
    push_key(Event_Type::Key_Down, virtual_key, modifiers);
}

void key_up(int virtual_key, unsigned modifiers) {
    push_key(Event_Type::Key_Up, virtual_key, modifiers);
}

void key_press(int virtual_key, unsigned modifiers) {
    key_down(virtual_key, modifiers);
    key_up(virtual_key, modifiers);
}

void type_text(const std::string& text) {
    Event event;
    event.type = Event_Type::Text;
    event.window = user::display_window_of(GetActiveWindow());
    const std::size_t capacity = sizeof(event.text) - 1;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t length = std::min(capacity, text.size() - start);
        // Pieces end on character boundaries: never before a UTF-8 continuation byte.
        while (length > 1 && start + length < text.size() &&
               (static_cast<unsigned char>(text[start + length]) & 0xC0) == 0x80) {
            --length;
        }
        std::fill(std::begin(event.text), std::end(event.text), '\0');
        std::copy_n(text.data() + start, length, event.text);
        screen::push_event(event);
        start += length;
    }
}

void request_close(HWND window) {
    push_window_event(window, Event_Type::Close_Request);
}

void focus_lost(HWND window) {
    push_window_event(window, Event_Type::Focus_Lost);
}

void focus_gained(HWND window) {
    push_window_event(window, Event_Type::Focus_Gained);
}

void expose(HWND window) {
    push_window_event(window, Event_Type::Exposed);
}

COLORREF pixel(HWND window, int x, int y) {
    display::Window_Id id = user::display_window_of(window);
    POINT origin = user::origin_in_top_level(window);
    std::uint32_t shown = 0;
    if (id == 0 || !screen::shown_pixel(id, x + origin.x, y + origin.y, &shown)) return CLR_INVALID;
    return colorref_from_pixel(shown);
}

int present_count(HWND window) {
    display::Window_Id id = user::display_window_of(window);
    return id != 0 ? screen::present_count(id) : 0;
}

int current_cursor() {
    return screen::current_cursor();
}

std::string clipboard() {
    return display::headless_backend().get_clipboard();
}

void set_clipboard(const std::string& text) {
    display::headless_backend().set_clipboard(text);
}

std::vector<std::uint32_t> window_icon(HWND window, int* width, int* height) {
    std::vector<std::uint32_t> pixels;
    int icon_width = 0;
    int icon_height = 0;
    display::Window_Id id = user::display_window_of(window);
    if (id == 0 || !screen::window_icon(id, &pixels, &icon_width, &icon_height)) pixels.clear();
    if (width != nullptr) *width = icon_width;
    if (height != nullptr) *height = icon_height;
    return pixels;
}

std::vector<std::string> message_boxes() {
    return screen::message_boxes();
}

}  // namespace platform::headless
