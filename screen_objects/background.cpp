#include "screen_objects/background.h"

#include "screen_objects/standard_cursor.h"

void On_Screen_Object_Background::update_cursor(std::int32_t, std::int32_t) {
    set_standard_cursor(IDC_ARROW);
}

void On_Screen_Object_Background::draw(HDC* dc) {
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(*dc, &client, brush);
    DeleteObject(brush);
}

bool On_Screen_Object_Background::hit_test(std::int32_t, std::int32_t) {
    return true;
}

std::int32_t On_Screen_Object_Background::handle_event(std::int32_t event, std::int32_t x, std::int32_t y) {
    if (event == Event_Mouse_Move) update_cursor(x, y);
    return Action_None;
}
