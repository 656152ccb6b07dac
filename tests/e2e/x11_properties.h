// Reads a window property as the window manager sees it.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The 32-bit items of a CARDINAL property (such as _NET_WM_ICON); empty when the window has none.
std::vector<unsigned long> cardinal_property(const std::string& display, unsigned long window,
                                             const std::string& name);

}  // namespace e2e
