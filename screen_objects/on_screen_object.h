// The base of everything the main window shows and that reacts to the mouse, and the codes through which
// objects learn of mouse events and answer with the action they want carried out.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Passed to handle_event. Codes 1 to 5 come from the window's mouse messages.
enum Event_Code : std::int32_t {
    Event_Mouse_Move = 1,
    Event_Right_Button_Down = 2,
    Event_Right_Button_Up = 3,
    Event_Left_Button_Down = 4,
    Event_Left_Button_Up = 5,
    // Sent by the framework to the owner of an object that Action_Remove took out of its list.
    Event_Child_Removed = 6,
    // The mouse wheel, from the window's WM_MOUSEWHEEL; delivered through handle_wheel, which also gets the
    // notches.
    Event_Mouse_Wheel = 7,
};

// Returned by handle_key for a key the object leaves to the objects behind it.
constexpr std::int32_t Key_Not_Taken = 0;

// Returned by handle_event, queued, then carried out by the object's window list. Any other value is ignored.
enum Action_Code : std::int32_t {
    Action_None = 1,
    Action_Redraw = 2,
    Action_Raise = 3,
    Action_Add_Child = 4,
    Action_Remove = 5,
};

class On_Screen_Object {
public:
    // Sets the mouse cursor for a pointer at (x, y); objects call it from their own handle_event.
    virtual void update_cursor(std::int32_t x, std::int32_t y) = 0;
    virtual void draw(HDC* dc) = 0;
    virtual bool hit_test(std::int32_t x, std::int32_t y) = 0;
    // Takes an Event_Code and answers with an Action_Code (or any other value, which means nothing).
    virtual std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) = 0;
    // Event_Mouse_Wheel with the pointer at (x, y): `notches` whole notches, positive away from the user.
    // Answers with an Action_Code like handle_event; objects that do not zoom or scroll ignore it.
    virtual std::int32_t handle_wheel(std::int32_t /*x*/, std::int32_t /*y*/, std::int32_t /*notches*/) {
        return Action_None;
    }

    // The pointer is at (x, y) of the object's window: told after every pointer move and wheel turn, and
    // again after a posted result. `front` says whether this object is the first one hit there,
    // `first_in_list` whether it is at the front of its window's list (so that nothing is drawn over it).
    virtual void point_at(std::int32_t /*x*/, std::int32_t /*y*/, bool /*front*/, bool /*first_in_list*/) {}
    // A key pressed in the object's window (WM_KEYDOWN, a virtual-key code), offered to the objects front to
    // back: an action code takes it, Key_Not_Taken passes it on.
    virtual std::int32_t handle_key(UINT /*virtual_key*/) { return Key_Not_Taken; }
    // A WM_TIMER of the object's window.
    virtual void handle_timer(UINT_PTR /*id*/) {}
    // A message posted to the object's window in the application's range, WM_APP to 0xBFFF.
    virtual void handle_posted(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/) {}

    // A rectangle of which draw() sets every pixel, whatever was there before, so that objects behind this
    // one need not paint it. Empty (nothing known) unless an object says otherwise.
    virtual RECT covered_rect() const { return RECT{}; }

    On_Screen_Object(const On_Screen_Object&) = delete;
    On_Screen_Object& operator=(const On_Screen_Object&) = delete;

    // Put into the window's list by Action_Add_Child (a pop-up menu). Not owned.
    On_Screen_Object* child = nullptr;
    // Receives Event_Child_Removed when Action_Remove takes this object out of its list. Not owned.
    On_Screen_Object* owner = nullptr;
    // 1: receives every event of its window, hit or not (an open menu, a rectangle being dragged).
    std::uint8_t active = 0;
    // The window whose list holds the object; written when the object is added to a list.
    HWND window = nullptr;

protected:
    On_Screen_Object() = default;
    // Not virtual: objects are destroyed through their own class, never through a base pointer, and the
    // protected destructor makes the compiler refuse the latter.
    ~On_Screen_Object() = default;
};
