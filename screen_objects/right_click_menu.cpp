#include "screen_objects/right_click_menu.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "screen_objects/standard_cursor.h"

namespace {

// Layout arithmetic in a wider type, brought back into a coordinate without overflowing.
LONG to_coordinate(double value) {
    return static_cast<LONG>(
        std::clamp(value, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

// An entry's length as the width counts it: its bytes up to the first zero byte.
std::size_t counted_length(const std::string& text) {
    return std::strlen(text.c_str());
}

}  // namespace

void On_Screen_Object_Right_Click_Menu::clear_items() {
    items.clear();
}

void On_Screen_Object_Right_Click_Menu::add_item(std::string_view text) {
    items.emplace_back(text);
}

void On_Screen_Object_Right_Click_Menu::open_at(std::int32_t x, std::int32_t y) {
    rect.top = y;
    active = 1;
    colour = Menu_Colour;
    rect.bottom = to_coordinate(static_cast<double>(y) + static_cast<double>(items.size()) * item_height);
    rect.left = x;
    std::size_t longest = 0;
    for (const std::string& item : items)
        longest = std::max(longest, counted_length(item));
    // Truncated toward zero, as the conversion of a double does.
    rect.right = to_coordinate(static_cast<double>(longest) * Menu_Pixels_Per_Character + x);
    keep_inside_client_area();
    // Nothing is highlighted until the pointer moves over an entry: a highlight left from the last time would
    // be chosen again by a click that did not move.
    hovered = -1;
}

// Shifted up or left as far as needed for every entry to be shown (and down or right when it starts outside),
// the top-left corner first when the menu is larger than the client area.
void On_Screen_Object_Right_Click_Menu::keep_inside_client_area() {
    RECT client{};
    if (window == nullptr || !GetClientRect(window, &client)) return;
    auto shift = [](LONG start, LONG end, LONG low, LONG high) {
        const std::int64_t wanted =
            std::min<std::int64_t>(start, std::int64_t{high} - (std::int64_t{end} - start));
        return std::max<std::int64_t>(wanted, low) - start;
    };
    const std::int64_t dx = shift(rect.left, rect.right, client.left, client.right);
    const std::int64_t dy = shift(rect.top, rect.bottom, client.top, client.bottom);
    rect.left = to_coordinate(static_cast<double>(rect.left + dx));
    rect.right = to_coordinate(static_cast<double>(rect.right + dx));
    rect.top = to_coordinate(static_cast<double>(rect.top + dy));
    rect.bottom = to_coordinate(static_cast<double>(rect.bottom + dy));
}

void On_Screen_Object_Right_Click_Menu::update_cursor(std::int32_t x, std::int32_t y) {
    // Outside the menu the cursor chosen by the object under the pointer stays.
    if (hit_test(x, y)) set_standard_cursor(IDC_HAND);
}

void On_Screen_Object_Right_Click_Menu::draw(HDC* dc) {
    HBRUSH background = CreateSolidBrush(colour);
    HBRUSH highlight = CreateSolidBrush(Menu_Highlight_Colour);
    SetBkMode(*dc, TRANSPARENT);
    FillRect(*dc, &rect, background);
    RECT box{rect.left, rect.top, rect.right, rect.top + item_height};
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (static_cast<std::int64_t>(i) == hovered) FillRect(*dc, &box, highlight);
        const std::string& text = items[i];
        int count = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
        DrawTextA(*dc, text.data(), count, &box, 0);
        box.top += item_height;
        box.bottom += item_height;
    }
    DeleteObject(background);
    DeleteObject(highlight);
}

bool On_Screen_Object_Right_Click_Menu::hit_test(std::int32_t x, std::int32_t y) {
    return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}

std::int32_t On_Screen_Object_Right_Click_Menu::handle_event(std::int32_t event, std::int32_t x,
                                                             std::int32_t y) {
    switch (event) {
        case Event_Mouse_Move: {
            update_cursor(x, y);
            std::int32_t before = hovered;
            hovered =
                hit_test(x, y) ? static_cast<std::int32_t>((std::int64_t{y} - rect.top) / item_height) : -1;
            // Only a change of row needs a repaint, and the rest of the window stays as it is.
            if (hovered != before) InvalidateRect(window, &rect, FALSE);
            return Action_None;
        }
        case Event_Left_Button_Up:
            chosen = hovered;
            return Action_Remove;
        default:
            return Action_None;
    }
}

std::int32_t On_Screen_Object_Right_Click_Menu::handle_key(UINT virtual_key) {
    if (virtual_key != VK_ESCAPE) return Action_None;
    chosen = -1;
    return Action_Remove;
}
