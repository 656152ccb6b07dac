#include "app/application.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/main_window.h"
#include "app/options_window.h"
#include "screen_objects/background.h"
#include "screen_objects/object_registry.h"

HINSTANCE instance_handle = nullptr;
HWND main_window = nullptr;
On_Screen_Object_Ostrelin_Zeta_Function_Viewer viewer;
RECT plot_rect = {0, 0, 0, 0};

namespace {

std::unique_ptr<On_Screen_Object_Background> background;

// The client area that the plot layout needs: the plot with its axes, labels and legend at their start-up
// places.
constexpr LONG layout_width = 760;
constexpr LONG layout_height = 740;

void register_window_class(const char* name, WNDPROC procedure, HBRUSH background_brush) {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance_handle;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = background_brush;
    window_class.lpszClassName = name;
    if (!RegisterClassExA(&window_class)) MessageBoxA(nullptr, "Window failed to register", "Error", MB_OK);
}

// The plot shown at start: 1/|zeta| for real parts 0 to 1.6 and imaginary parts -5 to 47.
void set_start_up_plot() {
    Plot_Job& job = viewer.job;
    job.real_part = 0.0;
    job.imaginary_part = -5.0;
    job.ceiling = 5.0;
    job.floor = -5.0;
    job.real_scale = 0.02;
    job.imaginary_scale = 0.1;
    job.mode = Reciprocal_Absolute_Value;
    job.show_critical_line = 1;
    plot_rect = {100, 60, 180, 580};
    viewer.rect = &plot_rect;
    job.plot_rect = &plot_rect;
    viewer.window = main_window;
    job.repaint_window = main_window;  // the status line and the plot are in it
    viewer.colour = RGB(14, 24, 34);
    job.options_window = options_window;
    viewer.view_restored = show_settings_again;
}

// A default main window too small for the layout (on a small screen) grows until its client area holds it.
void fit_main_window_to_layout() {
    RECT client;
    if (main_window == nullptr || !GetClientRect(main_window, &client)) return;
    if (client.right >= layout_width && client.bottom >= layout_height) return;
    RECT wanted = {0, 0, std::max(client.right, layout_width), std::max(client.bottom, layout_height)};
    AdjustWindowRectEx(&wanted, WS_OVERLAPPEDWINDOW, FALSE, 0);
    RECT placed;
    GetWindowRect(main_window, &placed);
    MoveWindow(main_window, placed.left, placed.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
               FALSE);
}

}  // namespace

bool start_application(HINSTANCE instance) {
    instance_handle = instance;
    register_window_class(main_window_class_name, Main_Window_Procedure, nullptr);
    register_window_class(options_window_class_name, Options_Window_Procedure,
                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));

    main_window =
        CreateWindowExA(0, main_window_class_name, "Ostrelin zeta function viewer", WS_OVERLAPPEDWINDOW,
                        CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, nullptr, instance_handle, nullptr);
    fit_main_window_to_layout();
    create_options_window(instance_handle);
    ShowWindow(main_window, SW_SHOW);
    if (main_window == nullptr) {
        MessageBoxA(nullptr, "Failed to create window", "Error", MB_OK);
        std::fputs(
            "Without a screen, zeta-render draws the same plot into a PNG file (zeta-render --help).\n",
            stderr);
        // Without a main window nothing could ever end the message loop.
        return false;
    }

    set_start_up_plot();
    start_calculation(viewer.job);
    SetTimer(main_window, progress_timer_id, progress_timer_ms, nullptr);

    object_registry.main_window = main_window;
    object_registry.register_object(&viewer);
    background = std::make_unique<On_Screen_Object_Background>();
    background->colour = RGB(0, 0, 255);
    object_registry.register_object(background.get());
    return true;
}

int run_message_loop() {
    MSG message;
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) return 1;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void finish_application() {
    // The worker reads the grid and the plot rectangle: it must be gone before they are.
    stop_calculation(viewer.job);
    viewer.readout_worker.stop();
    if (Window_Object_List* list = object_registry.find_record(main_window)) {
        list->remove_object(&viewer);
        if (background) list->remove_object(background.get());
    }
    background.reset();
}
