// Test access to the window layer on the headless display: input pushed as the screen would deliver it, what
// the screen shows, and a reset between test cases. Coordinates are client coordinates of the window named.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/headless.h"
#include "platform/win32.h"

namespace platform::headless {

// Pointer input at (x, y) in `window`'s client area; `window` may be a top-level window or a child. The input
// enters the display's queue and reaches window procedures through the message loop, like real input.
void mouse_move(HWND window, int x, int y);
void mouse_down(HWND window, int x, int y, int button = 1);  // 1 left, 2 right, 3 middle
void mouse_up(HWND window, int x, int y, int button = 1);
void click(HWND window, int x, int y, int button = 1);  // down and up at the same point
// The wheel turned by `notches` (positive away from the user) with the pointer at (x, y).
void mouse_wheel(HWND window, int x, int y, int notches);

// Keyboard input for the focused window: a virtual key (VK_ value or upper-case letter) with modifiers from
// platform::display::Modifier, and typed text (UTF-8).
void key_down(int virtual_key, unsigned modifiers = 0);
void key_up(int virtual_key, unsigned modifiers = 0);
void key_press(int virtual_key, unsigned modifiers = 0);  // down and up
void type_text(const std::string& text);

// Screen-side events for a top-level window.
void request_close(HWND window);
void focus_lost(HWND window);
void focus_gained(HWND window);
// The screen lost the window's pixels (uncovered, restored): the layer presents its back store again.
void expose(HWND window);

// What the screen shows: the last image presented for `window`'s top-level window, read at `window`'s client
// coordinates. pixel() returns CLR_INVALID outside the shown image.
COLORREF pixel(HWND window, int x, int y);
// Number of images presented for the window so far.
int present_count(HWND window);

// The IDC_ number of the cursor the screen shows now (32512 arrow, ...).
int current_cursor();

// The display's clipboard (UTF-8), as another program would see or set it.
std::string clipboard();
void set_clipboard(const std::string& text);

// The icon the screen shows for a top-level window: rows top to bottom, 0xAARRGGBB with straight alpha;
// empty when it has none.
std::vector<std::uint32_t> window_icon(HWND window, int* width, int* height);

// Message boxes shown so far as "caption: text" lines, oldest first.
std::vector<std::string> message_boxes();

}  // namespace platform::headless

namespace platform::user {

// Destroys every window (with the usual WM_DESTROY/WM_NCDESTROY messages), unregisters every class (the
// control classes are registered again before the next window is created), and forgets posted messages, the
// quit request, input, focus, activation, key state, the cursor and the clipboard's data and owner. With the
// headless display, its windows, events, clipboard and message boxes are cleared too. Call on the UI thread
// with no other thread using the layer.
void reset_window_layer();

}  // namespace platform::user
