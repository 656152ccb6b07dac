#include "fuzz/app_input.h"

#include <algorithm>
#include <string>

#include "app/application.h"
#include "app/options_window.h"
#include "platform/testing/testing.h"
#include "screen_objects/object_registry.h"
#include "zeta/plot/grid_fill.h"

namespace app_fuzz {
namespace {

namespace headless = platform::headless;

// A wait for a calculation with more series terms than this is skipped: it would slow the fuzzer down.
constexpr std::int64_t quick_work = 1'000'000;
// Start-up computes 100 terms per cell; fewer keep the calculations that every input starts short.
constexpr std::int32_t start_precision = 10;
// Room for the plot, its labels and its menu; a smaller window than the screen would give paints faster.
constexpr int client_width = 560;
constexpr int client_height = 740;
constexpr int menu_row = 17;
constexpr int long_text = 1100;  // past the 999 characters that the Options window reads

HWND Options_Window::*const edits[] = {
    &Options_Window::ceiling_edit,    &Options_Window::floor_edit,
    &Options_Window::real_part_edit,  &Options_Window::imaginary_part_edit,
    &Options_Window::real_scale_edit, &Options_Window::imaginary_scale_edit,
    &Options_Window::precision_edit};

// The application of the input being played; a fresh one for every input. Not destroyed at exit: the object
// registry it is listed in may be gone by then.
Application* application = nullptr;

class Input_Bytes {
public:
    Input_Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    // 0 once the input is used up.
    int next() { return at_ < size_ ? data_[at_++] : 0; }
    std::string take(std::size_t count) {
        count = std::min(count, size_ - at_);
        std::string bytes(reinterpret_cast<const char*>(data_ + at_), count);
        at_ += count;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void pump() {
    // Bounded: a window that never validates itself would otherwise keep this loop busy forever.
    MSG message;
    for (int count = 0; count < 100000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++count) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int coordinate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -30000, 30000));
}

// A point in client coordinates of the main window: near the frame, exactly on one of its edges or corners,
// near the menu (where it is or was last open), or anywhere in the window and a little beyond.
POINT point(Input_Bytes& in) {
    const int kind = in.next() % 4;
    const std::int64_t u = in.next(), v = in.next();
    const RECT f = application->plot_rect;
    const std::int64_t width = std::max<std::int64_t>(0, std::int64_t{f.right} - f.left);
    const std::int64_t height = std::max<std::int64_t>(0, std::int64_t{f.bottom} - f.top);
    switch (kind) {
        case 0:
            return {coordinate(std::int64_t{f.left} - 10 + u % (width + 21)),
                    coordinate(std::int64_t{f.top} - 10 + v % (height + 21))};
        case 1: {
            const int x_along = coordinate(f.left + width * v / 255);
            const int y_along = coordinate(f.top + height * v / 255);
            const POINT on_edge[] = {{x_along, f.top},   {x_along, f.bottom}, {f.left, y_along},
                                     {f.right, y_along}, {f.left, f.top},     {f.right, f.top},
                                     {f.left, f.bottom}, {f.right, f.bottom}};
            return on_edge[u % 8];
        }
        case 2: {
            const RECT m = application->viewer.menu.rect;
            const std::int64_t menu_width = std::max<std::int64_t>(0, std::int64_t{m.right} - m.left);
            const std::int64_t menu_height = std::max<std::int64_t>(0, std::int64_t{m.bottom} - m.top);
            return {coordinate(std::int64_t{m.left} - 5 + u % (menu_width + 11)),
                    coordinate(std::int64_t{m.top} - 5 + v % (menu_height + 11))};
        }
        default: {
            RECT client{};
            GetClientRect(application->main_window, &client);
            return {coordinate(-10 + u * (client.right + 20) / 255),
                    coordinate(-10 + v * (client.bottom + 20) / 255)};
        }
    }
}

void move(POINT p) {
    headless::mouse_move(application->main_window, p.x, p.y);
}

void drag(Input_Bytes& in) {
    POINT p = point(in);
    move(p);
    headless::mouse_down(application->main_window, p.x, p.y, 1);
    for (int n = in.next() % 4 + 1; n > 0; --n) {
        p = point(in);
        move(p);
    }
    headless::mouse_up(application->main_window, p.x, p.y, 1);
}

// Opens the plot's menu with a right click inside the frame and releases the left button on a row of it, or
// just above or below it.
void use_menu(Input_Bytes& in) {
    const RECT f = application->plot_rect;
    const std::int64_t width = std::max<std::int64_t>(1, std::int64_t{f.right} - f.left - 1);
    const std::int64_t height = std::max<std::int64_t>(1, std::int64_t{f.bottom} - f.top - 1);
    const POINT at{coordinate(std::int64_t{f.left} + 1 + in.next() % width),
                   coordinate(std::int64_t{f.top} + 1 + in.next() % height)};
    move(at);
    headless::click(application->main_window, at.x, at.y, 2);
    const int row = in.next() % 9 - 1;
    const POINT choice{at.x + 1 + in.next() % 200, at.y + row * menu_row + menu_row / 2};
    move(choice);
    headless::click(application->main_window, choice.x, choice.y, 1);
}

// Raw bytes into one edit of the Options window, shown first (showing refills the edits), then maybe
// "Apply values".
void enter_option(Input_Bytes& in) {
    HWND edit = application->options.*edits[in.next() % 7];
    const int flags = in.next();
    std::string text = in.take(static_cast<std::size_t>(in.next()));
    if ((flags & 1) != 0 && !text.empty()) {
        while (text.size() < long_text)
            text += text;
    }
    if (!IsWindowVisible(application->options.window)) ShowWindow(application->options.window, SW_SHOW);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if ((flags & 2) != 0) headless::click(application->options.apply_button, 50, 20, 1);
}

void change_activation(Input_Bytes& in) {
    const bool options_shown = IsWindowVisible(application->options.window);
    switch (in.next() % 4) {
        case 0:
            headless::request_close(application->options.window);
            break;
        case 1:
            if (options_shown) headless::focus_lost(application->options.window);
            break;
        case 2:
            if (options_shown) headless::focus_gained(application->options.window);
            break;
        default:
            headless::focus_gained(application->main_window);
            break;
    }
}

void wait_if_quick() {
    Plot_Job& job = application->viewer.job;
    if (fill_work(job.grid.width, job.grid.height, job.settings.precision) <= quick_work)
        wait_for_calculation(job);
}

}  // namespace

bool start_application_once() {
    headless::use_headless_display();
    application = new Application;
    if (!application->start(GetModuleHandleA(nullptr))) return false;
    pump();
    return true;
}

void reset_to_start_up() {
    delete application;
    platform::user::reset_window_layer();
    application = new Application;
    if (!application->start(GetModuleHandleA(nullptr))) return;
    headless::resize(application->main_window, client_width, client_height);
    application->viewer.job.settings.precision = start_precision;
    application->viewer.restart_calculation();
    pump();
}

void play(const std::uint8_t* data, std::size_t size) {
    Input_Bytes in(data, size);
    while (!in.empty()) {
        switch (in.next() % 11) {
            case 0:
                move(point(in));
                break;
            case 1: {
                const POINT p = point(in);
                headless::mouse_down(application->main_window, p.x, p.y, 1);
                break;
            }
            case 2: {
                const POINT p = point(in);
                headless::mouse_up(application->main_window, p.x, p.y, 1);
                break;
            }
            case 3: {
                const POINT p = point(in);
                headless::mouse_down(application->main_window, p.x, p.y, 2);
                break;
            }
            case 4: {
                const POINT p = point(in);
                headless::mouse_up(application->main_window, p.x, p.y, 2);
                break;
            }
            case 5: {
                const POINT p = point(in);
                headless::click(application->main_window, p.x, p.y, 1);
                break;
            }
            case 6:
                drag(in);
                break;
            case 7:
                use_menu(in);
                break;
            case 8:
                enter_option(in);
                break;
            case 9:
                wait_if_quick();
                break;
            default:
                change_activation(in);
                break;
        }
        pump();
    }
    stop_calculation(application->viewer.job);
    pump();
}

}  // namespace app_fuzz
