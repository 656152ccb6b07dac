// Text edits of the single-line edit control.
#include "platform/user/edit_state.h"

#include <algorithm>
#include <cstring>

namespace platform::user {

void set_text(Edit_State& state, const char* text) {
    // As in Win32 the text limit holds typing back, not text set by the program.
    state.text.assign(text ? text : "");
    state.caret = state.anchor = 0;
    state.scroll = 0;
}

void replace_selection(Edit_State& state, std::string_view inserted) {
    std::size_t start = state.selection_start();
    std::size_t kept = state.text.size() - (state.selection_end() - start);
    std::size_t room = state.limit > kept ? state.limit - kept : 0;
    inserted = inserted.substr(0, std::min(inserted.size(), room));
    state.text.replace(start, state.selection_end() - start, inserted);
    state.caret = state.anchor = start + inserted.size();
}

void move_caret(Edit_State& state, std::size_t position, bool extend) {
    state.caret = std::min(position, state.text.size());
    if (!extend) state.anchor = state.caret;
}

void set_selection(Edit_State& state, long start, long end) {
    std::size_t length = state.text.size();
    if (start < 0) {
        state.anchor = state.caret;
        return;
    }
    std::size_t to = end < 0 ? length : std::min<std::size_t>(static_cast<std::size_t>(end), length);
    state.anchor = std::min<std::size_t>(static_cast<std::size_t>(start), length);
    state.caret = to;
}

void erase_backward(Edit_State& state) {
    if (!state.has_selection()) {
        if (state.caret == 0) return;
        state.anchor = state.caret - 1;
    }
    replace_selection(state, {});
}

void erase_forward(Edit_State& state) {
    if (!state.has_selection()) {
        if (state.caret >= state.text.size()) return;
        state.anchor = state.caret + 1;
    }
    replace_selection(state, {});
}

std::string_view first_line(std::string_view text) {
    std::size_t end = text.find_first_of(std::string_view("\r\n\0", 3));
    return end == std::string_view::npos ? text : text.substr(0, end);
}

}  // namespace platform::user
