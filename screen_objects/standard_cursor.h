#pragma once

#include "platform/win32.h"

// Shows one of the system's standard cursors (IDC_ARROW, IDC_HAND, ...).
inline void set_standard_cursor(LPCSTR cursor_id) {
    SetCursor(LoadCursorA(nullptr, cursor_id));
}
