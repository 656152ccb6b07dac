// The SDL2 display backend: real windows on an X11 or Wayland screen. This file holds the connection, the
// event loop hooks, the clipboard and message boxes; windows, cursors and event translation have their own
// files.
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "platform/display/sdl_internal.h"
#include "platform/startup.h"

namespace platform::display::sdl {
namespace {

enum class Connection { Not_Tried, Open, Failed };
Connection connection = Connection::Not_Tried;

// wake() may run on any thread; this lock keeps it from pushing while open() or close() change SDL's state.
std::mutex wake_lock;
bool wake_allowed = false;              // guarded by wake_lock
std::atomic<bool> wake_pending{false};  // one wake-up event in the queue is enough

bool wayland_socket_exists() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || *name == '\0') return false;
    std::string path = name;
    if (path[0] != '/') {
        const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
        if (runtime_dir == nullptr || *runtime_dir == '\0') return false;
        path = std::string(runtime_dir) + "/" + name;
    }
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

bool x_display_set() {
    const char* x_display = std::getenv("DISPLAY");
    return x_display != nullptr && *x_display != '\0';
}

bool screen_configured() {
    return x_display_set() || wayland_socket_exists();
}

// Which screens were asked for, for the message when none opens.
std::string configured_screens() {
    std::string screens;
    if (x_display_set()) screens = std::string("DISPLAY=") + std::getenv("DISPLAY");
    if (wayland_socket_exists()) {
        if (!screens.empty()) screens += " or ";
        screens += std::string("WAYLAND_DISPLAY=") + std::getenv("WAYLAND_DISPLAY");
    }
    return screens;
}

// Only the screen kind that is configured is tried: SDL would otherwise also try the other one (whose library
// may print its own complaints) and then fall back to an invisible driver. A user's SDL_VIDEODRIVER still
// wins.
void choose_video_driver() {
    bool x11 = x_display_set();
    bool wayland = wayland_socket_exists();
    if (x11 != wayland) SDL_SetHint(SDL_HINT_VIDEODRIVER, x11 ? "x11" : "wayland");
}

void report_no_screen(const std::string& reason) {
    const Configuration& program = configuration();
    std::string line = program.program_name + ": no screen found (" + reason + ")";
    if (!program.no_screen_advice.empty()) line += "; " + program.no_screen_advice;
    std::fprintf(stderr, "%s\n", line.c_str());
}

// SDL falls back to drivers that show nothing; a window there would be invisible to the user.
bool invisible_driver(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

bool open() {
    if (connection == Connection::Open) return true;
    if (connection == Connection::Failed) return false;
    connection = Connection::Failed;
    if (!screen_configured()) {
        report_no_screen("neither DISPLAY nor WAYLAND_DISPLAY names a screen");
        return false;
    }
    // Capture only when the window layer asks for it (SetCapture): otherwise a drag that leaves the client
    // area is not followed, as in Win32.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Window surfaces straight on the screen's own framebuffer (XShm on X11), not emulated through OpenGL,
    // which would start a software renderer with threads of its own on a machine without a GPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // SIGINT and SIGTERM keep their default meaning: SDL would turn them into a quit event that no window
    // asked for, and the program would ignore them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    choose_video_driver();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        report_no_screen("cannot open " + configured_screens() + ": " + SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (invisible_driver(driver)) {
        report_no_screen(std::string("SDL offers only its invisible '") + (driver ? driver : "none") +
                         "' video driver");
        SDL_Quit();
        return false;
    }
    SDL_StartTextInput();
    create_cursors();
    connection = Connection::Open;
    std::lock_guard lock(wake_lock);
    wake_allowed = true;
    wake_pending = false;
    return true;
}

void close() {
    if (connection != Connection::Open) return;
    {
        std::lock_guard lock(wake_lock);
        wake_allowed = false;
    }
    free_cursors();
    SDL_StopTextInput();
    SDL_Quit();
    connection = Connection::Not_Tried;
}

bool poll_event(Event* event) {
    if (connection != Connection::Open) return false;
    SDL_Event in;
    while (SDL_PollEvent(&in)) {
        if (in.type == SDL_USEREVENT) {
            wake_pending = false;
            continue;
        }
        if (translate_event(in, event)) return true;
    }
    return false;
}

void wait_event(int timeout_ms) {
    if (connection != Connection::Open) {
        // Nothing can arrive; sleep a little rather than let a caller's loop spin.
        int pause = timeout_ms < 0 ? 100 : std::min(timeout_ms, 100);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        return;
    }
    if (timeout_ms < 0) {
        SDL_WaitEvent(nullptr);
    } else {
        SDL_WaitEventTimeout(nullptr, timeout_ms);
    }
}

void wake() {
    std::lock_guard lock(wake_lock);
    if (!wake_allowed || wake_pending.exchange(true)) return;
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    if (SDL_PushEvent(&event) != 1) wake_pending = false;
}

std::string get_clipboard() {
    if (connection != Connection::Open) return {};
    char* text = SDL_GetClipboardText();
    if (text == nullptr) return {};
    std::string result = text;
    SDL_free(text);
    return result;
}

void set_clipboard(const std::string& text) {
    if (connection != Connection::Open) return;
    SDL_SetClipboardText(text.c_str());
}

bool message_box(const char* caption, const char* text) {
    // Without a screen the window layer's copy on stderr is all there is.
    if (connection == Connection::Failed || (connection == Connection::Not_Tried && !screen_configured()))
        return false;
    // Fails at once, for instance when the X server has none of the core fonts SDL draws the box with.
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption ? caption : "", text ? text : "",
                                    nullptr) == 0;
}

void screen_size(int* width, int* height) {
    int w = 1024;
    int h = 768;
    SDL_DisplayMode mode{};
    if (ensure_open() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        w = mode.w;
        h = mode.h;
    }
    if (width) *width = w;
    if (height) *height = h;
}

}  // namespace

bool is_open() {
    return connection == Connection::Open;
}
bool ensure_open() {
    return open();
}

}  // namespace platform::display::sdl

namespace platform::display {

const Backend& sdl_backend() {
    static const Backend backend = {
        "sdl",
        sdl::open,
        sdl::close,
        sdl::create_window,
        sdl::destroy_window,
        sdl::set_title,
        sdl::show_window,
        sdl::hide_window,
        sdl::client_size,
        sdl::move_window,
        sdl::present,
        sdl::set_cursor,
        sdl::poll_event,
        sdl::wait_event,
        sdl::wake,
        sdl::get_clipboard,
        sdl::set_clipboard,
        sdl::message_box,
        sdl::screen_size,
        sdl::set_capture,
        sdl::set_icon,
    };
    return backend;
}

}  // namespace platform::display
