#include "soak_input.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace e2e {
namespace {

constexpr int menu_row = 17;
constexpr int menu_entries = 10;
constexpr int menu_width = 264;  // 8.5 pixels per character of its longest entry
constexpr int move_window_entry = 0;
constexpr int options_entry = 6;
// The edge of a dragged frame stops this close to the opposite one.
constexpr int minimum_extent = 2;

// Options window, client coordinates: seven edits 60 pixels apart, then "Apply values".
constexpr int edit_x = 250;
constexpr int first_edit_y = 45;
constexpr int edit_spacing = 60;
constexpr int precision_row = 6;
constexpr int apply_x = 250;
constexpr int apply_y = 480;

// Finite only: "nan" or "inf" is refused with a modal message box (tested in-process), which would hold the
// viewer while the input goes on.
const char* const junk_numbers[] = {"", "abc", "-", ".", "1e3", "2.5xyz", "-0", "0x1p3", "0", "1e-300"};
// Never a large precision: every calculation should be able to finish.
const char* const junk_precisions[] = {"", "abc", "-", "0", "-7", "12.9", "3e5"};

std::string keysym(char c) {
    if (c == '.') return "period";
    if (c == '-') return "minus";
    return std::string(1, c);
}

}  // namespace

Soak_Input::Soak_Input(unsigned seed, const Soak_Screen& screen) : random_(seed), screen_(screen) {
    // Room for the axis labels left of and above the frame, and for a menu opened inside it.
    bounds_ = {80, 30, screen.main_width - menu_width - 26,
               screen.main_height - menu_entries * menu_row - 21};
}

int Soak_Input::uniform(int low, int high) {
    if (high <= low) return low;
    return std::uniform_int_distribution<int>(low, high)(random_);
}

bool Soak_Input::chance(double probability) {
    return std::bernoulli_distribution(probability)(random_);
}

Soak_Input::Point Soak_Input::near_frame(int margin) {
    return {uniform(frame_.left - margin, frame_.right + margin),
            uniform(frame_.top - margin, frame_.bottom + margin)};
}

Soak_Input::Point Soak_Input::on_frame_edge() {
    const Soak_Frame& f = frame_;
    switch (uniform(0, 7)) {
        case 0:
            return {uniform(f.left, f.right), f.top};
        case 1:
            return {uniform(f.left, f.right), f.bottom};
        case 2:
            return {f.left, uniform(f.top, f.bottom)};
        case 3:
            return {f.right, uniform(f.top, f.bottom)};
        case 4:
            return {f.left, f.top};
        case 5:
            return {f.right, f.top};
        case 6:
            return {f.left, f.bottom};
        default:
            return {f.right, f.bottom};
    }
}

Soak_Input::Point Soak_Input::anywhere() {
    return {uniform(0, screen_.main_width - 1), uniform(0, screen_.main_height - 1)};
}

Soak_Chain Soak_Input::next_chain(int actions) {
    chain_ = {};
    chain_ended_ = false;
    if (apply_pending_) {
        apply_pending_ = false;
        chain_.arguments.insert(chain_.arguments.end(),
                                {"mousemove", std::to_string(screen_.options_x + apply_x),
                                 std::to_string(screen_.options_y + apply_y)});
        ++chain_.events;
        emit_click("1");
    }
    for (int i = 0; i < actions && !chain_ended_; ++i) {
        const int choice = uniform(0, 99);
        if (choice < 25) {
            wander();
        } else if (choice < 40) {
            click();
        } else if (choice < 55) {
            pan();
        } else if (choice < 68) {
            drag_edge();
        } else if (choice < 85) {
            use_menu();
        } else {
            edit_option();
        }
    }
    return std::move(chain_);
}

void Soak_Input::wander() {
    for (int n = uniform(1, 6); n > 0; --n) {
        const int where = uniform(0, 19);
        if (where < 10) {
            move(near_frame(60));
        } else if (where < 15) {
            move(on_frame_edge());
        } else if (where < 19) {
            move(anywhere());
        } else {
            // Off the main window, in the gap before the Options window: the viewer hears nothing of it.
            const int gap_x = (screen_.main_x + screen_.main_width + screen_.options_x) / 2;
            chain_.arguments.insert(chain_.arguments.end(),
                                    {"mousemove", std::to_string(gap_x),
                                     std::to_string(screen_.main_y + uniform(0, screen_.main_height - 1))});
            ++chain_.events;
        }
    }
}

void Soak_Input::click() {
    const int kind = uniform(0, 9);
    if (kind < 2) {
        // On the background only: over the plot a right click opens the menu, which use_menu handles.
        Point p = anywhere();
        if (p.x >= frame_.left - 1 && p.x <= frame_.right + 1) p.x = frame_.left - 2;
        move(p);
        press_and_release("3");
        return;
    }
    move(kind < 5 ? near_frame(40) : kind < 8 ? on_frame_edge() : anywhere());
    if (kind == 9) {
        // Two quick clicks: the window class asks for no double-click messages.
        emit_click("1");
        emit_click("1");
        return;
    }
    press_and_release("1");
}

void Soak_Input::pan() {
    move({uniform(frame_.left + 1, frame_.right - 1), uniform(frame_.top + 1, frame_.bottom - 1)});
    press();
    for (int n = uniform(1, 6); n > 0; --n)
        move(anywhere());
    release();
}

// Targets keep the frame inside the bounds and below the largest size; some lie past the opposite edge,
// where the program refuses to follow. Moves sent in a row may reach the program as one (it coalesces them),
// so the last, which it always sees, is one it follows: the frame ends where the model says.
void Soak_Input::drag_edge() {
    move(on_frame_edge());
    press();
    for (int n = uniform(1, 4); n > 0; --n) {
        const int past = n == 1 ? -minimum_extent : 3;  // how far a target may lie past the opposite edge
        Point target = anywhere();
        if (left_grabbed_)
            target.x = uniform(std::max(bounds_.left, frame_.right - max_width_), frame_.right + past);
        if (right_grabbed_)
            target.x = uniform(frame_.left - past, std::min(bounds_.right, frame_.left + max_width_));
        if (top_grabbed_)
            target.y = uniform(std::max(bounds_.top, frame_.bottom - max_height_), frame_.bottom + past);
        if (bottom_grabbed_)
            target.y = uniform(frame_.top - past, std::min(bounds_.bottom, frame_.top + max_height_));
        move(target);
    }
    release();
}

void Soak_Input::use_menu() {
    const Point at{uniform(frame_.left + 1, frame_.right - 20), uniform(frame_.top + 1, frame_.bottom - 10)};
    move(at);
    press_and_release("3");
    if (chance(0.1)) {
        // Dismissed by a click left of the menu: nothing is chosen.
        move({uniform(0, at.x - 1), uniform(0, screen_.main_height - 1)});
        press_and_release("1");
        return;
    }
    const int weight = uniform(0, 19);
    const int entry = weight < 4    ? move_window_entry
                      : weight < 12 ? uniform(1, 4)
                      : weight < 15 ? 5
                                    : options_entry;
    // The menu, in front, takes this click alone: the frame model does not see it.
    const Point choice{at.x + 10, at.y + entry * menu_row + menu_row / 2};
    move(choice);
    emit_click("1");
    if (entry == move_window_entry) {
        moving_ = true;
        grab_ = {choice.x - frame_.left, choice.y - frame_.top};
        move_frame();
    } else if (entry == options_entry) {
        options_shown_ = true;
        chain_.shows_options = true;
        chain_ended_ = true;
    }
}

// The frame follows the pointer until the next left release, which puts it down inside the bounds.
void Soak_Input::move_frame() {
    for (int n = uniform(0, 3); n > 0; --n)
        move(anywhere());
    const int width = frame_.right - frame_.left;
    const int height = frame_.bottom - frame_.top;
    const int left = uniform(bounds_.left, bounds_.right - width);
    const int top = uniform(bounds_.top, bounds_.bottom - height);
    move({left + grab_.x, top + grab_.y});
    press_and_release("1");
}

void Soak_Input::edit_option() {
    if (!options_shown_) {
        use_menu();
        return;
    }
    if (chance(0.05)) {
        options_shown_ = false;
        chain_.close_options = true;
        chain_ended_ = true;
        return;
    }
    const int row = uniform(0, precision_row);
    std::string text;
    if (chance(0.15)) {
        text = row == precision_row ? junk_precisions[uniform(0, std::size(junk_precisions) - 1)]
                                    : junk_numbers[uniform(0, std::size(junk_numbers) - 1)];
    } else {
        char number[32];
        if (row == precision_row) {
            std::snprintf(number, sizeof number, "%d", uniform(1, 120));
        } else {
            // Ceiling and floor, real and imaginary part, the two scales.
            const int lows[] = {-1000, -1000, -4000, -4000, 1, 1};
            const int highs[] = {1000, 1000, 4000, 4000, 2000, 2000};
            const double divisors[] = {100.0, 100.0, 100.0, 100.0, 10000.0, 10000.0};
            std::snprintf(number, sizeof number, "%g", uniform(lows[row], highs[row]) / divisors[row]);
        }
        text = number;
    }
    // Focus first: without a window manager a click does not move the keyboard focus.
    chain_.arguments.insert(
        chain_.arguments.end(),
        {"windowfocus", screen_.options_window, "mousemove", std::to_string(screen_.options_x + edit_x),
         std::to_string(screen_.options_y + first_edit_y + row * edit_spacing), "mousedown", "1", "mouseup",
         "1", "key", "--delay", "1", "ctrl+a", "BackSpace"});
    chain_.events += 5;
    for (char c : text) {
        chain_.arguments.push_back(keysym(c));
        ++chain_.events;
    }
    apply_pending_ = chance(0.8);
    chain_ended_ = true;
}

void Soak_Input::move(Point p) {
    p.x = std::clamp(p.x, 0, screen_.main_width - 1);
    p.y = std::clamp(p.y, 0, screen_.main_height - 1);
    chain_.arguments.insert(chain_.arguments.end(), {"mousemove", std::to_string(screen_.main_x + p.x),
                                                     std::to_string(screen_.main_y + p.y)});
    ++chain_.events;
    pointer_ = p;
    Soak_Frame& f = frame_;
    if (moving_) {
        const int dy = (f.top + grab_.y) - p.y;
        const int dx = (grab_.x - p.x) + f.left;
        f.top -= dy;
        f.bottom -= dy;
        f.left -= dx;
        f.right -= dx;
    }
    if (bottom_grabbed_ && p.y - f.top >= minimum_extent) f.bottom = p.y;
    if (top_grabbed_ && f.bottom - p.y >= minimum_extent) f.top = p.y;
    if (left_grabbed_ && f.right - p.x >= minimum_extent) f.left = p.x;
    if (right_grabbed_ && p.x - f.left >= minimum_extent) f.right = p.x;
}

void Soak_Input::press() {
    chain_.arguments.insert(chain_.arguments.end(), {"mousedown", "1"});
    ++chain_.events;
    grab_edges();
}

void Soak_Input::release() {
    chain_.arguments.insert(chain_.arguments.end(), {"mouseup", "1"});
    ++chain_.events;
    end_drag();
}

void Soak_Input::press_and_release(const char* button) {
    emit_click(button);
    if (std::string(button) == "1") {
        grab_edges();
        end_drag();
    }
}

// xdotool's own "click" waits a tenth of a second between press and release.
void Soak_Input::emit_click(const char* button) {
    chain_.arguments.insert(chain_.arguments.end(), {"mousedown", button, "mouseup", button});
    chain_.events += 2;
}

void Soak_Input::grab_edges() {
    const Point p = pointer_;
    const bool across = frame_.left <= p.x && p.x <= frame_.right;
    const bool along = frame_.top <= p.y && p.y <= frame_.bottom;
    if (p.y == frame_.top && across) top_grabbed_ = true;
    if (p.y == frame_.bottom && across) bottom_grabbed_ = true;
    if (p.x == frame_.left && along) left_grabbed_ = true;
    if (p.x == frame_.right && along) right_grabbed_ = true;
}

void Soak_Input::end_drag() {
    moving_ = top_grabbed_ = bottom_grabbed_ = left_grabbed_ = right_grabbed_ = false;
}

}  // namespace e2e
