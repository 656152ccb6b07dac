// The main window: the plot and its background, hosted as screen objects.
#pragma once

#include "platform/win32.h"

extern const char main_window_class_name[];

LRESULT CALLBACK Main_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
