// Random user input for the viewer as xdotool command chains: pointer moves, clicks and drags over and around
// the plot and exactly on its frame's edges and corners, right-click menu choices, and values typed into the
// Options window and applied.
//
// The frame moves and resizes under this input. The generator follows it with the program's own rules for
// edge drags and "Move window" and aims at where the frame should be, keeping it on the screen and small
// enough for quick calculations. A program that strays from those rules only makes the input land elsewhere.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace e2e {

struct Soak_Screen {
    int main_x = 0, main_y = 0;  // screen position of the main window's client area
    int main_width = 0, main_height = 0;
    int options_x = 0, options_y = 0;  // the Options window's client area, beside the main window
    std::string options_window;        // its X window id
};

struct Soak_Chain {
    std::vector<std::string> arguments;  // one xdotool run
    int events = 0;                      // pointer moves, button and key presses in it
    bool shows_options = false;          // wait until the Options window is mapped before the next chain
    bool close_options = false;          // ask the Options window to close after this chain
};

// The plot frame in client coordinates of the main window, right and bottom edges included.
struct Soak_Frame {
    int left = 100, top = 60, right = 180, bottom = 580;
};

class Soak_Input {
public:
    Soak_Input(unsigned seed, const Soak_Screen& screen);

    // About `actions` random actions. The Options window must be shown when this starts: the caller opens it
    // once. A chain ends early after typing (xdotool's "key" takes the rest of its command line) and after
    // the Options window was shown or is to be closed.
    Soak_Chain next_chain(int actions);

    // Where the program should have put the frame by now.
    const Soak_Frame& frame() const { return frame_; }

private:
    struct Point {
        int x = 0, y = 0;
    };

    int uniform(int low, int high);  // both inclusive; `low` when the range is empty
    bool chance(double probability);
    Point near_frame(int margin);
    Point on_frame_edge();
    Point anywhere();

    // One user action each, appended to the chain.
    void wander();
    void click();
    void pan();
    void drag_edge();
    void use_menu();
    void move_frame();
    void edit_option();

    // Pointer input in client coordinates of the main window, followed through the frame model.
    void move(Point p);
    void press();
    void release();
    void press_and_release(const char* button);
    void emit_click(const char* button);
    // The program's reaction to a left press and release: the edges under the pointer are grabbed, and
    // every drag ends.
    void grab_edges();
    void end_drag();

    std::mt19937 random_;
    Soak_Screen screen_;
    Soak_Chain chain_;
    bool chain_ended_ = false;
    bool options_shown_ = true;
    bool apply_pending_ = false;

    // The frame as the program should have it, and its drag state.
    Soak_Frame frame_;
    Point pointer_;
    bool moving_ = false;
    Point grab_;
    bool top_grabbed_ = false, bottom_grabbed_ = false, left_grabbed_ = false, right_grabbed_ = false;
    // Where the frame is kept, and its largest size.
    Soak_Frame bounds_;
    int max_width_ = 300;
    int max_height_ = 560;
};

}  // namespace e2e
