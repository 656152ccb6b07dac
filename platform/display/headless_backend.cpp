// The headless display: windows are images in memory, input comes from an event queue that tests fill, and
// the clipboard and message boxes are kept in memory. Every entry point may be called from any thread.
#include <chrono>

#include "platform/display/display.h"
#include "platform/display/headless_screen.h"
#include "platform/display/headless_state.h"

namespace platform::display {

headless_state::Screen& headless_state::screen() {
    static Screen* instance = new Screen;
    return *instance;
}

namespace {

using headless_state::Screen;
using headless_state::screen;
using headless_state::Screen_Window;

constexpr int screen_width = 1280;
constexpr int screen_height = 1024;

bool open() {
    return true;
}
void close() {}

Window_Id create_window(const char* title, int, int, int client_width, int client_height, bool) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    Window_Id id = s.next_window++;
    Screen_Window& window = s.windows[id];
    window.title = title != nullptr ? title : "";
    window.client_width = client_width;
    window.client_height = client_height;
    return id;
}

void destroy_window(Window_Id window) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    s.windows.erase(window);
}

void set_title(Window_Id window, const char* title) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found != s.windows.end()) found->second.title = title != nullptr ? title : "";
}

void set_shown(Window_Id window, bool shown) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found != s.windows.end()) found->second.shown = shown;
}

void show_window(Window_Id window) {
    set_shown(window, true);
}
void hide_window(Window_Id window) {
    set_shown(window, false);
}

void client_size(Window_Id window, int* width, int* height) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    *width = found != s.windows.end() ? found->second.client_width : 0;
    *height = found != s.windows.end() ? found->second.client_height : 0;
}

void move_window(Window_Id window, int, int, int client_width, int client_height) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found == s.windows.end()) return;
    found->second.client_width = client_width;
    found->second.client_height = client_height;
}

void present(Window_Id window, const std::uint32_t* pixels, int width, int height) {
    if (pixels == nullptr || width <= 0 || height <= 0) return;
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found == s.windows.end()) return;
    Screen_Window& shown = found->second;
    shown.image.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    shown.image_width = width;
    shown.image_height = height;
    ++shown.presents;
}

void set_cursor(int cursor_id) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    s.cursor = cursor_id;
}

bool poll_event(Event* event) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    if (s.events.empty()) return false;
    *event = s.events.front();
    s.events.pop_front();
    return true;
}

void wait_event(int timeout_ms) {
    Screen& s = screen();
    std::unique_lock guard(s.lock);
    auto ready = [&s] { return s.woken || !s.events.empty(); };
    if (timeout_ms < 0) {
        s.changed.wait(guard, ready);
    } else {
        s.changed.wait_for(guard, std::chrono::milliseconds(timeout_ms), ready);
    }
    s.woken = false;
}

void wake() {
    Screen& s = screen();
    {
        std::lock_guard guard(s.lock);
        s.woken = true;
    }
    s.changed.notify_all();
}

std::string get_clipboard() {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    return s.clipboard;
}

void set_clipboard(const std::string& text) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    s.clipboard = text;
}

// Recorded, and taken as dismissed at once.
bool message_box(const char* caption, const char* text) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    s.message_boxes.push_back(std::string(caption != nullptr ? caption : "") + ": " +
                              (text != nullptr ? text : ""));
    return true;
}

// Pushed input already names its window and may lie anywhere.
void set_capture(Window_Id) {}

void screen_size(int* width, int* height) {
    *width = screen_width;
    *height = screen_height;
}

void set_icon(Window_Id window, const std::uint32_t* pixels, int width, int height) {
    if (pixels == nullptr || width <= 0 || height <= 0) return;
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found == s.windows.end()) return;
    Screen_Window& shown = found->second;
    shown.icon.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    shown.icon_width = width;
    shown.icon_height = height;
}

}  // namespace

const Backend& headless_backend() {
    static const Backend backend = {
        "headless",  open,          close,         create_window, destroy_window, set_title,   show_window,
        hide_window, client_size,   move_window,   present,       set_cursor,     poll_event,  wait_event,
        wake,        get_clipboard, set_clipboard, message_box,   screen_size,    set_capture, set_icon};
    return backend;
}

namespace headless_screen {

using headless_state::Screen;
using headless_state::screen;

void push_event(const Event& event) {
    Screen& s = screen();
    {
        std::lock_guard guard(s.lock);
        s.events.push_back(event);
    }
    s.changed.notify_all();
}

void set_client_size(Window_Id window, int width, int height) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found == s.windows.end()) return;
    found->second.client_width = width;
    found->second.client_height = height;
}

bool window_icon(Window_Id window, std::vector<std::uint32_t>* pixels, int* width, int* height) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found == s.windows.end() || found->second.icon.empty()) return false;
    *pixels = found->second.icon;
    *width = found->second.icon_width;
    *height = found->second.icon_height;
    return true;
}

bool shown_image(Window_Id window, std::vector<std::uint32_t>* pixels, int* width, int* height) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found == s.windows.end() || found->second.presents == 0) return false;
    *pixels = found->second.image;
    *width = found->second.image_width;
    *height = found->second.image_height;
    return true;
}

}  // namespace headless_screen
}  // namespace platform::display
