// What a program tells the layer before its first window, and the layer's start-up check. Not part of the
// Win32 surface: a program calls these from code that is built for non-Windows hosts only.
#pragma once

#include <string>

namespace platform {

struct Configuration {
    // Begins every line that the layer itself writes to stderr ("program: no screen found ...").
    std::string program_name = "win32-layer";
    // Ends the line that says no screen was found: how the user can run the program without one.
    std::string no_screen_advice;
};

// Call once, before the first window, on the thread that will run the windows.
void configure(const Configuration& configuration);
const Configuration& configuration();

// Loads the layer's font now rather than at the first text drawn. False when no usable font exists; `problem`
// (when not null) then says what went wrong, and text calls draw nothing.
bool load_font(std::string* problem);

}  // namespace platform
