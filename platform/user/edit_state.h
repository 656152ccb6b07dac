// The text, caret and selection of one single-line "Edit" control, and the edits the control applies to them.
// Characters are bytes, as for any ANSI window: positions and counts are byte positions and byte counts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::user {

// Win32's default limit for a single-line edit until EM_LIMITTEXT changes it.
constexpr std::size_t default_edit_limit = 30000;

struct Edit_State {
    std::string text;
    std::size_t caret = 0;   // where typing goes; one end of the selection
    std::size_t anchor = 0;  // the other end of the selection (equal to caret when nothing is selected)
    std::size_t limit = default_edit_limit;
    int scroll = 0;  // pixels of text hidden on the left
    bool mouse_selecting = false;

    std::size_t selection_start() const { return caret < anchor ? caret : anchor; }
    std::size_t selection_end() const { return caret < anchor ? anchor : caret; }
    bool has_selection() const { return caret != anchor; }
    std::string selected_text() const {
        return text.substr(selection_start(), selection_end() - selection_start());
    }
};

// Replaces the whole text (null clears it), whatever the limit; caret at the start, nothing selected.
void set_text(Edit_State& state, const char* text);
// Replaces the selection by `inserted`, of which only what fits within the limit is kept; caret after it.
void replace_selection(Edit_State& state, std::string_view inserted);
// Moves the caret; with `extend` the anchor stays and the selection grows or shrinks.
void move_caret(Edit_State& state, std::size_t position, bool extend);
// EM_SETSEL: start -1 removes the selection, a negative end means the end of the text; positions are clamped.
void set_selection(Edit_State& state, long start, long end);

// Backspace and Delete: remove the selection, else the character before or after the caret.
void erase_backward(Edit_State& state);
void erase_forward(Edit_State& state);

// Clipboard text as one line: everything from the first line break or zero byte on is dropped.
std::string_view first_line(std::string_view text);

}  // namespace platform::user
