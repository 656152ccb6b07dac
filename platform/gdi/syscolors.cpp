// System colours (Windows 10 defaults): GetSysColor, GetSysColorBrush, and (HBRUSH)(COLOR_xxx + 1) brushes.
#include <new>

#include "platform/gdi/objects.h"

namespace platform::gdi::detail {
namespace {

constexpr COLORREF colours[sys_colour_count] = {
    RGB(200, 200, 200),  //  0 COLOR_SCROLLBAR
    RGB(0, 0, 0),        //  1 COLOR_BACKGROUND
    RGB(153, 180, 209),  //  2 COLOR_ACTIVECAPTION
    RGB(191, 205, 219),  //  3 COLOR_INACTIVECAPTION
    RGB(240, 240, 240),  //  4 COLOR_MENU
    RGB(255, 255, 255),  //  5 COLOR_WINDOW
    RGB(100, 100, 100),  //  6 COLOR_WINDOWFRAME
    RGB(0, 0, 0),        //  7 COLOR_MENUTEXT
    RGB(0, 0, 0),        //  8 COLOR_WINDOWTEXT
    RGB(0, 0, 0),        //  9 COLOR_CAPTIONTEXT
    RGB(180, 180, 180),  // 10 COLOR_ACTIVEBORDER
    RGB(244, 247, 252),  // 11 COLOR_INACTIVEBORDER
    RGB(171, 171, 171),  // 12 COLOR_APPWORKSPACE
    RGB(0, 120, 215),    // 13 COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // 14 COLOR_HIGHLIGHTTEXT
    RGB(240, 240, 240),  // 15 COLOR_BTNFACE
    RGB(160, 160, 160),  // 16 COLOR_BTNSHADOW
    RGB(109, 109, 109),  // 17 COLOR_GRAYTEXT
    RGB(0, 0, 0),        // 18 COLOR_BTNTEXT
    RGB(0, 0, 0),        // 19 COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // 20 COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105),  // 21 COLOR_3DDKSHADOW
    RGB(227, 227, 227),  // 22 COLOR_3DLIGHT
    RGB(0, 0, 0),        // 23 COLOR_INFOTEXT
    RGB(255, 255, 225),  // 24 COLOR_INFOBK
    RGB(0, 0, 0),        // 25 (unused)
    RGB(0, 102, 204),    // 26 COLOR_HOTLIGHT
    RGB(185, 209, 234),  // 27 COLOR_GRADIENTACTIVECAPTION
    RGB(215, 228, 242),  // 28 COLOR_GRADIENTINACTIVECAPTION
    RGB(51, 153, 255),   // 29 COLOR_MENUHILIGHT
    RGB(240, 240, 240),  // 30 COLOR_MENUBAR
};

Handle brushes[sys_colour_count] = {};

}  // namespace

COLORREF sys_colour(int index) {
    return index >= 0 && index < sys_colour_count ? colours[index] : 0;
}

Handle sys_colour_brush(int index) {
    if (index < 0 || index >= sys_colour_count) return 0;
    if (brushes[index] && find_any(brushes[index])) return brushes[index];
    try {
        auto brush = std::make_unique<Brush>();
        brush->colour = colours[index];
        brush->stock = true;
        brushes[index] = insert(std::move(brush));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return brushes[index];
}

Brush* paint_brush(HBRUSH brush) {
    Handle value = to_handle(brush);
    if (value >= 1 && value <= static_cast<Handle>(sys_colour_count))
        return get<Brush>(sys_colour_brush(int(value) - 1));
    return get<Brush>(value);
}

}  // namespace platform::gdi::detail

using namespace platform::gdi::detail;

DWORD WINAPI GetSysColor(int index) {
    return sys_colour(index);
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    Lock lock(gdi_mutex());
    return from_handle<HBRUSH>(sys_colour_brush(index));
}
