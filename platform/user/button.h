// The window procedure of the standard "Button" class: a push button.
#pragma once

#include "platform/win32.h"

namespace platform::user {

LRESULT CALLBACK button_window_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace platform::user
