// Fills its window's whole client area and takes every pointer event that no object in front of it takes.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "screen_objects/on_screen_object.h"
#include "screen_objects/right_click_menu.h"

class On_Screen_Object_Background final : public On_Screen_Object {
public:
    void update_cursor(std::int32_t x, std::int32_t y) override;
    void draw(HDC* dc) override;
    bool hit_test(std::int32_t x, std::int32_t y) override;
    std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) override;

    On_Screen_Object_Right_Click_Menu menu;  // never opened
    COLORREF colour = 0x00646464;
};
