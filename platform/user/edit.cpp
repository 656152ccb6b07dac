// Messages of the single-line "Edit" control: mouse, keyboard, clipboard and the text messages.
#include "platform/user/edit.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/user/edit_state.h"
#include "platform/user/edit_view.h"

namespace platform::user {
namespace {

Edit_State* state_of(HWND edit) {
    return reinterpret_cast<Edit_State*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
}

Edit_State* create_state(HWND edit, LPARAM create_struct) {
    if (Edit_State* existing = state_of(edit)) return existing;
    auto* state = new Edit_State;
    SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(create_struct);
    if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
        set_text(*state, create->lpszName);
    }
    return state;
}

bool key_held(int virtual_key) {
    return GetKeyState(virtual_key) < 0;
}

// Shows a change: the caret stays in view and the field repaints.
void changed(HWND edit, Edit_State& state) {
    edit_scroll_to_caret(edit, state);
    InvalidateRect(edit, nullptr, FALSE);
}

// Puts the selection on the clipboard as CF_TEXT, as Win32's edit copies it. False when nothing was copied:
// no selection, or another window has the clipboard open.
bool copy_selection(HWND edit, const Edit_State& state) {
    if (!state.has_selection() || !OpenClipboard(edit)) return false;
    const std::string text = state.selected_text();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool copied = false;
    if (auto* bytes = static_cast<char*>(GlobalLock(memory))) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        copied = EmptyClipboard() && SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    if (!copied) GlobalFree(memory);
    CloseClipboard();
    return copied;
}

// The clipboard's text, as Win32's edit pastes it: none while another window has the clipboard open or when
// it holds no text.
std::optional<std::string> clipboard_text(HWND edit) {
    if (!OpenClipboard(edit)) return std::nullopt;
    std::optional<std::string> text;
    HANDLE memory = GetClipboardData(CF_TEXT);
    if (const auto* bytes = static_cast<const char*>(GlobalLock(memory))) {
        text.emplace(bytes, strnlen(bytes, GlobalSize(memory)));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

// False when there was nothing to paste.
bool paste(HWND edit, Edit_State& state) {
    std::optional<std::string> text = clipboard_text(edit);
    if (!text) return false;
    replace_selection(state, first_line(*text));
    return true;
}

// Moves the caret for an arrow, Home or End key. Without Shift a selection collapses to the side moved to.
void move_for_key(Edit_State& state, int key, bool extend) {
    std::size_t position = state.caret;
    switch (key) {
        case VK_LEFT:
            if (state.has_selection() && !extend) {
                position = state.selection_start();
            } else if (position > 0) {
                --position;
            }
            break;
        case VK_RIGHT:
            if (state.has_selection() && !extend) {
                position = state.selection_end();
            } else if (position < state.text.size()) {
                ++position;
            }
            break;
        case VK_HOME:
            position = 0;
            break;
        case VK_END:
            position = state.text.size();
            break;
        default:
            return;
    }
    move_caret(state, position, extend);
}

void key_down(HWND edit, Edit_State& state, int key) {
    bool control = key_held(VK_CONTROL);
    bool shift = key_held(VK_SHIFT);
    switch (key) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_HOME:
        case VK_END:
            move_for_key(state, key, shift);
            break;
        case VK_BACK:
            erase_backward(state);
            break;
        case VK_DELETE:
            erase_forward(state);
            break;
        case 'A':
            if (!control) return;
            set_selection(state, 0, -1);
            break;
        case 'C':
            if (!control) return;
            copy_selection(edit, state);
            return;
        case 'X':
            if (!control) return;
            // Cut text is kept when it could not be copied.
            if (!copy_selection(edit, state)) return;
            replace_selection(state, {});
            break;
        case 'V':
            if (!control || !paste(edit, state)) return;
            break;
        default:
            return;
    }
    changed(edit, state);
}

// Typed characters; control characters (Backspace, Tab, Return, Ctrl+letter) are not text.
void character(HWND edit, Edit_State& state, WPARAM code) {
    if (code < 0x20 || code == 0x7f) return;
    char byte = code > 0xff ? '?' : static_cast<char>(code);
    replace_selection(state, std::string_view(&byte, 1));
    changed(edit, state);
}

LRESULT get_text(const Edit_State& state, WPARAM capacity, LPARAM buffer) {
    auto* out = reinterpret_cast<char*>(buffer);
    if (out == nullptr || capacity == 0) return 0;
    std::size_t count = std::min<std::size_t>(state.text.size(), capacity - 1);
    std::memcpy(out, state.text.data(), count);
    out[count] = '\0';
    return static_cast<LRESULT>(count);
}

// EM_GETLINE: the buffer's first WORD holds its size in characters; the copy is not zero-terminated.
LRESULT get_line(const Edit_State& state, LPARAM buffer) {
    auto* out = reinterpret_cast<char*>(buffer);
    if (out == nullptr) return 0;
    WORD capacity = 0;
    std::memcpy(&capacity, out, sizeof capacity);
    std::size_t count = std::min<std::size_t>(state.text.size(), capacity);
    std::memcpy(out, state.text.data(), count);
    return static_cast<LRESULT>(count);
}

LRESULT get_selection(const Edit_State& state, WPARAM start_out, LPARAM end_out) {
    auto start = static_cast<DWORD>(state.selection_start());
    auto end = static_cast<DWORD>(state.selection_end());
    if (auto* out = reinterpret_cast<DWORD*>(start_out)) *out = start;
    if (auto* out = reinterpret_cast<DWORD*>(end_out)) *out = end;
    return start > 0xffff || end > 0xffff ? -1 : MAKELONG(start, end);
}

void paint(HWND edit, const Edit_State& state) {
    PAINTSTRUCT paint{};
    HDC hdc = BeginPaint(edit, &paint);
    if (hdc != nullptr) paint_edit(edit, hdc, state);
    EndPaint(edit, &paint);
}

void mouse(HWND edit, Edit_State& state, UINT message, WPARAM keys, LPARAM position) {
    int x = GET_X_LPARAM(position);
    switch (message) {
        case WM_LBUTTONDOWN:
            if (GetFocus() != edit) SetFocus(edit);
            move_caret(state, edit_position_at(edit, state, x), (keys & MK_SHIFT) != 0);
            state.mouse_selecting = true;
            break;
        case WM_MOUSEMOVE:
            // Without capture a release outside the field is never seen; a move without the button ends the
            // drag.
            if (!(keys & MK_LBUTTON)) state.mouse_selecting = false;
            if (!state.mouse_selecting) return;
            move_caret(state, edit_position_at(edit, state, x), true);
            break;
        case WM_LBUTTONUP:
            state.mouse_selecting = false;
            return;
        default:
            return;
    }
    changed(edit, state);
}

}  // namespace

LRESULT CALLBACK edit_window_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE:
            create_state(edit, lparam);
            return DefWindowProcA(edit, message, wparam, lparam);
        case WM_CREATE:
            create_state(edit, lparam);
            return 0;
        case WM_NCDESTROY:
            delete state_of(edit);
            SetWindowLongPtrA(edit, GWLP_USERDATA, 0);
            return DefWindowProcA(edit, message, wparam, lparam);
        default:
            break;
    }
    Edit_State* state = state_of(edit);
    if (state == nullptr) return DefWindowProcA(edit, message, wparam, lparam);

    switch (message) {
        case WM_PAINT:
            paint(edit, *state);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            changed(edit, *state);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            state->mouse_selecting = false;
            InvalidateRect(edit, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            mouse(edit, *state, message, wparam, lparam);
            return 0;
        case WM_KEYDOWN:
            key_down(edit, *state, static_cast<int>(wparam));
            return 0;
        case WM_CHAR:
            character(edit, *state, wparam);
            return 0;
        case WM_SETTEXT:
            set_text(*state, reinterpret_cast<const char*>(lparam));
            changed(edit, *state);
            return TRUE;
        case WM_GETTEXT:
            return get_text(*state, wparam, lparam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(state->text.size());
        case EM_GETLINE:
            return get_line(*state, lparam);
        case EM_GETSEL:
            return get_selection(*state, wparam, lparam);
        case EM_SETSEL:
            set_selection(*state, static_cast<int>(wparam), static_cast<int>(lparam));
            changed(edit, *state);
            return 0;
        case WM_GETDLGCODE:
            // A single-line edit leaves Tab, Enter and Escape to the dialog interface.
            return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
        case EM_LIMITTEXT:
            // Zero restores the largest limit; the text already there stays as it is.
            state->limit = wparam == 0 ? 0x7ffffffe : static_cast<std::size_t>(wparam);
            return 0;
        default:
            return DefWindowProcA(edit, message, wparam, lparam);
    }
}

}  // namespace platform::user
