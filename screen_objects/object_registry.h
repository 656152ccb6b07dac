// The object lists of every window that has screen objects, and the entry points the window procedures use.
#pragma once

#include <cstdint>
#include <deque>

#include "platform/win32.h"
#include "screen_objects/on_screen_object.h"
#include "screen_objects/window_object_list.h"

class Object_Registry {
public:
    // Adds the object at the back of main_window's list, creating that list if needed, then repaints
    // main_window. False only if the list cannot be found.
    bool register_object(On_Screen_Object* object);
    // Appends a new, empty list for the window. Always true.
    bool add_window_record(HWND window);
    // Draws the window's objects back to front; nothing for a window without a list.
    void paint_window_objects(HWND window, HDC* dc);
    // Hands a mouse event to the window's list; ignored for a window without one.
    void dispatch_window_event(HWND window, std::int32_t event, std::int32_t x, std::int32_t y,
                               std::int32_t wheel_notches = 0);
    // The first list of the window, or null.
    Window_Object_List* find_record(HWND window);

    // The window that register_object adds to; start-up sets it once the main window exists.
    HWND main_window = nullptr;
    // A deque so that a list stays where it is while others are appended (a paint or dispatch may be running
    // on one of them).
    std::deque<Window_Object_List> records;
};

extern Object_Registry object_registry;
