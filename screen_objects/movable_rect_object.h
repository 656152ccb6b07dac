// A rectangle that follows the pointer in "Move window" mode and is resized by dragging its edges and
// corners.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "screen_objects/rect_object.h"

// A dragged edge stops this many pixels short of the opposite edge.
constexpr std::int32_t Minimum_Rect_Extent = 2;
// Moving and edge drags keep this many pixels of the rectangle's width and height inside the client area
// (all of it when it is smaller), so that it can always be grabbed again.
constexpr std::int32_t Minimum_Rect_Inside = 20;

class On_Screen_Object_Movable_RECT : public On_Screen_Object_RECT {
public:
    // A sizing cursor on the edges, the four-way one while moving, else the arrow.
    void update_cursor(std::int32_t x, std::int32_t y) override;
    std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) override;

    // Sets the cursor for a pointer exactly on an edge line or corner, or for the move; false (and no cursor
    // set) anywhere else.
    bool set_edge_cursor(std::int32_t x, std::int32_t y);
    // On a left-button press: grabs each edge whose line the pointer is on, and makes the object active if
    // any.
    void grab_edges(std::int32_t x, std::int32_t y);
    // Moves or resizes *rect after the pointer, keeping it in reach; true when it did.
    bool follow_pointer(std::int32_t x, std::int32_t y);
    // "Move window": from now on the rectangle keeps the pointer at the offset it has from (x, y).
    void start_move(std::int32_t x, std::int32_t y);
    // Ends every move and edge drag.
    void end_drag();

    std::uint8_t moving = 0;
    std::int32_t grab_y = 0;  // pointer y minus top when the move began
    std::int32_t grab_x = 0;  // pointer x minus left when the move began
    std::uint8_t top_grabbed = 0;
    std::uint8_t bottom_grabbed = 0;
    std::uint8_t right_grabbed = 0;
    std::uint8_t left_grabbed = 0;

private:
    // The size of the client area of `window`; false without one.
    bool client_extent(LONG* width, LONG* height) const;
};
