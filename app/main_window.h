// The main window: the plot and its background, painted double-buffered, and mouse input for them.
#pragma once

#include "platform/win32.h"

extern const char main_window_class_name[];
// The main window's timer that brings the progress bar up to date, and its period.
constexpr UINT_PTR progress_timer_id = 1;
constexpr UINT progress_timer_ms = 250;

LRESULT CALLBACK Main_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
