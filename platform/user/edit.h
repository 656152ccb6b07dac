// The window procedure of the standard "Edit" class: a single-line text field.
#pragma once

#include "platform/win32.h"

namespace platform::user {

LRESULT CALLBACK edit_window_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace platform::user
