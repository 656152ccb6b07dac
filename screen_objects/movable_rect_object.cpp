#include "screen_objects/movable_rect_object.h"

#include "screen_objects/standard_cursor.h"

namespace {

// Index of "Move window" in the movable rectangle's menu.
constexpr std::int32_t Move_Window_Entry = 0;

}  // namespace

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
    bool changed = false;
    if (moving == 1) {
        const LONG dy = (rect->top + grab_y) - y;
        const LONG dx = (grab_x - x) + rect->left;
        rect->top -= dy;
        rect->bottom -= dy;
        rect->left -= dx;
        rect->right -= dx;
        changed = true;
    }
    if (bottom_grabbed == 1 && y - rect->top >= Minimum_Rect_Extent) {
        rect->bottom = y;
        changed = true;
    }
    if (top_grabbed == 1 && rect->bottom - y >= Minimum_Rect_Extent) {
        rect->top = y;
        changed = true;
    }
    if (left_grabbed == 1 && rect->right - x >= Minimum_Rect_Extent) {
        rect->left = x;
        changed = true;
    }
    if (right_grabbed == 1 && x - rect->left >= Minimum_Rect_Extent) {
        rect->right = x;
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
