// The headless display in terms of windows, for programs without a screen.
#include "platform/display/headless.h"

#include "platform/display/headless_screen.h"
#include "platform/user/window_layer.h"

namespace platform::headless {

namespace screen = display::headless_screen;

void use_headless_display() {
    display::use_backend(display::headless_backend());
}

void resize(HWND window, int client_width, int client_height) {
    display::Window_Id id = user::display_window_of(window);
    if (id == 0) return;
    screen::set_client_size(id, client_width, client_height);
    display::Event event;
    event.type = display::Event_Type::Resized;
    event.window = id;
    event.width = client_width;
    event.height = client_height;
    screen::push_event(event);
}

std::vector<std::uint32_t> shown_pixels(HWND window, int* width, int* height) {
    std::vector<std::uint32_t> pixels;
    int shown_width = 0;
    int shown_height = 0;
    display::Window_Id id = user::display_window_of(window);
    if (id == 0 || !screen::shown_image(id, &pixels, &shown_width, &shown_height)) pixels.clear();
    if (width != nullptr) *width = shown_width;
    if (height != nullptr) *height = shown_height;
    return pixels;
}

}  // namespace platform::headless
