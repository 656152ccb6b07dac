// Device-context attributes: background colour and mode, text colour, current position.
#include "platform/gdi/objects.h"

using namespace platform::gdi::detail;

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF colour) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->bk_colour;
    dc->bk_colour = colour;
    return previous;
}

COLORREF WINAPI GetBkColor(HDC hdc) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    return dc ? dc->bk_colour : CLR_INVALID;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = dc->bk_mode;
    dc->bk_mode = mode;
    return previous;
}

int WINAPI GetBkMode(HDC hdc) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    return dc ? dc->bk_mode : 0;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF colour) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->text_colour;
    dc->text_colour = colour;
    return previous;
}

COLORREF WINAPI GetTextColor(HDC hdc) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    return dc ? dc->text_colour : CLR_INVALID;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    if (!dc) return FALSE;
    if (previous) *previous = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}
