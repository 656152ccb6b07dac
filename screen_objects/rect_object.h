// A filled rectangle with its own right-click menu.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32.h"
#include "screen_objects/on_screen_object.h"
#include "screen_objects/right_click_menu.h"

class On_Screen_Object_RECT : public On_Screen_Object {
public:
    // Arrow cursor.
    void update_cursor(std::int32_t x, std::int32_t y) override;
    // Fills *rect, which leaves its right column and bottom row unpainted.
    void draw(HDC* dc) override;
    // *rect with both ends included.
    bool hit_test(std::int32_t x, std::int32_t y) override;
    std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) override;

    // Makes `menu` this object's child, owned by this object, rebuilds its entries and opens it at (x, y).
    void open_menu(std::initializer_list<std::string_view> entries, std::int32_t x, std::int32_t y);
    void open_menu(const std::vector<std::string>& entries, std::int32_t x, std::int32_t y);

    On_Screen_Object_Right_Click_Menu menu;
    COLORREF colour = 0x00646464;
    // The area occupied; not owned, and set by whoever places the object. Moving and resizing write through
    // it.
    RECT* rect = nullptr;
};
