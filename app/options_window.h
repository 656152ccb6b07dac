// The Options window: seven edit fields for the plot settings and the "Apply values" button.
#pragma once

#include "platform/win32.h"

extern const char options_window_class_name[];
constexpr int apply_button_id = 12321;

extern HWND options_window;
extern HWND apply_button;
extern HWND ceiling_edit;
extern HWND floor_edit;
extern HWND real_part_edit;
extern HWND imaginary_part_edit;
extern HWND real_scale_edit;
extern HWND imaginary_scale_edit;
extern HWND precision_edit;

// Creates the hidden Options window with its button and edits. The window handle stays null on failure.
void create_options_window(HINSTANCE instance);

LRESULT CALLBACK Options_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Reads the seven edits back into the viewer's plot settings. A field whose number is not finite changes
// nothing: a message box names it, every field keeps its text, and the result is false.
bool read_settings();

// Fills the edits from the viewer's plot settings again if the window is shown.
void show_settings_again();
