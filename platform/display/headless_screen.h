// The headless display's screen-side state for the window layer's test access (platform/display/headless.h):
// pushing input as a screen would, and reading back what the screen shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/display.h"

namespace platform::display::headless_screen {

// Queues an event for poll_event and ends a pending wait_event.
void push_event(const Event& event);

// The screen-side client size changes, as when the user drags a window's frame.
void set_client_size(Window_Id window, int width, int height);

// One pixel of the last image presented for `window`, 0x00RRGGBB; false outside the image or before any
// present.
bool shown_pixel(Window_Id window, int x, int y, std::uint32_t* colour);
// The whole last image; false when none was presented.
bool shown_image(Window_Id window, std::vector<std::uint32_t>* pixels, int* width, int* height);
int present_count(Window_Id window);
bool is_shown(Window_Id window);
std::string title(Window_Id window);

int current_cursor();
std::vector<std::string> message_boxes();

// Forgets every window, event, message box and the clipboard.
void reset();

}  // namespace platform::display::headless_screen
