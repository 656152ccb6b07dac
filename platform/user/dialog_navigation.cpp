// The keyboard interface of dialog boxes for any window with child controls (IsDialogMessageA): Tab and
// Shift+Tab move the focus between the controls with WS_TABSTOP, Enter presses the default button, Escape
// sends IDCANCEL. Each control says through WM_GETDLGCODE which keys it handles itself.
//
// Only the window's own children take part; nested control parents (WS_EX_CONTROLPARENT), group movement
// with the arrow keys and mnemonics are not supported.
#include <algorithm>

#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

bool is_tab_stop(HWND control) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    return (style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE);
}

LRESULT dialog_code(HWND control, const MSG* msg) {
    return SendMessageA(control, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0,
                        reinterpret_cast<LPARAM>(msg));
}

// Tab and Shift+Tab: the focus moves to the next or previous tab stop, whose text, if it has any to select,
// is selected whole. False when there is no tab stop at all.
bool move_to_next_tab_stop(HWND dialog, const MSG* msg) {
    const HWND focus = GetFocus();
    const bool previous = GetKeyState(VK_SHIFT) < 0;
    const HWND next = GetNextDlgTabItem(dialog, focus == dialog ? nullptr : focus, previous ? TRUE : FALSE);
    if (next == nullptr) return false;
    if ((dialog_code(next, msg) & DLGC_HASSETSEL) != 0) SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
    return true;
}

void send_command(HWND dialog, WPARAM wparam, HWND control) {
    SendMessageA(dialog, WM_COMMAND, wparam, reinterpret_cast<LPARAM>(control));
}

// Enter: a focused default push button is pressed; else the button DM_GETDEFID names, if the window names
// one; else Win32 sends IDOK, as a window without a dialog procedure answers DM_GETDEFID with 0.
void press_default_button(HWND dialog) {
    const HWND focus = GetFocus();
    if (focus != nullptr && focus != dialog && is_in_tree(focus, dialog) &&
        (dialog_code(focus, nullptr) & DLGC_DEFPUSHBUTTON) != 0) {
        send_command(dialog, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), focus);
        return;
    }
    const LRESULT default_id = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(default_id) == DC_HASDEFID) {
        const HWND button = GetDlgItem(dialog, LOWORD(default_id));
        const bool enabled = button == nullptr || (GetWindowLongPtrA(button, GWL_STYLE) & WS_DISABLED) == 0;
        if (enabled) send_command(dialog, MAKEWPARAM(LOWORD(default_id), BN_CLICKED), button);
        return;
    }
    send_command(dialog, IDOK, GetDlgItem(dialog, IDOK));
}

// A key the dialog interface takes for itself: true when it was handled (or is to be dropped), false when
// it goes on to the focused window, and `not_handled` when IsDialogMessage has nothing to do with it at all.
bool handle_key(HWND dialog, const MSG* msg, bool* not_handled) {
    const LRESULT code = dialog_code(msg->hwnd, msg);
    if ((code & DLGC_WANTMESSAGE) != 0) return false;
    switch (msg->wParam) {
        case VK_TAB:
            if ((code & DLGC_WANTTAB) != 0) return false;
            if (!move_to_next_tab_stop(dialog, msg)) *not_handled = true;
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            // In Win32 these move within a group of radio buttons; a control that does not want them never
            // sees them.
            return (code & DLGC_WANTARROWS) == 0;
        case VK_ESCAPE:
            send_command(dialog, IDCANCEL, GetDlgItem(dialog, IDCANCEL));
            return true;
        case VK_RETURN:
            press_default_button(dialog);
            return true;
        default:
            return false;
    }
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

// Translates and dispatches every message for the window or its descendants (and then returns TRUE), except
// the navigation keys it handles itself.
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
    if (msg == nullptr || !IsWindow(dialog) || msg->hwnd == nullptr || !is_in_tree(msg->hwnd, dialog))
        return FALSE;
    if (msg->message == WM_KEYDOWN) {
        bool not_handled = false;
        if (handle_key(dialog, msg, &not_handled)) return not_handled ? FALSE : TRUE;
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

// Searches the window's children in creation order, going round at the end, for a visible, enabled child with
// WS_TABSTOP after (or before) `control`. Without a control (or with the window itself) the search starts at
// the last child going forward and at the first going backward, as Win32 documents. When no other child
// qualifies the result is `control`.
HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog)) return nullptr;
    if (control == dialog) control = nullptr;
    std::vector<HWND> children = children_of(dialog);
    if (previous) std::reverse(children.begin(), children.end());
    const auto start = std::find(children.begin(), children.end(), control);
    const std::size_t first =
        start == children.end() ? 0 : static_cast<std::size_t>(start - children.begin()) + 1;
    for (std::size_t step = 0; step < children.size(); ++step) {
        const HWND candidate = children[(first + step) % children.size()];
        if (candidate != control && is_tab_stop(candidate)) return candidate;
    }
    return control;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    for (HWND child : children_of(dialog)) {
        if (GetDlgCtrlID(child) == id) return child;
    }
    return nullptr;
}
