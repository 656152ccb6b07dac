// Input for tests: on this layer the headless display's input hooks, on Windows real input (SendInput).
#pragma once

#include "platform/win32.h"

namespace test_support {

// A left click (press and release) at a point of the window's client area; the window must be visible.
void click(HWND window, int x, int y);

}  // namespace test_support
