// Drawing of the push button in the system's 3D colours.
#include "platform/user/button_paint.h"

namespace platform::user {
namespace {

void fill(HDC hdc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

// A one-pixel frame: the top and left lines in one colour, the bottom and right lines in another.
void frame(HDC hdc, const RECT& r, COLORREF top_left, COLORREF bottom_right) {
    fill(hdc, {r.left, r.top, r.right - 1, r.top + 1}, top_left);
    fill(hdc, {r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
    fill(hdc, {r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
    fill(hdc, {r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

RECT inset(const RECT& r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

void draw_caption(HDC hdc, const RECT& face, const std::string& caption, bool pressed) {
    if (caption.empty()) return;
    int length = static_cast<int>(caption.size());
    SIZE size{};
    GetTextExtentPoint32A(hdc, caption.data(), length, &size);
    int shift = pressed ? 1 : 0;
    RECT box{face.left + (face.right - face.left - size.cx) / 2 + shift,
             face.top + (face.bottom - face.top - size.cy) / 2 + shift, face.right, face.bottom};
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(hdc, caption.data(), length, &box, 0);
}

}  // namespace

void paint_button(HWND button, HDC hdc, const std::string& caption, bool pressed) {
    RECT rect{};
    GetClientRect(button, &rect);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(button, GWL_STYLE));
    if (style & WS_BORDER) {
        frame(hdc, rect, RGB(0, 0, 0), RGB(0, 0, 0));
        rect = inset(rect, 1);
    }
    // The default push button has a black frame of its own around the 3D frame, as Win32 draws it.
    if ((style & 0x0F) == BS_DEFPUSHBUTTON) {
        frame(hdc, rect, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
        rect = inset(rect, 1);
    }
    fill(hdc, rect, GetSysColor(COLOR_BTNFACE));
    // The caption goes first so that the frame stays whole when a long caption does not fit.
    draw_caption(hdc, inset(rect, 2), caption, pressed);
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    if (pressed) {
        frame(hdc, rect, dark, light);
        frame(hdc, inset(rect, 1), shadow, face);
    } else {
        frame(hdc, rect, light, dark);
        frame(hdc, inset(rect, 1), face, shadow);
    }
}

}  // namespace platform::user
