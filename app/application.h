// The viewer application: its windows, its one plot and the steps from start-up to exit.
// WinMain is start_application, run_message_loop and finish_application in a row; tests run the first and the
// last in-process and pump messages themselves in between.
#pragma once

#include "platform/win32.h"
#include "zeta/zeta_viewer.h"

extern HINSTANCE instance_handle;
extern HWND main_window;
// The plot. Its frame and its plot job share plot_rect.
extern On_Screen_Object_Ostrelin_Zeta_Function_Viewer viewer;
extern RECT plot_rect;

// Registers the window classes, creates the windows, sets the start-up plot, starts the first calculation and
// registers the screen objects. False when the main window could not be created; the user has then been told.
bool start_application(HINSTANCE instance);

// Retrieves and dispatches messages until the quit message; returns its exit code.
int run_message_loop();

// Cancels and joins a calculation that is still running, takes the screen objects out of the main window's
// list and destroys the background object. Safe to call after a failed start.
void finish_application();
