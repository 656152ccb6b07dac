// The headless display's screen side, for the window layer's access in platform/display/headless.h: pushing
// events as a screen would, and reading back what the screen shows.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display/display.h"

namespace platform::display::headless_screen {

// Queues an event for poll_event and ends a pending wait_event.
void push_event(const Event& event);

// The screen-side client size changes, as when the user drags a window's frame.
void set_client_size(Window_Id window, int width, int height);

// The icon the window was given, 0xAARRGGBB; false when it has none.
bool window_icon(Window_Id window, std::vector<std::uint32_t>* pixels, int* width, int* height);

// The whole last image presented for `window`, 0x00RRGGBB; false when none was presented.
bool shown_image(Window_Id window, std::vector<std::uint32_t>* pixels, int* width, int* height);

}  // namespace platform::display::headless_screen
