// Fuzzer input for the whole viewer, running in-process on the headless display. Each byte sequence becomes
// user input: pointer moves, presses, releases, clicks and drags of both buttons over and around the plot,
// exactly on its frame's edges and corners and over its menu; texts written into the Options window's edits
// and applied; activation changes and closing of the Options window; and waits for quick calculations.
// Shared by the fuzz target and the regression tests that replay what it found.
#pragma once

#include <cstddef>
#include <cstdint>

namespace app_fuzz {

// Starts the application on the headless display. False when the main window could not be created.
bool start_application_once();

// Replaces the application with a freshly started one on a fresh window layer, with a precision of 10 for
// quick calculations and the first calculation running. The main window is made smaller than start-up makes
// it, for quick paints.
void reset_to_start_up();

// Plays `data` as input, then stops the calculation, so that none outlives the input.
void play(const std::uint8_t* data, std::size_t size);

}  // namespace app_fuzz
