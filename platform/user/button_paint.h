// Drawing of a push button: raised frame, face and centred caption; sunken while pressed.
#pragma once

#include <string>

#include "platform/win32.h"

namespace platform::user {

void paint_button(HWND button, HDC hdc, const std::string& caption, bool pressed);

}  // namespace platform::user
