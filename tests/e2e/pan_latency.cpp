// How long the real viewer takes, under Xvfb, from an xdotool pointer move during a pan of a 1000 x 1000 plot
// to the frame that shows it. Prints the median and the worst for single moves (each waited for) and for a
// steady stream of moves (one every 10 ms, the way a mouse reports). A measuring program, not a test.
//
// Usage: pan_latency [viewer program]   (default: the viewer built with this program)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "viewer_process.h"
#include "xvfb_screen.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using e2e::Child_Process;

// The plot is stretched from the start-up frame (100, 60)-(180, 580) to 1000 x 1000 by its lower-right
// corner.
constexpr int plot_left = 100;
constexpr int plot_top = 60;
constexpr int plot_size = 1000;
constexpr int startup_right = 180;
constexpr int startup_bottom = 580;
// A pan moves the picture up and down: along the imaginary axis the colours keep changing, so every shift of
// this column segment looks different. Re(s) = 0.8, well right of the critical line and the axis ticks.
constexpr int probe_x = plot_left + 40;
constexpr int probe_top = plot_top + 350;
constexpr int probe_rows = 400;
constexpr int largest_shift = 300;
constexpr int press_x = plot_left + 500;
constexpr int press_y = plot_top + 300;
// 0xRRGGBB: the main window's blue, and the plot frame's fill.
constexpr unsigned long background = 0x0000FF;
constexpr unsigned long frame_fill = 0x0E1822;

struct Point {
    int x = 0, y = 0;
};

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

class Screen {
public:
    explicit Screen(const std::string& name) : display_(XOpenDisplay(name.c_str())) {}
    ~Screen() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    bool open() const { return display_ != nullptr; }

    // `rows` pixels of the column at screen x, from screen y down.
    std::vector<unsigned long> column(int x, int y, int rows) {
        std::vector<unsigned long> pixels;
        XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, 1, static_cast<unsigned>(rows),
                                  AllPlanes, ZPixmap);
        if (image == nullptr) return pixels;
        for (int row = 0; row < rows; ++row)
            pixels.push_back(XGetPixel(image, 0, row) & 0xFFFFFFul);
        XDestroyImage(image);
        return pixels;
    }

private:
    Display* display_;
};

class Session {
public:
    Session(const std::string& display, Point origin) : display_(display), origin_(origin) {}

    bool xdotool(const std::vector<std::string>& arguments) {
        return e2e::xdotool(display_, arguments).status == 0;
    }
    bool move(int x, int y, bool sync = false) {
        std::vector<std::string> arguments{"mousemove"};
        if (sync) arguments.push_back("--sync");
        arguments.push_back(std::to_string(origin_.x + x));
        arguments.push_back(std::to_string(origin_.y + y));
        return xdotool(arguments);
    }

private:
    std::string display_;
    Point origin_;
};

Point origin_of(const std::string& display, const std::string& window) {
    Point origin{-1, -1};
    std::istringstream lines(e2e::xdotool(display, {"getwindowgeometry", "--shell", window}).out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("X=", 0) == 0) origin.x = std::stoi(line.substr(2));
        if (line.rfind("Y=", 0) == 0) origin.y = std::stoi(line.substr(2));
    }
    return origin;
}

// The reference picture of the plot's probe column over every row a shift can bring into it, and the shift
// a screen reading shows.
class Probe {
public:
    Probe(Screen& screen, Point origin) : screen_(screen), origin_(origin) {}

    // Reads the column before the pan: rows probe_top - largest_shift ... probe_top + probe_rows - 1.
    bool take_reference() {
        reference_ = screen_.column(origin_.x + probe_x, origin_.y + probe_top - largest_shift,
                                    probe_rows + largest_shift);
        return static_cast<int>(reference_.size()) == probe_rows + largest_shift;
    }

    // Two shifts that look the same could not be told apart.
    bool every_shift_distinct() const {
        for (int a = 0; a <= largest_shift; ++a)
            for (int b = a + 1; b <= largest_shift; ++b)
                if (std::equal(begin(a), begin(a) + probe_rows, begin(b))) return false;
        return true;
    }

    // The downward shift of the picture now shown, or -1 when no shift matches (a frame of something else).
    int shown_shift() {
        const std::vector<unsigned long> now =
            screen_.column(origin_.x + probe_x, origin_.y + probe_top, probe_rows);
        if (static_cast<int>(now.size()) != probe_rows) return -1;
        for (int shift = 0; shift <= largest_shift; ++shift)
            if (std::equal(now.begin(), now.end(), begin(shift))) return shift;
        return -1;
    }

    // The finished plot under the whole reference: no black (calculating), no background (blue) and no
    // frame fill (where the old, smaller grid does not reach) pixel.
    bool finished_plot() const {
        return std::none_of(reference_.begin(), reference_.end(),
                            [](unsigned long p) { return p == 0 || p == background || p == frame_fill; });
    }

private:
    // Screen row probe_top + k shows reference row probe_top - shift + k.
    std::vector<unsigned long>::const_iterator begin(int shift) const {
        return reference_.begin() + (largest_shift - shift);
    }

    Screen& screen_;
    Point origin_;
    std::vector<unsigned long> reference_;
};

struct Figures {
    double median = 0;
    double worst = 0;
};

Figures summarise(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

// Each move alone: sent, then waited for until its frame is shown, then a pause.
bool single_moves(Session& session, Probe& probe, int* shift) {
    std::vector<double> from_start, from_return;
    for (int k = 0; k < 40; ++k) {
        *shift += 3;
        const auto start = Clock::now();
        if (!session.move(press_x, press_y + *shift)) return false;
        const auto returned = Clock::now();
        while (probe.shown_shift() != *shift) {
            if (Clock::now() - start > 5s) {
                std::printf("single move %d: its frame did not come within 5 s\n", k);
                return false;
            }
            std::this_thread::sleep_for(200us);
        }
        const auto shown = Clock::now();
        from_start.push_back(milliseconds(shown - start));
        from_return.push_back(milliseconds(shown - returned));
        std::this_thread::sleep_for(50ms);
    }
    const Figures started = summarise(from_start);
    const Figures returned = summarise(from_return);
    std::printf(
        "single moves (40): from xdotool start median %6.1f ms, worst %6.1f ms; "
        "from its return median %6.1f ms, worst %6.1f ms\n",
        started.median, started.worst, returned.median, returned.worst);
    return true;
}

// Moves every 10 ms while the screen is read as fast as it answers: a move counts as shown at the first
// reading that shows its shift or a later one.
bool move_stream(Session& session, Probe& probe, int* shift) {
    constexpr int moves = 60;
    constexpr int step = 2;
    const int first_shift = *shift + step;
    std::vector<Clock::time_point> sent(moves);
    std::atomic<bool> sending{true};
    std::thread sender([&] {
        auto next = Clock::now();
        for (int k = 0; k < moves; ++k) {
            std::this_thread::sleep_until(next);
            session.move(press_x, press_y + first_shift + k * step);
            sent[k] = Clock::now();
            next += 10ms;
        }
        sending = false;
    });
    struct Reading {
        Clock::time_point time;
        int shift;
    };
    std::vector<Reading> readings;
    const int last_shift = first_shift + (moves - 1) * step;
    const auto deadline = Clock::now() + 20s;
    while (Clock::now() < deadline) {
        const int shown = probe.shown_shift();
        readings.push_back({Clock::now(), shown});
        if (!sending && shown == last_shift) break;
    }
    sender.join();
    *shift = last_shift;

    std::vector<double> latencies;
    int never = 0;
    for (int k = 0; k < moves; ++k) {
        const int wanted = first_shift + k * step;
        const auto found = std::find_if(readings.begin(), readings.end(), [&](const Reading& reading) {
            return reading.time >= sent[k] && reading.shift >= wanted;
        });
        if (found == readings.end()) {
            ++never;
            continue;
        }
        latencies.push_back(milliseconds(found->time - sent[k]));
    }
    const Figures figures = summarise(latencies);
    std::printf(
        "stream of %d moves, one every 10 ms: from xdotool return median %6.1f ms, worst %6.1f ms%s\n", moves,
        figures.median, figures.worst, never > 0 ? " (some never shown)" : "");
    return never == 0;
}

bool wait_for(const std::function<bool()>& condition, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

int measure(const std::string& viewer_path) {
    e2e::Xvfb_Screen xvfb(1600, 1300);
    if (!xvfb.ready()) {
        std::printf("no Xvfb: %s\n", xvfb.failure().c_str());
        return 1;
    }
    const std::string& display = xvfb.display();
    Child_Process viewer({viewer_path}, e2e::viewer_environment(display));
    const std::string window = e2e::find_window(display, "Ostrelin zeta function viewer");
    if (window.empty()) {
        std::printf("the viewer's main window did not appear\n");
        return 1;
    }
    // Without a window manager the X window is the client area.
    e2e::xdotool(display, {"windowmove", "--sync", window, "0", "0"});
    e2e::xdotool(display, {"windowsize", "--sync", window, "1400", "1250"});
    const Point origin = origin_of(display, window);
    Session session(display, origin);
    Screen screen(display);
    if (!screen.open()) return 1;
    Probe probe(screen, origin);

    std::this_thread::sleep_for(1s);
    // Stretch the plot by its lower-right corner; the release recomputes it at the new size.
    bool stretched =
        session.move(startup_right, startup_bottom, true) && session.xdotool({"mousedown", "1"}) &&
        session.move(plot_left + plot_size, plot_top + plot_size, true) && session.xdotool({"mouseup", "1"});
    if (!stretched) return 1;
    // Finished: all of it coloured by the new grid, and the same over two readings a second apart.
    std::vector<unsigned long> last;
    const bool computed = wait_for(
        [&] {
            if (!probe.take_reference() || !probe.finished_plot()) return false;
            std::vector<unsigned long> now =
                screen.column(origin.x + probe_x, origin.y + plot_top, plot_size);
            const bool same = now == last;
            last = std::move(now);
            return same;
        },
        300s);
    if (!computed) {
        std::printf("the 1000 x 1000 plot was not shown\n");
        return 1;
    }
    if (!probe.every_shift_distinct()) {
        std::printf("the probe column looks the same at two shifts; cannot measure\n");
        return 1;
    }

    session.move(press_x, press_y, true);
    session.xdotool({"mousedown", "1"});
    int shift = 0;
    const bool measured = single_moves(session, probe, &shift) && move_stream(session, probe, &shift);
    session.xdotool({"mouseup", "1"});
    viewer.stop();
    return measured ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return measure(argc > 1 ? argv[1] : ZETA_VIEWER_PATH);
}
