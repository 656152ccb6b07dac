// What the end-to-end demo program draws and where, shared by the program and the test that checks its
// screen. Coordinates are client coordinates of the demo's window.
#pragma once

namespace demo {

struct Colour {
    int red, green, blue;
};

struct Area {
    int left, top, right, bottom;  // right and bottom exclusive
    Colour colour;
};

inline constexpr const char* title = "Zeta SDL Demo";
inline constexpr int width = 420;
inline constexpr int height = 260;
inline constexpr const char* message_caption = "Demo Message";
inline constexpr const char* message_text = "A right click was seen.";

inline constexpr Colour background{40, 60, 80};
inline constexpr Area areas[] = {
    {20, 20, 120, 80, {255, 0, 0}},
    {140, 20, 240, 80, {0, 200, 0}},
    {260, 20, 360, 80, {10, 20, 250}},
    {20, 200, 400, 210, {250, 250, 0}},
};

struct Box {
    int left, top, right, bottom;
};
inline constexpr Box edit{20, 120, 220, 150};
inline constexpr Box button{260, 115, 360, 155};
inline constexpr int button_id = 4242;

// The window's class icon: icon_size x icon_size pixels of one colour, 0xAARRGGBB.
inline constexpr int icon_size = 16;
inline constexpr unsigned icon_colour = 0xFF2080C0;

// Ctrl+C in the main window puts this on the clipboard (Latin-1: one half).
inline constexpr const char* copied_text = "\xBD + 14.134725i";

// A click on the button starts a thread that, a moment later, recolours this area and asks for a repaint with
// InvalidateRect: the screen must show it without any further input.
inline constexpr int recoloured_area = 2;
inline constexpr Colour recoloured{250, 120, 0};

}  // namespace demo
