// Resetting the window layer between test cases.
#include "platform/testing/testing.h"

#include "platform/testing/headless_probes.h"
#include "platform/user/window_layer.h"

namespace platform::user {

void reset_window_layer() {
    Layer& l = layer();
    std::vector<HWND> top_levels;
    {
        std::lock_guard guard(l.lock);
        top_levels = l.top_levels;
    }
    abandon_sent_messages();
    for (HWND handle : top_levels)
        DestroyWindow(handle);
    for (HDC hdc : l.screen_dcs)
        DeleteDC(hdc);
    l.screen_dcs.clear();
    {
        std::lock_guard guard(l.lock);
        l.posted.clear();
        l.quit_requested = false;
        l.quit_code = 0;
        l.no_display_woken = false;
    }
    l.classes.clear();
    l.control_classes_registered = false;
    l.input.clear();
    l.held_event.reset();
    l.focus = nullptr;
    l.active = nullptr;
    l.capture = nullptr;
    l.activation_order.clear();
    l.cursor = nullptr;
    l.default_placements = 0;
    l.display_failed = false;
    reset_input_state();
    reset_clipboard();
    display::headless_screen::reset();
}

}  // namespace platform::user
