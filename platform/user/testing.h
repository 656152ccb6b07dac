// Returns the window layer to its start state, for test programs that run many cases in one process.
#pragma once

namespace platform::user {

// Destroys every window (with the usual WM_DESTROY/WM_NCDESTROY messages), unregisters every class (the
// control classes are registered again before the next window is created), and forgets posted messages, the
// quit request, input, focus, activation, key state and the cursor. With the headless display, its windows,
// events, clipboard and message boxes are cleared too. Call on the UI thread with no other thread using the
// layer.
void reset_window_layer();

}  // namespace platform::user
