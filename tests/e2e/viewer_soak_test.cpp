// The real zeta-viewer on a private Xvfb screen under a minute of random mouse and keyboard input (see
// soak_input.h): it must stay alive throughout, keep its resident memory, and still close with status 0.
//
// The memory baseline is read after the first plot has finished and a few seconds of the same random input
// have run, so that what the program builds once (glyph cache, SDL and X11 state, the allocator arenas of
// the calculation threads) is part of it. Sanitizer allocators hold freed memory in quarantine, so sanitizer
// builds print the figures without comparing them; AddressSanitizer's leak check at exit still has to pass.
//
// ZETA_SOAK_SECONDS shortens (or lengthens) the soak for a local run; ZETA_SOAK_SEED repeats one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "screen_image.h"
#include "soak_input.h"
#include "viewer_process.h"
#include "x11_close.h"
#include "xvfb_screen.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif

const Rgb frame_colour{14, 24, 34};
constexpr double allowed_growth = 0.10;
constexpr auto warm_up = 10s;
constexpr int actions_per_chain = 40;
// Room for the Options window right of the main window, which takes three quarters of the screen.
constexpr int screen_width = 1920;
constexpr int screen_height = 1080;
constexpr int options_x = 1500;
constexpr int options_y = 100;

unsigned long environment_number(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::stoul(value) : fallback;
}

// A field of /proc/PID/status, such as "VmRSS:" (kB) or "Threads:"; -1 when the process is gone.
long status_field(const std::string& pid, const std::string& name) {
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(name, 0) == 0) return std::stol(line.substr(name.size()));
    }
    return -1;
}

// The scheduler state of the process's main thread ('R' running, 'S' sleeping ...).
char main_thread_state(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/task/" + pid + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t name_end = line.rfind(')');
    return name_end == std::string::npos || name_end + 2 >= line.size() ? '?' : line[name_end + 2];
}

struct Geometry {
    int x = -1, y = -1, width = 0, height = 0;
};

class Viewer_Soak : public ::testing::Test {
protected:
    void SetUp() override {
        screen_ = std::make_unique<Xvfb_Screen>(screen_width, screen_height);
        if (!screen_->ready())
            GTEST_SKIP() << "Xvfb cannot start here, so there is no screen to test on: "
                         << screen_->failure();
        viewer_ = std::make_unique<Child_Process>(std::vector<std::string>{ZETA_VIEWER_PATH},
                                                  viewer_environment(screen_->display()));
        ASSERT_TRUE(viewer_->started());
        main_window_ = find_window("Ostrelin zeta function viewer");
        ASSERT_NE(main_window_, "") << "main window not found; the viewer said: " << viewer_->wait(1s).err;
        Exit pid = xdotool({"getwindowpid", main_window_});
        ASSERT_EQ(pid.status, 0) << pid.err;
        pid_ = pid.out.substr(0, pid.out.find('\n'));
        main_ = geometry(main_window_);
    }

    void TearDown() override {
        if (viewer_) viewer_->stop();
        screen_.reset();
    }

    Exit xdotool(std::vector<std::string> arguments) { return e2e::xdotool(screen_->display(), arguments); }
    std::string find_window(const std::string& name) { return e2e::find_window(screen_->display(), name); }

    // Without a window manager a window's client area is the X window itself.
    Geometry geometry(const std::string& window) {
        Geometry g;
        std::istringstream lines(xdotool({"getwindowgeometry", "--shell", window}).out);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos) continue;
            const std::string name = line.substr(0, equals);
            const int value = std::stoi(line.substr(equals + 1));
            if (name == "X") g.x = value;
            if (name == "Y") g.y = value;
            if (name == "WIDTH") g.width = value;
            if (name == "HEIGHT") g.height = value;
        }
        return g;
    }

    // The start-up plot's cells, every fourth row, as the screen shows them.
    std::vector<Rgb> plot_sample() {
        Screen_Image image;
        std::string error;
        if (!image.capture(screen_->display(), &error)) return {};
        std::vector<Rgb> sample;
        for (int x = 100; x < 180; ++x) {
            for (int y = 61; y <= 580; y += 4)
                sample.push_back(image.at(main_.x + x, main_.y + y));
        }
        return sample;
    }

    // The plot is black while it is calculated: wait until it has colour and holds still.
    bool wait_for_first_plot() {
        const auto deadline = Clock::now() + 60s;
        std::vector<Rgb> last;
        while (Clock::now() < deadline) {
            std::vector<Rgb> sample = plot_sample();
            const bool coloured = std::any_of(sample.begin(), sample.end(), [](const Rgb& c) {
                return c != Rgb{0, 0, 0};
            });
            if (coloured && sample == last) return true;
            last = std::move(sample);
            std::this_thread::sleep_for(200ms);
        }
        return false;
    }

    // Input is produced much faster than a paint per event can follow; let the program work through what it
    // was sent (its main thread asleep for a while) before the next chain.
    void wait_until_caught_up(std::chrono::milliseconds quiet = 30ms) {
        const auto deadline = Clock::now() + 30s;
        auto asleep_since = Clock::now();
        while (Clock::now() < deadline) {
            if (main_thread_state(pid_) != 'S') asleep_since = Clock::now();
            if (Clock::now() - asleep_since >= quiet) return;
            std::this_thread::sleep_for(5ms);
        }
    }

    // Caught up, and the calculation thread gone: its last plot is finished. Sanitizer builds compute too
    // slowly to wait for that, and their memory is not compared.
    void wait_until_settled() {
        const auto deadline = Clock::now() + 60s;
        do {
            wait_until_caught_up(200ms);
        } while (!sanitized && status_field(pid_, "Threads:") > idle_threads_ && Clock::now() < deadline);
    }

    // Polled: "search --sync" looks only twice a second.
    bool wait_until_options_shown() {
        const auto deadline = Clock::now() + 20s;
        while (Clock::now() < deadline) {
            if (xdotool({"search", "--onlyvisible", "--name", "^Options$"}).status == 0) return true;
        }
        return false;
    }

    // Opens the Options window through the plot's menu and puts it beside the main window.
    void open_options_beside_the_plot() {
        const int x = main_.x + 140, y = main_.y + 200;
        ASSERT_EQ(xdotool({"mousemove", std::to_string(x), std::to_string(y), "mousedown", "3", "mouseup",
                           "3", "mousemove", std::to_string(x + 10), std::to_string(y + 6 * 17 + 8),
                           "mousedown", "1", "mouseup", "1"})
                      .status,
                  0);
        options_window_ = find_window("Options");
        ASSERT_NE(options_window_, "") << "the Options window did not appear";
        ASSERT_EQ(xdotool({"windowmove", "--sync", options_window_, std::to_string(options_x),
                           std::to_string(options_y)})
                      .status,
                  0);
    }

    // Every event reached the program and was handled by its rules for drags and moves: the frame is where
    // the input model put it. Its top row shows the frame's colour, since the plot's rows start one below;
    // the critical line may cross it.
    void expect_frame_at(const Soak_Frame& frame) {
        Screen_Image image;
        std::string error;
        ASSERT_TRUE(image.capture(screen_->display(), &error)) << error;
        int framed = 0;
        for (int x = frame.left + 1; x < frame.right; ++x)
            framed += image.at(main_.x + x, main_.y + frame.top) == frame_colour;
        EXPECT_GE(framed, frame.right - frame.left - 2)
            << "the frame is not at " << frame.left << "," << frame.top << " to " << frame.right << ","
            << frame.bottom;
    }

    // Random input until `duration` has passed; the viewer must be running after every chain.
    void run_input(Soak_Input& input, std::chrono::seconds duration) {
        const auto end = Clock::now() + duration;
        while (Clock::now() < end) {
            Soak_Chain chain = input.next_chain(actions_per_chain);
            if (!chain.arguments.empty()) {
                Exit sent = xdotool(chain.arguments);
                ASSERT_EQ(sent.status, 0) << "xdotool failed: " << sent.err;
            }
            events_ += chain.events;
            ASSERT_TRUE(viewer_->running()) << "the viewer ended during the soak: " << viewer_->wait(1s).err;
            if (chain.shows_options) {
                ASSERT_TRUE(wait_until_options_shown()) << "the Options window did not appear";
            }
            if (chain.close_options) {
                ASSERT_TRUE(request_close(screen_->display(), std::stoul(options_window_)));
            }
            wait_until_caught_up();
        }
    }

    std::unique_ptr<Xvfb_Screen> screen_;
    std::unique_ptr<Child_Process> viewer_;
    std::string main_window_;
    std::string options_window_;
    std::string pid_;
    Geometry main_;
    long idle_threads_ = 0;
    long events_ = 0;
};

TEST_F(Viewer_Soak, StaysAliveKeepsItsMemoryAndClosesCleanlyUnderRandomInput) {
    const unsigned seed = static_cast<unsigned>(environment_number("ZETA_SOAK_SEED", std::random_device{}()));
    const auto duration = std::chrono::seconds(environment_number("ZETA_SOAK_SECONDS", 60));
    std::cout << "soak seed " << seed << " (repeat with ZETA_SOAK_SEED=" << seed << "), " << duration.count()
              << " s" << std::endl;
    RecordProperty("seed", std::to_string(seed));

    ASSERT_TRUE(wait_for_first_plot()) << "the first plot never finished";
    idle_threads_ = status_field(pid_, "Threads:");
    ASSERT_NO_FATAL_FAILURE(open_options_beside_the_plot());
    const Geometry options = geometry(options_window_);

    Soak_Screen layout;
    layout.main_x = main_.x;
    layout.main_y = main_.y;
    layout.main_width = main_.width;
    layout.main_height = main_.height;
    layout.options_x = options.x;
    layout.options_y = options.y;
    layout.options_window = options_window_;
    Soak_Input input(seed, layout);

    ASSERT_NO_FATAL_FAILURE(run_input(input, std::min<std::chrono::seconds>(warm_up, duration)));
    wait_until_settled();
    const long baseline = status_field(pid_, "VmRSS:");
    const long warm_up_events = events_;

    ASSERT_NO_FATAL_FAILURE(run_input(input, duration));
    wait_until_settled();
    const long after = status_field(pid_, "VmRSS:");
    ASSERT_TRUE(viewer_->running()) << "the viewer ended after the soak: " << viewer_->wait(1s).err;

    std::cout << "events: " << warm_up_events << " warm-up, " << events_ - warm_up_events << " soak; VmRSS "
              << baseline << " kB after warm-up, " << after << " kB after the soak ("
              << (after - baseline) * 100.0 / baseline << " %)" << std::endl;
    RecordProperty("events", std::to_string(events_ - warm_up_events));
    RecordProperty("rss_baseline_kb", std::to_string(baseline));
    RecordProperty("rss_after_kb", std::to_string(after));
    if (!sanitized) {
        EXPECT_LE(after, baseline * (1.0 + allowed_growth))
            << "resident memory grew from " << baseline << " kB to " << after << " kB";
    }

    expect_frame_at(input.frame());

    EXPECT_TRUE(request_close(screen_->display(), std::stoul(main_window_)));
    Exit exit = viewer_->wait(60s);
    EXPECT_TRUE(exit.finished) << "the viewer did not end after its main window was closed";
    EXPECT_EQ(exit.status, 0) << exit.err;
}

}  // namespace
}  // namespace e2e
