// The window procedure's part for a window whose content is screen objects: every paint draws the window's
// objects into one off-screen bitmap that reaches the window in a single copy, mouse and wheel messages
// become framework events, and timers and posted results reach the objects.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32.h"
#include "screen_objects/object_registry.h"

// Handles `message` for `window`'s objects in `registry` and returns true, with the window procedure's answer
// in `result`; false for a message that is not the host's (the caller passes it on, usually to
// DefWindowProcA). The host's messages: WM_PAINT; WM_MOUSEMOVE, WM_LBUTTONDOWN/UP and WM_RBUTTONDOWN/UP (a
// left drag captures the pointer, so it ends wherever it is released); WM_MOUSEWHEEL in whole notches;
// WM_TIMER; and the application's range WM_APP to 0xBFFF.
bool host_window_message(Object_Registry& registry, HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                         LRESULT& result);

// What a paint of the window shows now: its objects drawn back to front into an off-screen bitmap of the
// client size. Pixels 0x00RRGGBB, rows top to bottom; empty when the bitmap cannot be made or read.
struct Window_Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
Window_Picture paint_window_picture(Object_Registry& registry, HWND window);
