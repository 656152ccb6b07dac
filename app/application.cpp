#include "app/application.h"

#include <algorithm>
#include <cstdio>

#include "app/main_window.h"
#include "app/window_icon.h"
#include "screen_objects/object_registry.h"

namespace {

// The client area that the plot layout needs: the plot with its axes, labels and legend at their start-up
// places.
constexpr LONG layout_width = 760;
constexpr LONG layout_height = 740;

void register_window_class(HINSTANCE instance, const char* name, WNDPROC procedure, HBRUSH background_brush,
                           HICON icon = nullptr) {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = background_brush;
    window_class.hIcon = icon;
    window_class.lpszClassName = name;
    if (!RegisterClassExA(&window_class)) MessageBoxA(nullptr, "Window failed to register", "Error", MB_OK);
}

// A default main window too small for the layout (on a small screen) grows until its client area holds it.
void fit_to_layout(HWND window) {
    RECT client;
    if (window == nullptr || !GetClientRect(window, &client)) return;
    if (client.right >= layout_width && client.bottom >= layout_height) return;
    RECT wanted = {0, 0, std::max(client.right, layout_width), std::max(client.bottom, layout_height)};
    AdjustWindowRectEx(&wanted, WS_OVERLAPPEDWINDOW, FALSE, 0);
    RECT placed;
    GetWindowRect(window, &placed);
    MoveWindow(window, placed.left, placed.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
               FALSE);
}

}  // namespace

Application::~Application() {
    finish();
}

Application* Application::of(HWND window) {
    if (window == nullptr) return nullptr;
    return reinterpret_cast<Application*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool Application::start(HINSTANCE instance_handle) {
    instance = instance_handle;
    register_window_class(instance, main_window_class_name, Main_Window_Procedure, nullptr,
                          create_window_icon(instance));
    register_window_class(instance, options_window_class_name, Options_Window_Procedure,
                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));

    main_window =
        CreateWindowExA(0, main_window_class_name, "Ostrelin zeta function viewer", WS_OVERLAPPEDWINDOW,
                        CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (main_window != nullptr)
        SetWindowLongPtrA(main_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    fit_to_layout(main_window);
    options.create(instance, this);
    ShowWindow(main_window, SW_SHOW);
    if (main_window == nullptr) {
        MessageBoxA(nullptr, "Failed to create window", "Error", MB_OK);
        std::fputs(
            "Without a screen, zeta-render draws the same plot into a PNG file (zeta-render --help).\n",
            stderr);
        // Without a main window nothing could ever end the message loop.
        return false;
    }

    // The start-up plot: 1/|zeta| for real parts 0 to 1.6 and imaginary parts -5 to 47.
    viewer.job.settings = start_up_settings();
    viewer.job.show_critical_line = 1;
    plot_rect = {100, 60, 180, 580};
    viewer.rect = &plot_rect;
    viewer.window = main_window;
    viewer.colour = RGB(14, 24, 34);
    viewer.options_window = options.window;
    viewer.view_restored = [this] { options.show_settings_again(viewer.job.settings); };
    viewer.restart_calculation();
    SetTimer(main_window, progress_timer_id, progress_timer_ms, nullptr);

    object_registry.main_window = main_window;
    object_registry.register_object(&viewer);
    background = std::make_unique<On_Screen_Object_Background>();
    background->colour = RGB(0, 0, 255);
    object_registry.register_object(background.get());
    return true;
}

int Application::run_message_loop() {
    MSG message;
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) return 1;
        // Tab, Shift+Tab and Enter in the Options window.
        if (options.window != nullptr && IsDialogMessageA(options.window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void Application::finish() {
    // The worker reads the grid: it must be gone before the grid is.
    stop_calculation(viewer.job);
    viewer.readout_worker.stop();
    viewer.zeros.stop();
    if (Window_Object_List* list = object_registry.find_record(main_window)) {
        list->remove_object(&viewer.menu);
        list->remove_object(&viewer);
        if (background) list->remove_object(background.get());
        list->actions.clear();
    }
    background.reset();
    // Messages that still reach the windows find no application behind them.
    for (HWND window : {main_window, options.window}) {
        if (window != nullptr) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
}
