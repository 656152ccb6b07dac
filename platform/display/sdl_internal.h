// Pieces of the SDL2 display backend shared between its source files. Everything here runs on the UI thread
// except where noted.
#pragma once

#include <SDL.h>

#include "platform/display/display.h"

namespace platform::display::sdl {

// True between a successful open() and close().
bool is_open();
// Opens the connection if no attempt was made yet; true when it is open.
bool ensure_open();

// Windows (sdl_window.cpp).
Window_Id create_window(const char* title, int x, int y, int client_width, int client_height, bool resizable);
void destroy_window(Window_Id window);
void set_title(Window_Id window, const char* title);
void show_window(Window_Id window);
void hide_window(Window_Id window);
void client_size(Window_Id window, int* width, int* height);
void move_window(Window_Id window, int x, int y, int client_width, int client_height);
void present(Window_Id window, const std::uint32_t* pixels, int width, int height);
void set_icon(Window_Id window, const std::uint32_t* pixels, int width, int height);

// Standard cursors (sdl_cursor.cpp): created by open, freed by close.
void create_cursors();
void free_cursors();
void set_cursor(int cursor_id);

// Reports every pointer event to `window` (0: as they come) and asks SDL to grab the pointer meanwhile
// (sdl_events.cpp).
void set_capture(Window_Id window);
// Turns an SDL event into the window layer's event; false for events the layer does not take
// (sdl_events.cpp).
bool translate_event(const SDL_Event& in, Event* out);
// The VK_ code for an SDL key, or 0 for keys the layer does not use.
int virtual_key_for(SDL_Keycode key);

}  // namespace platform::display::sdl
