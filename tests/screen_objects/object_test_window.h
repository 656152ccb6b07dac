// A headless top-level window whose procedure works like the main window's: double-buffered painting of a
// registry's objects and mouse messages turned into registry events. It logs its paints, so tests can compare
// message sequences, and counts paints that left GDI objects behind. Creating one starts from a fresh window
// layer, so each test's window is the only one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "screen_objects/object_registry.h"
#include "screen_objects/on_screen_object.h"

class Object_Test_Window {
public:
    explicit Object_Test_Window(Object_Registry& registry, std::vector<std::string>* log = nullptr);
    ~Object_Test_Window();
    Object_Test_Window(const Object_Test_Window&) = delete;
    Object_Test_Window& operator=(const Object_Test_Window&) = delete;

    HWND handle = nullptr;
    Object_Registry& registry;
    std::vector<std::string>* log;  // receives "paint" per WM_PAINT and "erase" per WM_ERASEBKGND
    int paints = 0;
    int leaking_paints = 0;  // paints after which more GDI objects were alive than before
    RECT last_paint_rect{};  // rcPaint of the last paint
};

// An object that logs what reaches it ("A 5" for Event_Left_Button_Up, "A 6 (x,y)" for Event_Child_Removed,
// "draw A") and answers with the actions queued in `answers`, then Action_None.
class Recording_Object final : public On_Screen_Object {
public:
    Recording_Object(std::string object_name, std::vector<std::string>& event_log,
                     RECT covered = {0, 0, -1, -1});

    void update_cursor(std::int32_t x, std::int32_t y) override;
    void draw(HDC* dc) override;
    bool hit_test(std::int32_t x, std::int32_t y) override;
    std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) override;

    std::string name;
    std::vector<std::string>& log;
    RECT area;  // hit inclusively; nothing when empty
    std::vector<std::int32_t> answers;
};
