// What the headless screen shows and holds, for tests: pixels, presents, cursor, message boxes, and its
// reset.
#include "platform/display/headless_state.h"
#include "platform/testing/headless_probes.h"

namespace platform::display::headless_screen {

using headless_state::Screen;
using headless_state::screen;
using headless_state::Screen_Window;

bool shown_pixel(Window_Id window, int x, int y, std::uint32_t* colour) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    if (found == s.windows.end()) return false;
    const Screen_Window& shown = found->second;
    if (x < 0 || y < 0 || x >= shown.image_width || y >= shown.image_height) return false;
    *colour = shown.image[static_cast<std::size_t>(y) * static_cast<std::size_t>(shown.image_width) +
                          static_cast<std::size_t>(x)];
    return true;
}

int present_count(Window_Id window) {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    auto found = s.windows.find(window);
    return found != s.windows.end() ? found->second.presents : 0;
}

int current_cursor() {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    return s.cursor;
}

std::vector<std::string> message_boxes() {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    return s.message_boxes;
}

void reset() {
    Screen& s = screen();
    std::lock_guard guard(s.lock);
    s.events.clear();
    s.woken = false;
    s.windows.clear();
    s.cursor = headless_state::arrow_cursor;
    s.clipboard.clear();
    s.message_boxes.clear();
}

}  // namespace platform::display::headless_screen
