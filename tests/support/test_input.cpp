#include "tests/support/test_input.h"

#ifndef _WIN32
#include "platform/testing/testing.h"
#endif

namespace test_support {

#ifdef _WIN32
void click(HWND window, int x, int y) {
    POINT at{x, y};
    ClientToScreen(window, &at);
    // Absolute coordinates span 0..65535 over the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = (at.x * 65535 + width / 2) / (width - 1);
        input.mi.dy = (at.y * 65535 + height / 2) / (height - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}
#else
void click(HWND window, int x, int y) {
    platform::headless::click(window, x, y);
}
#endif

}  // namespace test_support
