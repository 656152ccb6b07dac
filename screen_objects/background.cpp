#include "screen_objects/background.h"

#include "screen_objects/fill_around.h"
#include "screen_objects/object_registry.h"
#include "screen_objects/standard_cursor.h"

namespace {

// The largest rectangle that an object in front of `self` in its window's list paints over completely: the
// list is drawn back to front, so that object is drawn after `self`. Empty when `self` is not in the list.
RECT covered_in_front(const On_Screen_Object* self) {
    const Window_Object_List* list = object_registry.find_record(self->window);
    if (list == nullptr) return RECT{};
    RECT largest{};
    long long largest_area = 0;
    for (const On_Screen_Object* object : list->objects) {
        if (object == self) return largest;
        const RECT covered = object->covered_rect();
        const long long width = static_cast<long long>(covered.right) - covered.left;
        const long long height = static_cast<long long>(covered.bottom) - covered.top;
        if (width > 0 && height > 0 && width * height > largest_area) {
            largest = covered;
            largest_area = width * height;
        }
    }
    return RECT{};
}

}  // namespace

void On_Screen_Object_Background::update_cursor(std::int32_t, std::int32_t) {
    set_standard_cursor(IDC_ARROW);
}

void On_Screen_Object_Background::draw(HDC* dc) {
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(colour);
    fill_around(*dc, client, covered_in_front(this), brush);
    DeleteObject(brush);
}

bool On_Screen_Object_Background::hit_test(std::int32_t, std::int32_t) {
    return true;
}

std::int32_t On_Screen_Object_Background::handle_event(std::int32_t event, std::int32_t x, std::int32_t y) {
    if (event == Event_Mouse_Move) update_cursor(x, y);
    return Action_None;
}
