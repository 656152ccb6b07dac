// What the viewer tells the window layer before its first window on non-Windows hosts: its name, how to run
// it without a screen, and which display to use (ZETA_VIEWER_DISPLAY=headless keeps the windows in memory).
#pragma once

// Configures the layer and loads its font. False when no usable font exists; one line naming the Debian
// package to install has then been written to stderr.
bool set_up_platform();
