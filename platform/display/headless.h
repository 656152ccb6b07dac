// The headless display for programs without a screen: windows whose pixels live in memory. Test input and
// probes are in platform/testing/testing.h.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32.h"

namespace platform::headless {

// Makes the window layer use the headless display. Call before the first window.
void use_headless_display();

// The screen resizes a top-level window's client area, as when the user drags its frame; the window hears of
// it through the message loop.
void resize(HWND window, int client_width, int client_height);

// The whole shown image of a top-level window, rows top to bottom, 0x00RRGGBB.
std::vector<std::uint32_t> shown_pixels(HWND window, int* width, int* height);

}  // namespace platform::headless
