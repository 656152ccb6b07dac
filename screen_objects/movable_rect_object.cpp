#include "screen_objects/movable_rect_object.h"

#include <algorithm>

#include "screen_objects/standard_cursor.h"

namespace {

// Index of "Move window" in the movable rectangle's menu.
constexpr std::int32_t Move_Window_Entry = 0;

// The range a coordinate is kept in; without a client area to keep to, everything goes.
struct Span {
    std::int64_t low = INT32_MIN;
    std::int64_t high = INT32_MAX;
    LONG keep(std::int64_t value) const { return static_cast<LONG>(std::max(low, std::min(value, high))); }
};

// Where a left or top edge may go (`span.high`) and a right or bottom edge (`span.low`), along an axis of
// the client area `extent` pixels long: each edge at least Minimum_Rect_Inside pixels from the far side, so
// that much of the rectangle stays inside (all of it when smaller).
Span edge_span(LONG extent) {
    return Span{Minimum_Rect_Inside, extent - Minimum_Rect_Inside};
}

}  // namespace

bool On_Screen_Object_Movable_RECT::client_extent(LONG* width, LONG* height) const {
    RECT client{};
    if (window == nullptr || !GetClientRect(window, &client)) return false;
    *width = client.right - client.left;
    *height = client.bottom - client.top;
    return true;
}

void On_Screen_Object_Movable_RECT::update_cursor(std::int32_t x, std::int32_t y) {
    if (!set_edge_cursor(x, y)) set_standard_cursor(IDC_ARROW);
}

bool On_Screen_Object_Movable_RECT::set_edge_cursor(std::int32_t x, std::int32_t y) {
    if (rect == nullptr) return false;
    const LONG left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;
    LPCSTR cursor = nullptr;
    if (moving == 1) {
        cursor = IDC_SIZEALL;
    } else if ((x == left && y == top) || (x == right && y == bottom)) {
        cursor = IDC_SIZENWSE;
    } else if ((x == right && y == top) || (x == left && y == bottom)) {
        cursor = IDC_SIZENESW;
    } else if ((y == top || y == bottom) && left <= x && x <= right) {
        cursor = IDC_SIZENS;
    } else if ((x == left || x == right) && top <= y && y <= bottom) {
        cursor = IDC_SIZEWE;
    } else {
        return false;
    }
    set_standard_cursor(cursor);
    return true;
}

void On_Screen_Object_Movable_RECT::grab_edges(std::int32_t x, std::int32_t y) {
    if (rect == nullptr) return;
    const bool across = rect->left <= x && x <= rect->right;
    const bool along = rect->top <= y && y <= rect->bottom;
    if (y == rect->top && across) top_grabbed = active = 1;
    if (y == rect->bottom && across) bottom_grabbed = active = 1;
    if (x == rect->left && along) left_grabbed = active = 1;
    if (x == rect->right && along) right_grabbed = active = 1;
}

bool On_Screen_Object_Movable_RECT::follow_pointer(std::int32_t x, std::int32_t y) {
    if (rect == nullptr) return false;
    Span across;
    Span down;
    LONG width = 0;
    LONG height = 0;
    if (client_extent(&width, &height)) {
        across = edge_span(width);
        down = edge_span(height);
    }
    bool changed = false;
    if (moving == 1) {
        // The pointer keeps its grab offset, as far as the rectangle stays in reach.
        const std::int64_t rect_width = std::int64_t{rect->right} - rect->left;
        const std::int64_t rect_height = std::int64_t{rect->bottom} - rect->top;
        const LONG left = Span{across.low - rect_width, across.high}.keep(std::int64_t{x} - grab_x);
        const LONG top = Span{down.low - rect_height, down.high}.keep(std::int64_t{y} - grab_y);
        rect->left = left;
        rect->right = static_cast<LONG>(left + rect_width);
        rect->top = top;
        rect->bottom = static_cast<LONG>(top + rect_height);
        changed = true;
    }
    if (bottom_grabbed == 1 && y - rect->top >= Minimum_Rect_Extent) {
        rect->bottom = Span{down.low, INT32_MAX}.keep(y);
        changed = true;
    }
    if (top_grabbed == 1 && rect->bottom - y >= Minimum_Rect_Extent) {
        rect->top = Span{INT32_MIN, down.high}.keep(y);
        changed = true;
    }
    if (left_grabbed == 1 && rect->right - x >= Minimum_Rect_Extent) {
        rect->left = Span{INT32_MIN, across.high}.keep(x);
        changed = true;
    }
    if (right_grabbed == 1 && x - rect->left >= Minimum_Rect_Extent) {
        rect->right = Span{across.low, INT32_MAX}.keep(x);
        changed = true;
    }
    return changed;
}

void On_Screen_Object_Movable_RECT::start_move(std::int32_t x, std::int32_t y) {
    if (rect == nullptr) return;
    moving = 1;
    grab_x = x - rect->left;
    grab_y = y - rect->top;
    active = 1;
}

void On_Screen_Object_Movable_RECT::end_drag() {
    moving = 0;
    top_grabbed = bottom_grabbed = right_grabbed = left_grabbed = 0;
    active = 0;
}

std::int32_t On_Screen_Object_Movable_RECT::handle_event(std::int32_t event, std::int32_t x, std::int32_t y) {
    switch (event) {
        case Event_Mouse_Move:
            update_cursor(x, y);
            return follow_pointer(x, y) ? Action_Redraw : Action_None;
        case Event_Right_Button_Up:
            open_menu({"Move window"}, x, y);
            return Action_Add_Child;
        case Event_Left_Button_Down:
            grab_edges(x, y);
            return Action_Raise;
        case Event_Left_Button_Up:
            end_drag();
            return Action_Raise;
        case Event_Child_Removed:
            if (menu.chosen == Move_Window_Entry) start_move(x, y);
            return Action_None;
        default:
            return Action_None;
    }
}
