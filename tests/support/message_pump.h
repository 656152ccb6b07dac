// Running the message loop in tests without blocking.
#pragma once

#include <optional>

#include "platform/win32.h"

namespace test_support {

// Retrieves (PeekMessageA with PM_REMOVE), translates and dispatches messages until none is queued and no
// paint is due. Returns the exit code if WM_QUIT was retrieved (the pump stops there), else no value. A queue
// that never runs dry (a window that never validates itself) fails the test rather than hanging it.
std::optional<int> pump_until_idle();

// The same for a window with dialog navigation: each message goes to IsDialogMessageA(dialog) first and is
// translated and dispatched only when that does not take it.
std::optional<int> pump_dialog_until_idle(HWND dialog);

// The program's loop: GetMessageA, TranslateMessage, DispatchMessageA until WM_QUIT; returns its exit code.
int run_message_loop();

}  // namespace test_support
