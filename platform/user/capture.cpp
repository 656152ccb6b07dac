// Mouse capture: while a window holds it, every pointer message goes to that window (display_input.cpp
// places them), wherever the pointer is.
#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

void tell_display(HWND holder) {
    const display::Backend* display = layer().display.load();
    if (display == nullptr || display->set_capture == nullptr) return;
    std::shared_ptr<Window> top = holder != nullptr ? top_level_of(holder) : nullptr;
    display->set_capture(top ? top->display_window : 0);
}

// Gives the capture to `holder` (null: nobody); the window that had it is told, as Win32 tells it, even when
// it takes the capture again.
HWND change_capture(HWND holder) {
    Layer& l = layer();
    HWND previous = l.capture;
    l.capture = holder;
    tell_display(holder);
    if (previous != nullptr && IsWindow(previous))
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(holder));
    return previous;
}

}  // namespace

void release_capture_in_tree(HWND root) {
    HWND holder = layer().capture;
    if (holder != nullptr && is_in_tree(holder, root)) change_capture(nullptr);
}

}  // namespace platform::user

using namespace platform::user;

HWND WINAPI SetCapture(HWND hwnd) {
    if (hwnd != nullptr && !IsWindow(hwnd)) return nullptr;
    return change_capture(hwnd);
}

BOOL WINAPI ReleaseCapture(void) {
    change_capture(nullptr);
    return TRUE;
}

HWND WINAPI GetCapture(void) {
    return layer().capture;
}
