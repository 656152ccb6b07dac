// A pop-up menu drawn by the program itself. Its owner fills and opens it on a right-button release and
// answers Action_Add_Child; the next left-button release anywhere records the entry under the pointer in
// `chosen` and removes the menu, and the owner then acts on `chosen` when told Event_Child_Removed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32.h"
#include "screen_objects/on_screen_object.h"

constexpr COLORREF Menu_Colour = 0x00DE0000;
constexpr COLORREF Menu_Highlight_Colour = 0x000121FF;
constexpr double Menu_Pixels_Per_Character = 8.5;

class On_Screen_Object_Right_Click_Menu : public On_Screen_Object {
public:
    void clear_items();
    void add_item(std::string_view text);
    // Lays the menu out with its top-left corner at (x, y), shifted up or left where it would cross the
    // bottom or right edge of `window`'s client area, and makes it active with no entry highlighted.
    void open_at(std::int32_t x, std::int32_t y);

    void update_cursor(std::int32_t x, std::int32_t y) override;
    void draw(HDC* dc) override;
    bool hit_test(std::int32_t x, std::int32_t y) override;
    std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) override;
    // While open the menu takes every key: Escape closes it without a choice, the others do nothing.
    std::int32_t handle_key(UINT virtual_key) override;

    std::int32_t hovered = -1;  // entry under the pointer; -1 none (may name no entry on the bottom line)
    const std::int32_t item_height = 17;
    std::int32_t chosen = -1;  // hovered at the last left-button release
    std::vector<std::string> items;
    COLORREF colour = Menu_Colour;
    RECT rect{};  // client coordinates of the open menu

private:
    void keep_inside_client_area();
};
