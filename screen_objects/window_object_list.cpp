#include "screen_objects/window_object_list.h"

#include <algorithm>

bool Window_Object_List::add_object(On_Screen_Object* object) {
    if (object == nullptr) return false;
    if (std::find(objects.begin(), objects.end(), object) != objects.end()) return true;
    objects.push_back(object);
    object->window = window;
    return true;
}

bool Window_Object_List::remove_object(On_Screen_Object* object) {
    auto found = std::find(objects.begin(), objects.end(), object);
    if (found == objects.end()) return false;
    objects.erase(found);
    return true;
}

void Window_Object_List::push_action(std::int32_t action, On_Screen_Object* object) {
    actions.push_back(Pending_Action{action, object});
}

void Window_Object_List::pop_action() {
    if (!actions.empty()) actions.pop_front();
}

void Window_Object_List::raise(On_Screen_Object* object) {
    auto found = std::find(objects.begin(), objects.end(), object);
    if (found != objects.end()) std::rotate(objects.begin(), found, found + 1);
}

void Window_Object_List::redraw() {
    // Paints at once, before the next action, so every step of the queue becomes visible.
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

void Window_Object_List::process_actions(std::int32_t x, std::int32_t y) {
    while (!actions.empty()) {
        // Taken off before it is carried out: a redraw paints synchronously, and should anything it triggers
        // work this queue off in turn, the entry must not be carried out twice nor a later one dropped.
        Pending_Action entry = actions.front();
        pop_action();
        switch (entry.action) {
            case Action_Redraw:
                redraw();
                break;
            case Action_Raise:
                raise(entry.object);
                redraw();
                break;
            case Action_Add_Child: {
                On_Screen_Object* child = entry.object != nullptr ? entry.object->child : nullptr;
                add_object(child);
                raise(child);
                redraw();
                break;
            }
            case Action_Remove:
                remove_object(entry.object);
                // An object without an owner simply leaves; there is nobody to tell.
                if (entry.object != nullptr && entry.object->owner != nullptr) {
                    On_Screen_Object* owner = entry.object->owner;
                    push_action(owner->handle_event(Event_Child_Removed, x, y), owner);
                }
                redraw();
                break;
            default:
                break;
        }
    }
}

void Window_Object_List::dispatch_event(std::int32_t event, std::int32_t x, std::int32_t y,
                                        std::int32_t wheel_notches) {
    auto deliver = [&](On_Screen_Object* object) {
        const std::int32_t answer = event == Event_Mouse_Wheel ? object->handle_wheel(x, y, wheel_notches)
                                                               : object->handle_event(event, x, y);
        push_action(answer, object);
    };
    // Indexes, not iterators: an object's handle_event may paint the window, which reads this list.
    On_Screen_Object* hit = nullptr;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        On_Screen_Object* object = objects[i];
        if (object->hit_test(x, y)) {
            hit = object;
            deliver(object);
            break;
        }
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        On_Screen_Object* object = objects[i];
        if (object->active == 1 && object != hit) deliver(object);
    }
    process_actions(x, y);
}

bool Window_Object_List::dispatch_key(UINT virtual_key) {
    for (std::size_t i = 0; i < objects.size(); ++i) {
        On_Screen_Object* object = objects[i];
        const std::int32_t answer = object->handle_key(virtual_key);
        if (answer == Key_Not_Taken) continue;
        push_action(answer, object);
        // Actions that act on a pointer position get none: no pointer is involved.
        process_actions(-1, -1);
        return true;
    }
    return false;
}
