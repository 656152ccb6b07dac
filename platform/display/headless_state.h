// The headless display's state, shared by its backend functions and the test probes in platform/testing.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/display/display.h"

namespace platform::display::headless_state {

constexpr int arrow_cursor = 32512;

struct Screen_Window {
    std::string title;
    int client_width = 0;
    int client_height = 0;
    bool shown = false;
    std::vector<std::uint32_t> image;
    int image_width = 0;
    int image_height = 0;
    int presents = 0;
    std::vector<std::uint32_t> icon;  // 0xAARRGGBB
    int icon_width = 0;
    int icon_height = 0;
};

struct Screen {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Event> events;
    bool woken = false;
    std::map<Window_Id, Screen_Window> windows;
    Window_Id next_window = 1;
    int cursor = arrow_cursor;
    std::string clipboard;
    std::vector<std::string> message_boxes;
};

// Never destroyed: other threads may still wake the loop while the process exits.
Screen& screen();

}  // namespace platform::display::headless_state
