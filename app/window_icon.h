// The main window's icon, the picture of data/zeta-viewer.svg (a plot on the red-to-green ramp with its
// critical line and colour bar, on the window's blue), drawn in code so that the program needs no file for
// it.
#pragma once

#include "platform/win32.h"

// A 32 x 32 icon; null when it cannot be made. The caller destroys it with DestroyIcon.
HICON create_window_icon(HINSTANCE instance);
