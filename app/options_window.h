// The Options window: seven edit fields for the plot settings and the "Apply values" button.
#pragma once

#include "platform/win32.h"
#include "zeta/plot/plot_settings.h"

class Application;

extern const char options_window_class_name[];
constexpr int apply_button_id = 12321;

struct Options_Window {
    // Creates the hidden window with its button and edits, for `application`'s viewer. The window handle
    // stays null on failure.
    void create(HINSTANCE instance, Application* application);

    // Shows `settings` in the edits; text typed but not applied is replaced.
    void fill_edits(const Plot_Settings& settings);
    // Fills the edits from `settings` again if the window is shown.
    void show_settings_again(const Plot_Settings& settings);
    // Reads the seven edits into `settings`. A field whose number is not finite changes nothing: a message
    // box names it, every field keeps its text, and the result is false.
    bool read_settings(Plot_Settings& settings);

    HWND window = nullptr;
    HWND apply_button = nullptr;
    HWND ceiling_edit = nullptr;
    HWND floor_edit = nullptr;
    HWND real_part_edit = nullptr;
    HWND imaginary_part_edit = nullptr;
    HWND real_scale_edit = nullptr;
    HWND imaginary_scale_edit = nullptr;
    HWND precision_edit = nullptr;
    // After "Apply values" refused a field, the texts stay until the window has been activated again, so
    // that the activation changes around the message box do not replace them.
    bool keep_typed_text = false;
};

LRESULT CALLBACK Options_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
