// What the end-to-end tests of the real viewer share: its environment and finding its windows with xdotool.
#pragma once

#include <string>
#include <vector>

#include "child_process.h"

namespace e2e {

// The viewer's environment: always the sdl backend on `display` (none when empty), and the sanitizer
// suppressions for leaks inside the system's libraries.
Environment_Changes viewer_environment(const std::string& display);

// Runs xdotool on `display`.
Exit xdotool(const std::string& display, std::vector<std::string> arguments);

// The first visible window whose name is exactly `name`, waiting for it to appear; "" if none came.
std::string find_window(const std::string& display, const std::string& name);

}  // namespace e2e
