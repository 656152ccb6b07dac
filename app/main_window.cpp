#include "app/main_window.h"

#include "app/application.h"
#include "app/window_commands.h"
#include "screen_objects/object_registry.h"
#include "screen_objects/window_host.h"

const char main_window_class_name[] = "this is what you name your window class";

LRESULT CALLBACK Main_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_COMMAND:
            return 0;
        case WM_KEYDOWN: {
            Application* application = Application::of(window);
            if (application != nullptr && run_window_command(*application, static_cast<UINT>(wparam)))
                return 0;
            break;
        }
        default:
            break;
    }
    LRESULT result = 0;
    if (host_window_message(object_registry, window, message, wparam, lparam, result)) return result;
    return DefWindowProcA(window, message, wparam, lparam);
}
