// Test probes of the headless screen's state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/display.h"

namespace platform::display::headless_screen {

// One pixel of the last image presented for `window`, 0x00RRGGBB; false outside the image or before any
// present.
bool shown_pixel(Window_Id window, int x, int y, std::uint32_t* colour);
int present_count(Window_Id window);
int current_cursor();
std::vector<std::string> message_boxes();

// Forgets every window, event, message box and the clipboard.
void reset();

}  // namespace platform::display::headless_screen
