#include "screen_objects/rect_object.h"

#include "screen_objects/standard_cursor.h"

namespace {

// The colour a rectangle takes once its placeholder menu has closed, whatever was chosen.
constexpr COLORREF Menu_Closed_Colour = 0x00373737;

}  // namespace

void On_Screen_Object_RECT::update_cursor(std::int32_t, std::int32_t) {
    set_standard_cursor(IDC_ARROW);
}

void On_Screen_Object_RECT::draw(HDC* dc) {
    if (rect == nullptr) return;
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(*dc, rect, brush);
    DeleteObject(brush);
}

bool On_Screen_Object_RECT::hit_test(std::int32_t x, std::int32_t y) {
    if (rect == nullptr) return false;
    return rect->left <= x && x <= rect->right && rect->top <= y && y <= rect->bottom;
}

void On_Screen_Object_RECT::open_menu(std::initializer_list<std::string_view> entries, std::int32_t x,
                                      std::int32_t y) {
    open_menu(std::vector<std::string>(entries.begin(), entries.end()), x, y);
}

void On_Screen_Object_RECT::open_menu(const std::vector<std::string>& entries, std::int32_t x,
                                      std::int32_t y) {
    child = &menu;
    menu.owner = this;
    // The menu opens in this object's window, which its layout keeps to.
    menu.window = window;
    menu.clear_items();
    for (const std::string& entry : entries)
        menu.add_item(entry);
    menu.open_at(x, y);
}

std::int32_t On_Screen_Object_RECT::handle_event(std::int32_t event, std::int32_t x, std::int32_t y) {
    switch (event) {
        case Event_Mouse_Move:
            update_cursor(x, y);
            return Action_None;
        case Event_Right_Button_Up:
            open_menu(
                {"Load data from file...", "Add Indicator...", "Close", "Close", "Close", "Pwn", "Close"}, x,
                y);
            return Action_Add_Child;
        case Event_Left_Button_Up:
            return Action_Raise;
        case Event_Child_Removed:
            colour = Menu_Closed_Colour;
            return Action_Redraw;
        default:
            return Action_None;
    }
}
