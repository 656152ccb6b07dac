// One window's objects, front first, and the queue of actions they asked for.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "platform/win32.h"
#include "screen_objects/on_screen_object.h"

struct Pending_Action {
    std::int32_t action = Action_None;
    On_Screen_Object* object = nullptr;  // the object that returned the action; not owned
};

class Window_Object_List {
public:
    explicit Window_Object_List(HWND list_window = nullptr) : window(list_window) {}
    Window_Object_List(const Window_Object_List&) = delete;
    Window_Object_List& operator=(const Window_Object_List&) = delete;

    // Appends the object at the back and sets its window. True also when it is already in the list (then
    // nothing changes); false for null.
    bool add_object(On_Screen_Object* object);
    // Takes the object out, keeping the others' order. False when it is not in the list.
    bool remove_object(On_Screen_Object* object);

    void push_action(std::int32_t action, On_Screen_Object* object);
    // Drops the front entry of the queue, if any.
    void pop_action();
    // Carries out the queued actions front first, including those queued meanwhile. x and y go with
    // Event_Child_Removed.
    void process_actions(std::int32_t x, std::int32_t y);

    // Delivers a mouse event to the front-most object that is hit, then to every other active object, and
    // carries out their answers. The list changes only after every delivery is done. `wheel_notches` goes
    // with Event_Mouse_Wheel.
    void dispatch_event(std::int32_t event, std::int32_t x, std::int32_t y, std::int32_t wheel_notches = 0);

    // Offers a key to the objects front to back until one takes it, and carries out its answer. True when one
    // took it.
    bool dispatch_key(UINT virtual_key);

    std::deque<Pending_Action> actions;      // front first
    HWND window = nullptr;                   // the window this list belongs to
    std::vector<On_Screen_Object*> objects;  // front (drawn last, hit first) first; not owned
    int wheel_remainder = 0;                 // wheel delta short of a whole notch (fine-grained wheels)
    std::optional<POINT> pointer;            // where the pointer was last told to the objects

private:
    void raise(On_Screen_Object* object);
    void redraw();
};
