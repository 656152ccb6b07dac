// The main window's keyboard commands that reach beyond the plot: Ctrl+C copies the readout line to the
// clipboard, Ctrl+S saves what the window shows as a PNG in the user's pictures folder.
#pragma once

#include "platform/win32.h"

class Application;

// True when the key (with Ctrl held) was one of these commands and has been carried out.
bool run_window_command(Application& application, UINT virtual_key);

// Copies the readout line, as Unicode text; false when there is none or the clipboard refuses it.
bool copy_readout(Application& application);

// Saves the main window's picture and tells on the readout line where it went or why it could not.
void save_picture(Application& application);
