// The connection to the display backend, opened when the first window or screen query needs it.
#include "platform/user/window_layer.h"

namespace platform::user {

const display::Backend* open_display() {
    Layer& l = layer();
    const display::Backend* chosen = &display::current_backend();
    const display::Backend* open = l.display.load();
    if (open == chosen) return open;
    if (open != nullptr) {
        // Another backend was chosen since (tests switch to headless); switch only while no window needs the
        // old one.
        bool has_windows = false;
        {
            std::lock_guard guard(l.lock);
            has_windows = !l.top_levels.empty();
        }
        if (has_windows) return open;
        if (open->close != nullptr) open->close();
        l.display.store(nullptr);
        l.display_failed = false;
    }
    if (l.display_failed) return nullptr;
    if (chosen->open == nullptr || !chosen->open()) {
        l.display_failed = true;  // the backend has said why; do not repeat it for every call
        return nullptr;
    }
    l.display.store(chosen);
    return chosen;
}

void wake_message_loop() {
    Layer& l = layer();
    if (const display::Backend* display = l.display.load()) display->wake();
    {
        std::lock_guard guard(l.lock);
        l.no_display_woken = true;
    }
    l.no_display_wake.notify_all();
}

}  // namespace platform::user
