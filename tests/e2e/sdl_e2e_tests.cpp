// The demo program on the sdl display backend: on a private Xvfb screen, driven by xdotool, checked through
// screenshots and its own report; and without any screen, where it must fail at once and say why.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "demo_layout.h"
#include "screen_image.h"
#include "x11_close.h"
#include "x11_properties.h"
#include "xvfb_screen.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

// The demo's environment besides DISPLAY: always the sdl backend, and the sanitizer suppressions for leaks
// inside the system's X11 and SDL libraries, which are not ours to fix.
Environment_Changes demo_environment(const std::string& display) {
    std::string leak_options = "suppressions=" E2E_SOURCE_DIR "/lsan_suppressions.txt";
    if (const char* own = std::getenv("LSAN_OPTIONS"); own != nullptr && *own != '\0') {
        leak_options = std::string(own) + ":" + leak_options;
    }
    Environment_Changes changes = {"-ZETA_VIEWER_DISPLAY", "-WAYLAND_DISPLAY",
                                   "LSAN_OPTIONS=" + leak_options};
    if (display.empty()) {
        changes.push_back("-DISPLAY");
    } else {
        changes.push_back("DISPLAY=" + display);
    }
    return changes;
}

int count_lines_containing(const std::string& text, const std::string& part) {
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        count += line.find(part) != std::string::npos;
    return count;
}

void expect_fails_at_once_saying_no_screen(const Environment_Changes& changes) {
    Exit exit = run({SDL_DEMO_PATH}, changes, 20s);
    ASSERT_TRUE(exit.finished) << "the demo hung without a screen";
    EXPECT_NE(exit.status, 0);
    EXPECT_EQ(count_lines_containing(exit.err, "no screen found"), 1) << exit.err;
    EXPECT_EQ(count_lines_containing(exit.err, "sdl_demo: no screen found"), 1) << exit.err;
    EXPECT_EQ(count_lines_containing(exit.err, "run it on a desktop or under Xvfb"), 1) << exit.err;
}

// A display number that nothing listens on.
std::string unused_display() {
    for (int number = 140; number < 200; ++number) {
        std::string n = std::to_string(number);
        if (run({"test", "-e", "/tmp/.X11-unix/X" + n}, {}).status != 0) return ":" + n;
    }
    return ":199";
}

TEST(Sdl_Demo_Without_Screen, NoDisplayVariablesFailsAtOnceWithOneLine) {
    expect_fails_at_once_saying_no_screen(demo_environment(""));
}

TEST(Sdl_Demo_Without_Screen, UnreachableDisplayFailsAtOnceWithOneLine) {
    expect_fails_at_once_saying_no_screen(demo_environment(unused_display()));
}

TEST(Sdl_Demo_Without_Screen, InvisibleVideoDriverIsNotAccepted) {
    Environment_Changes changes = demo_environment(unused_display());
    changes.push_back("SDL_VIDEODRIVER=dummy");
    expect_fails_at_once_saying_no_screen(changes);
}

class Sdl_Demo_On_Xvfb : public ::testing::Test {
protected:
    void SetUp() override {
        screen_ = std::make_unique<Xvfb_Screen>(800, 600);
        if (!screen_->ready())
            GTEST_SKIP() << "Xvfb cannot start here, so there is no screen to test on: "
                         << screen_->failure();
        demo_ = std::make_unique<Child_Process>(std::vector<std::string>{SDL_DEMO_PATH},
                                                demo_environment(screen_->display()));
        ASSERT_TRUE(demo_->started());
        Exit search =
            xdotool({"search", "--sync", "--onlyvisible", "--name", std::string("^") + demo::title + "$"});
        ASSERT_EQ(search.status, 0) << "demo window not found; demo said: " << demo_->wait(1s).err;
        window_ = std::stoul(search.out);
        read_geometry();
        wait_until_shown(demo::areas[0].left, demo::areas[0].top, demo::areas[0].colour);
    }

    void TearDown() override {
        if (demo_) demo_->stop();
        screen_.reset();
    }

    Exit xdotool(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "xdotool");
        return run(arguments, {"DISPLAY=" + screen_->display()}, 20s);
    }

    void read_geometry() {
        Exit geometry = xdotool({"getwindowgeometry", "--shell", std::to_string(window_)});
        ASSERT_EQ(geometry.status, 0) << geometry.err;
        std::istringstream lines(geometry.out);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("X=", 0) == 0) origin_x_ = std::stoi(line.substr(2));
            if (line.rfind("Y=", 0) == 0) origin_y_ = std::stoi(line.substr(2));
        }
    }

    Screen_Image screenshot() {
        Screen_Image image;
        std::string error;
        EXPECT_TRUE(image.capture(screen_->display(), &error)) << error;
        return image;
    }

    // Client coordinates of the demo window to the screen's.
    Rgb shown(const Screen_Image& image, int x, int y) const {
        return image.at(origin_x_ + x, origin_y_ + y);
    }

    // Waits until the screen shows `colour` at client (x, y): the window is mapped and painted.
    void wait_until_shown(int x, int y, demo::Colour colour) {
        Rgb expected{colour.red, colour.green, colour.blue};
        auto deadline = std::chrono::steady_clock::now() + 15s;
        while (std::chrono::steady_clock::now() < deadline) {
            if (shown(screenshot(), x, y) == expected) return;
            std::this_thread::sleep_for(100ms);
        }
        FAIL() << "the screen never showed " << describe(expected) << " at client " << x << "," << y;
    }

    // The id of a top-level window with this exact name. SDL's message box names itself with a UTF-8 WM_NAME,
    // which `xdotool search` does not match, so the window tree is read instead.
    std::string wait_for_top_level_window(const std::string& name) {
        auto deadline = std::chrono::steady_clock::now() + 15s;
        while (std::chrono::steady_clock::now() < deadline) {
            Exit tree = run({"xwininfo", "-root", "-children"}, {"DISPLAY=" + screen_->display()}, 10s);
            std::istringstream lines(tree.out);
            for (std::string line; std::getline(lines, line);) {
                std::size_t quoted = line.find(" \"" + name + "\"");
                if (quoted == std::string::npos) continue;
                std::istringstream id(line);
                std::string window;
                id >> window;
                return window;
            }
            std::this_thread::sleep_for(100ms);
        }
        return {};
    }

    void click(int x, int y) {
        Exit clicked = xdotool({"mousemove", "--sync", std::to_string(origin_x_ + x),
                                std::to_string(origin_y_ + y), "click", "1"});
        ASSERT_EQ(clicked.status, 0) << clicked.err;
    }

    // Closes the window as its close button would and returns what the demo printed.
    std::string close_and_expect_clean_exit() {
        EXPECT_TRUE(request_close(screen_->display(), window_));
        Exit exit = demo_->wait(20s);
        EXPECT_TRUE(exit.finished) << "the demo did not end after its window was closed";
        EXPECT_EQ(exit.status, 0) << exit.err;
        return exit.out;
    }

    // Every pixel of the rectangle [left, right) x [top, bottom) in client coordinates has `colour`.
    void expect_area(const Screen_Image& image, int left, int top, int right, int bottom,
                     demo::Colour colour) {
        Rgb expected{colour.red, colour.green, colour.blue};
        int wrong = 0;
        std::string first_wrong;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (shown(image, x, y) == expected) continue;
                if (wrong++ == 0)
                    first_wrong =
                        std::to_string(x) + "," + std::to_string(y) + " is " + describe(shown(image, x, y));
            }
        }
        EXPECT_EQ(wrong, 0) << "area " << left << "," << top << " to " << right << "," << bottom
                            << " should be " << describe(expected) << "; first wrong pixel " << first_wrong;
    }

    std::unique_ptr<Xvfb_Screen> screen_;
    std::unique_ptr<Child_Process> demo_;
    unsigned long window_ = 0;
    int origin_x_ = 0;
    int origin_y_ = 0;
};

TEST_F(Sdl_Demo_On_Xvfb, ShowsItsAreasPixelForPixelAndExitsCleanlyWhenClosed) {
    Screen_Image image = screenshot();
    for (const demo::Area& area : demo::areas) {
        expect_area(image, area.left, area.top, area.right, area.bottom, area.colour);
        // The one-pixel ring around each area is background: the area sits exactly where it was drawn.
        expect_area(image, area.left - 1, area.top - 1, area.right + 1, area.top, demo::background);
        expect_area(image, area.left - 1, area.bottom, area.right + 1, area.bottom + 1, demo::background);
        expect_area(image, area.left - 1, area.top, area.left, area.bottom, demo::background);
        expect_area(image, area.right, area.top, area.right + 1, area.bottom, demo::background);
    }
    expect_area(image, 0, 85, 400, 112, demo::background);
    std::string report = close_and_expect_clean_exit();
    EXPECT_NE(report.find("clicks: 0"), std::string::npos) << report;
}

TEST_F(Sdl_Demo_On_Xvfb, ControlsAreDrawnAndTakeClicksAndTyping) {
    Screen_Image image = screenshot();
    const demo::Box& edit = demo::edit;
    expect_area(image, edit.left, edit.top, edit.right, edit.top + 1, {0, 0, 0});  // border
    expect_area(image, edit.left + 1, edit.bottom - 8, edit.right - 1, edit.bottom - 1, {255, 255, 255});
    const demo::Box& button = demo::button;
    expect_area(image, button.left, button.top, button.right, button.top + 1, {0, 0, 0});

    click((edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2);
    ASSERT_EQ(xdotool({"windowfocus", "--sync", std::to_string(window_)}).status, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "40", "hello 2.5"}).status, 0);
    ASSERT_EQ(xdotool({"key", "--delay", "40", "BackSpace", "Home", "Delete"}).status, 0);
    // Copy and paste through the screen's clipboard.
    ASSERT_EQ(xdotool({"key", "--delay", "40", "ctrl+a", "ctrl+c", "End", "ctrl+v"}).status, 0);
    // Shift with an arrow key selects.
    ASSERT_EQ(xdotool({"key", "--delay", "40", "shift+Left", "shift+Left", "Delete"}).status, 0);
    click((button.left + button.right) / 2, (button.top + button.bottom) / 2);

    std::string report = close_and_expect_clean_exit();
    EXPECT_NE(report.find("edit: ello 2.ello \n"), std::string::npos) << report;
    EXPECT_NE(report.find("clicks: 1\n"), std::string::npos) << report;
}

// Keys typed into the window itself (not the edit): the main keyboard's and the keypad's plus and minus, the
// keys the viewer uses, and Ctrl+C, which the demo answers by copying a line that Ctrl+V then pastes into the
// edit through the screen's clipboard.
TEST_F(Sdl_Demo_On_Xvfb, KeysReachTheWindowWithWin32CodesAndCtrlCCopies) {
    ASSERT_EQ(xdotool({"windowfocus", "--sync", std::to_string(window_)}).status, 0);
    ASSERT_EQ(xdotool({"key", "--delay", "40", "Left", "plus", "minus", "KP_Add", "KP_Subtract", "BackSpace",
                       "Home", "Escape", "ctrl+c", "ctrl+s"})
                  .status,
              0);
    const demo::Box& edit = demo::edit;
    click((edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2);
    ASSERT_EQ(xdotool({"key", "--delay", "40", "ctrl+v"}).status, 0);

    std::string report = close_and_expect_clean_exit();
    // VK_LEFT, VK_SHIFT VK_OEM_PLUS, VK_OEM_MINUS, VK_ADD, VK_SUBTRACT, VK_BACK, VK_HOME, VK_ESCAPE,
    // VK_CONTROL 'C', VK_CONTROL 'S'.
    EXPECT_NE(report.find("keys: 25 10 BB BD 6B 6D 08 24 1B 11 43 11 53\n"), std::string::npos) << report;
    EXPECT_NE(report.find("characters: 2B 2D 2B 2D 08 1B 03 13\n"), std::string::npos) << report;
    EXPECT_NE(report.find(std::string("edit: ") + demo::copied_text + "\n"), std::string::npos) << report;
}

TEST_F(Sdl_Demo_On_Xvfb, TheClassIconIsTheWindowsIcon) {
    std::vector<unsigned long> icon = cardinal_property(screen_->display(), window_, "_NET_WM_ICON");
    ASSERT_EQ(icon.size(), 2u + demo::icon_size * demo::icon_size);
    EXPECT_EQ(icon[0], static_cast<unsigned long>(demo::icon_size));
    EXPECT_EQ(icon[1], static_cast<unsigned long>(demo::icon_size));
    EXPECT_EQ(std::count(icon.begin() + 2, icon.end(), demo::icon_colour), demo::icon_size * demo::icon_size);
    close_and_expect_clean_exit();
}

TEST_F(Sdl_Demo_On_Xvfb, RepaintRequestedByAnotherThreadShowsWithoutInput) {
    const demo::Box& button = demo::button;
    click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    const demo::Area& area = demo::areas[demo::recoloured_area];
    wait_until_shown(area.left, area.top, demo::recoloured);
    expect_area(screenshot(), area.left, area.top, area.right, area.bottom, demo::recoloured);
    close_and_expect_clean_exit();
}

TEST_F(Sdl_Demo_On_Xvfb, MessageBoxShowsAndReturnsWhenDismissed) {
    Exit clicked = xdotool({"mousemove", "--sync", std::to_string(origin_x_ + 200),
                            std::to_string(origin_y_ + 100), "click", "3"});
    ASSERT_EQ(clicked.status, 0) << clicked.err;
    std::string box = wait_for_top_level_window(demo::message_caption);
    ASSERT_FALSE(box.empty()) << "no message box appeared";
    ASSERT_EQ(xdotool({"windowfocus", "--sync", box}).status, 0);
    ASSERT_EQ(xdotool({"key", "Return"}).status, 0);
    std::string report = close_and_expect_clean_exit();
    EXPECT_NE(report.find("message boxes: 1\n"), std::string::npos) << report;
}

TEST_F(Sdl_Demo_On_Xvfb, GrowingTheWindowRepaintsTheNewArea) {
    ASSERT_EQ(xdotool({"windowsize", "--sync", std::to_string(window_), "600", "420"}).status, 0);
    wait_until_shown(580, 400, demo::background);
    Screen_Image image = screenshot();
    expect_area(image, 420, 0, 600, 420, demo::background);
    expect_area(image, demo::areas[0].left, demo::areas[0].top, demo::areas[0].right, demo::areas[0].bottom,
                demo::areas[0].colour);
    close_and_expect_clean_exit();
}

}  // namespace
}  // namespace e2e
