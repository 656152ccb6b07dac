// The viewer application: its windows, its one plot and the steps from start-up to exit. WinMain makes one,
// starts it, runs its message loop and finishes it; tests, the fuzzer and zeta-render make their own and pump
// messages themselves in between.
#pragma once

#include <memory>

#include "app/options_window.h"
#include "platform/win32.h"
#include "screen_objects/background.h"
#include "zeta/viewer/zeta_viewer.h"

class Application {
public:
    Application() = default;
    ~Application();  // finish()
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Registers the window classes, creates the windows, sets the start-up plot, starts the first calculation
    // and registers the screen objects. False when the main window could not be created; the user has then
    // been told.
    bool start(HINSTANCE instance);

    // Retrieves and dispatches messages until the quit message, the Options window's keys through
    // IsDialogMessageA; returns the quit message's exit code.
    int run_message_loop();

    // Cancels and joins a calculation that is still running, takes the screen objects out of the main
    // window's list and detaches the windows from the application. Safe to call after a failed start, and
    // twice.
    void finish();

    // The application whose window this is (main or Options window), or null.
    static Application* of(HWND window);

    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;
    Options_Window options;
    // The plot. Its frame is plot_rect.
    RECT plot_rect = {0, 0, 0, 0};
    On_Screen_Object_Ostrelin_Zeta_Function_Viewer viewer;
    std::unique_ptr<On_Screen_Object_Background> background;
};
