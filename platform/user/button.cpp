// Messages of the push button. A press captures the pointer, so the button sees the release wherever it
// happens: a click is a press and a release that both happen on the button; the button looks pressed while
// the held pointer is over it.
#include "platform/user/button.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/user/button_paint.h"

namespace platform::user {
namespace {

struct Button_State {
    std::string caption;
    bool pressed = false;   // the left button or Space went down on this button and has not been released
    bool by_space = false;  // the press is Space's: the pointer does not change it
};

Button_State* state_of(HWND button) {
    return reinterpret_cast<Button_State*>(GetWindowLongPtrA(button, GWLP_USERDATA));
}

void create_state(HWND button, LPARAM create_struct) {
    if (state_of(button) != nullptr) return;
    auto* state = new Button_State;
    SetWindowLongPtrA(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(create_struct);
    if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
        state->caption = create->lpszName;
    }
}

void set_pressed(HWND button, Button_State& state, bool pressed) {
    if (state.pressed == pressed) return;
    state.pressed = pressed;
    InvalidateRect(button, nullptr, FALSE);
}

bool over_button(HWND button, LPARAM position) {
    RECT client{};
    GetClientRect(button, &client);
    const int x = GET_X_LPARAM(position);
    const int y = GET_Y_LPARAM(position);
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

void press(HWND button, Button_State& state) {
    if (GetFocus() != button) SetFocus(button);
    SetCapture(button);
    set_pressed(button, state, true);
}

// While the press holds the capture, the button looks pressed exactly when the pointer is over it.
void follow_pointer(HWND button, Button_State& state, WPARAM keys, LPARAM position) {
    if (state.by_space) return;
    const bool held = (keys & MK_LBUTTON) != 0 && GetCapture() == button;
    set_pressed(button, state, held && over_button(button, position));
}

void notify_click(HWND button) {
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void release(HWND button, Button_State& state, LPARAM position) {
    const bool clicked = state.pressed && GetCapture() == button && over_button(button, position);
    set_pressed(button, state, false);
    state.by_space = false;
    if (GetCapture() == button) ReleaseCapture();
    // Last: the parent may do anything in its handler, destroying this button included.
    if (clicked) notify_click(button);
}

// Space presses the focused button as a click does and its release clicks it, wherever the pointer is.
void space_down(HWND button, Button_State& state) {
    if (state.pressed) return;  // held down: the keyboard repeats
    state.by_space = true;
    press(button, state);
}

void space_up(HWND button, Button_State& state) {
    if (!state.by_space) return;
    const bool clicked = state.pressed;
    set_pressed(button, state, false);
    state.by_space = false;
    if (GetCapture() == button) ReleaseCapture();
    if (clicked) notify_click(button);
}

// DLGC_DEFPUSHBUTTON for BS_DEFPUSHBUTTON, which Enter presses when it has the focus.
LRESULT dialog_code(HWND button) {
    const auto type = static_cast<DWORD>(GetWindowLongPtrA(button, GWL_STYLE)) & 0x0F;
    if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
}

LRESULT get_text(const Button_State& state, WPARAM capacity, LPARAM buffer) {
    auto* out = reinterpret_cast<char*>(buffer);
    if (out == nullptr || capacity == 0) return 0;
    std::size_t count = std::min<std::size_t>(state.caption.size(), capacity - 1);
    std::memcpy(out, state.caption.data(), count);
    out[count] = '\0';
    return static_cast<LRESULT>(count);
}

void paint(HWND button, const Button_State& state) {
    PAINTSTRUCT paint{};
    HDC hdc = BeginPaint(button, &paint);
    if (hdc != nullptr) paint_button(button, hdc, state.caption, state.pressed);
    EndPaint(button, &paint);
}

}  // namespace

LRESULT CALLBACK button_window_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE:
            create_state(button, lparam);
            return DefWindowProcA(button, message, wparam, lparam);
        case WM_CREATE:
            create_state(button, lparam);
            return 0;
        case WM_NCDESTROY:
            delete state_of(button);
            SetWindowLongPtrA(button, GWLP_USERDATA, 0);
            return DefWindowProcA(button, message, wparam, lparam);
        default:
            break;
    }
    Button_State* state = state_of(button);
    if (state == nullptr) return DefWindowProcA(button, message, wparam, lparam);

    switch (message) {
        case WM_PAINT:
            paint(button, *state);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            press(button, *state);
            return 0;
        case WM_MOUSEMOVE:
            follow_pointer(button, *state, wparam, lparam);
            return 0;
        case WM_LBUTTONUP:
            release(button, *state, lparam);
            return 0;
        case WM_KEYDOWN:
            if (wparam == VK_SPACE) space_down(button, *state);
            return 0;
        case WM_KEYUP:
            if (wparam == VK_SPACE) space_up(button, *state);
            return 0;
        case WM_GETDLGCODE:
            return dialog_code(button);
        case WM_CAPTURECHANGED:
            // Taken away by another window: the press ends without a click.
            if (reinterpret_cast<HWND>(lparam) != button) {
                set_pressed(button, *state, false);
                state->by_space = false;
            }
            return 0;
        case WM_KILLFOCUS:
            set_pressed(button, *state, false);
            state->by_space = false;
            if (GetCapture() == button) ReleaseCapture();
            return 0;
        case WM_SETTEXT:
            state->caption = lparam ? reinterpret_cast<const char*>(lparam) : "";
            InvalidateRect(button, nullptr, FALSE);
            return TRUE;
        case WM_GETTEXT:
            return get_text(*state, wparam, lparam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(state->caption.size());
        default:
            return DefWindowProcA(button, message, wparam, lparam);
    }
}

}  // namespace platform::user
