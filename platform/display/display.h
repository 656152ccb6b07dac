// What the window layer needs from a screen: one table of functions per backend.
// "sdl" shows real windows through SDL2; "headless" keeps every window's pixels in memory for tests and
// tools.
#pragma once

#include <cstdint>
#include <string>

namespace platform::display {

// A backend's own number for a top-level window; 0 means none.
using Window_Id = std::uint32_t;

enum class Event_Type {
    Mouse_Move,     // x, y in client coordinates
    Button_Down,    // button, x, y
    Button_Up,      // button, x, y
    Key_Down,       // virtual_key (a VK_ value or an upper-case letter/digit), modifiers
    Key_Up,         // virtual_key, modifiers
    Text,           // text: UTF-8 typed text, zero-terminated
    Close_Request,  // the user asked to close the window
    Focus_Gained,   // the window became the active one on the screen
    Focus_Lost,
    Exposed,  // the screen lost the window's pixels; present again
    Resized,  // width, height: the new client size
    Wheel,    // wheel: whole notches, positive away from the user; x, y: the pointer in client coordinates
};

enum Mouse_Button { Button_Left = 1, Button_Right = 2, Button_Middle = 3 };
enum Modifier : unsigned { Modifier_Shift = 1, Modifier_Control = 2, Modifier_Alt = 4 };

struct Event {
    Event_Type type = Event_Type::Mouse_Move;
    Window_Id window = 0;
    int x = 0;
    int y = 0;
    int button = 0;
    int virtual_key = 0;
    unsigned modifiers = 0;
    int width = 0;
    int height = 0;
    int wheel = 0;
    char text[32] = {};
};

struct Backend {
    const char* name;
    // Connects to the screen. False when there is none; the backend has then printed one line saying why.
    bool (*open)();
    void (*close)();
    // x, y: screen position of the client area. Returns 0 on failure.
    Window_Id (*create_window)(const char* title, int x, int y, int client_width, int client_height,
                               bool resizable);
    void (*destroy_window)(Window_Id window);
    void (*set_title)(Window_Id window, const char* title);
    void (*show_window)(Window_Id window);
    void (*hide_window)(Window_Id window);
    void (*client_size)(Window_Id window, int* width, int* height);
    // Places the client area at (x, y) on the screen with the given size.
    void (*move_window)(Window_Id window, int x, int y, int client_width, int client_height);
    // Shows a full client-area image: rows top to bottom, `width` pixels each, 0x00RRGGBB.
    void (*present)(Window_Id window, const std::uint32_t* pixels, int width, int height);
    // A standard cursor by its IDC_ number (32512 arrow, 32649 hand, ...).
    void (*set_cursor)(int cursor_id);
    // Takes the next pending event; false when there is none.
    bool (*poll_event)(Event* event);
    // Blocks until an event is pending, wake() was called, or timeout_ms passed (negative: no time-out).
    void (*wait_event)(int timeout_ms);
    // Ends a wait_event now or makes the next one return at once. Safe from any thread.
    void (*wake)();
    std::string (*get_clipboard)();
    void (*set_clipboard)(const std::string& text);
    // Shows a modal message where the backend can and returns true when it was dismissed; false at once when
    // it cannot be shown.
    bool (*message_box)(const char* caption, const char* text);
    void (*screen_size)(int* width, int* height);
    // While `window` (0: none) holds the pointer, every pointer event is reported to it, in its client
    // coordinates, also outside it and beyond the program's other windows.
    void (*set_capture)(Window_Id window);
    // The window's icon: rows top to bottom, `width` pixels each, 0xAARRGGBB with straight (not
    // premultiplied) alpha.
    void (*set_icon)(Window_Id window, const std::uint32_t* pixels, int width, int height);
};

const Backend& headless_backend();
const Backend& sdl_backend();

// The backend the window layer uses: the one given to use_backend, else sdl.
const Backend& current_backend();
void use_backend(const Backend& backend);

}  // namespace platform::display
