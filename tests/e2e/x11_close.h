// Asks an X window to close as a window manager's close button does (WM_DELETE_WINDOW), which xdotool cannot.
#pragma once

#include <string>

namespace e2e {

bool request_close(const std::string& display, unsigned long window);

}  // namespace e2e
