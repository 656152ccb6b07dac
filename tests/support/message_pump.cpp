#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

namespace test_support {

namespace {

std::optional<int> pump(HWND dialog) {
    // A window that never validates itself gets WM_PAINT forever, as in Win32; fail instead of hanging.
    constexpr int message_limit = 1000000;
    MSG msg;
    for (int count = 0; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++count) {
        if (count == message_limit) {
            ADD_FAILURE() << "the queue never ran dry; last message " << msg.message;
            break;
        }
        if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
        if (dialog != nullptr && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> pump_until_idle() {
    return pump(nullptr);
}

std::optional<int> pump_dialog_until_idle(HWND dialog) {
    return pump(dialog);
}

int run_message_loop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace test_support
