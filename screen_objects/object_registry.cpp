#include "screen_objects/object_registry.h"

#include <algorithm>

Object_Registry object_registry;

Window_Object_List* Object_Registry::find_record(HWND window) {
    for (Window_Object_List& record : records) {
        if (record.window == window) return &record;
    }
    return nullptr;
}

bool Object_Registry::add_window_record(HWND window) {
    records.emplace_back(window);
    return true;
}

bool Object_Registry::register_object(On_Screen_Object* object) {
    Window_Object_List* record = find_record(main_window);
    if (record == nullptr) {
        add_window_record(main_window);
        record = find_record(main_window);
        if (record == nullptr) return false;
    }
    record->add_object(object);
    InvalidateRect(main_window, nullptr, TRUE);
    UpdateWindow(main_window);
    return true;
}

void Object_Registry::paint_window_objects(HWND window, HDC* dc) {
    Window_Object_List* record = find_record(window);
    if (record == nullptr) return;
    std::vector<On_Screen_Object*>& objects = record->objects;
    // Back to front, so the front object ends up on top. Indexes stay inside the list even if a draw changed
    // it.
    for (std::size_t i = objects.size(); i > 0; i = std::min(i - 1, objects.size())) {
        objects[i - 1]->draw(dc);
    }
}

void Object_Registry::dispatch_window_event(HWND window, std::int32_t event, std::int32_t x, std::int32_t y,
                                            std::int32_t wheel_notches) {
    Window_Object_List* record = find_record(window);
    if (record != nullptr) record->dispatch_event(event, x, y, wheel_notches);
}
