// Input for tests: on this layer the headless display's input hooks, on Windows real input (SendInput).
#pragma once

#include "platform/win32.h"

namespace test_support {

// A left click (press and release) at a point of the window's client area; the window must be visible.
void click(HWND window, int x, int y);

// Modifier keys held around a key in press_key.
enum Key_Modifier : unsigned { Shift = 1, Control = 2, Alt = 4 };

// One key going down or up, for the focused window of the window that takes keyboard input.
void key_down(int virtual_key);
void key_up(int virtual_key);
// A key pressed and released while the modifier keys are held. `typed` is the text the key types: Windows
// makes it from the key (TranslateMessage), this layer's display reports it as typed text.
void press_key(int virtual_key, unsigned modifiers = 0, const char* typed = nullptr);
// ASCII text typed into the focused window, one character after another.
void type_text(const char* text);
// Lets go of Shift, Ctrl and Alt, should a failed test have left them held.
void release_modifier_keys();

// Makes the window the one that takes keyboard input (on Windows the foreground window).
void take_keyboard(HWND window);

}  // namespace test_support
