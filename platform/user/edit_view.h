// How a single-line edit control looks: where its text sits, which character is under a point, how far the
// text is scrolled so that the caret stays visible, and the painting itself.
#pragma once

#include "platform/user/edit_state.h"
#include "platform/win32.h"

namespace platform::user {

// The character position nearest to client x coordinate `x`.
std::size_t edit_position_at(HWND edit, const Edit_State& state, int x);
// Adjusts state.scroll so that the caret is inside the visible text area.
void edit_scroll_to_caret(HWND edit, Edit_State& state);
void paint_edit(HWND edit, HDC hdc, const Edit_State& state);

}  // namespace platform::user
