// The standard cursors and the one the screen shows.
#include <array>

#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

struct Cursor {
    int id;
};

const std::array<Cursor, 12> standard_cursors{{{32512},
                                               {32513},
                                               {32514},
                                               {32515},
                                               {32516},
                                               {32642},
                                               {32643},
                                               {32644},
                                               {32645},
                                               {32646},
                                               {32648},
                                               {32649}}};

HCURSOR handle_of(const Cursor& cursor) {
    return reinterpret_cast<HCURSOR>(const_cast<Cursor*>(&cursor));
}

const Cursor* find_cursor(HCURSOR handle) {
    for (const Cursor& cursor : standard_cursors) {
        if (handle_of(cursor) == handle) return &cursor;
    }
    return nullptr;
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    // Only the system's cursors exist: the program has no cursor resources.
    if (instance != nullptr || name == nullptr || !IS_INTRESOURCE(name)) return nullptr;
    int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    for (const Cursor& cursor : standard_cursors) {
        if (cursor.id == id) return handle_of(cursor);
    }
    return nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    Layer& l = layer();
    HCURSOR previous = l.cursor;
    const Cursor* shown = find_cursor(cursor);
    if (cursor != nullptr && shown == nullptr) return previous;  // not a cursor: nothing changes
    l.cursor = cursor;
    const platform::display::Backend* display = l.display.load();
    if (shown != nullptr && display != nullptr) display->set_cursor(shown->id);
    return previous;
}

HCURSOR WINAPI GetCursor(void) {
    return layer().cursor;
}
