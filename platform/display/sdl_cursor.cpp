// The standard Win32 cursors, shown as SDL's system cursors.
#include <array>
#include <utility>

#include "platform/display/sdl_internal.h"

namespace platform::display::sdl {
namespace {

// IDC_ number and the SDL cursor that looks like it; the first is the fallback for unknown numbers.
constexpr std::array<std::pair<int, SDL_SystemCursor>, 8> cursor_table = {{
    {32512, SDL_SYSTEM_CURSOR_ARROW},
    {32649, SDL_SYSTEM_CURSOR_HAND},
    {32642, SDL_SYSTEM_CURSOR_SIZENWSE},
    {32643, SDL_SYSTEM_CURSOR_SIZENESW},
    {32645, SDL_SYSTEM_CURSOR_SIZENS},
    {32644, SDL_SYSTEM_CURSOR_SIZEWE},
    {32646, SDL_SYSTEM_CURSOR_SIZEALL},
    {32513, SDL_SYSTEM_CURSOR_IBEAM},
}};

std::array<SDL_Cursor*, cursor_table.size()> cursors{};
SDL_Cursor* shown = nullptr;

}  // namespace

void create_cursors() {
    for (std::size_t i = 0; i < cursor_table.size(); ++i)
        cursors[i] = SDL_CreateSystemCursor(cursor_table[i].second);
    shown = nullptr;
}

void free_cursors() {
    // SDL keeps its own default cursor active once ours are gone.
    for (SDL_Cursor*& cursor : cursors) {
        if (cursor != nullptr) SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
    shown = nullptr;
}

void set_cursor(int cursor_id) {
    if (!is_open()) return;
    SDL_Cursor* cursor = cursors[0];
    for (std::size_t i = 0; i < cursor_table.size(); ++i) {
        if (cursor_table[i].first == cursor_id) cursor = cursors[i];
    }
    if (cursor == nullptr || cursor == shown) return;
    SDL_SetCursor(cursor);
    shown = cursor;
}

}  // namespace platform::display::sdl
