// The real zeta-viewer on the sdl display backend: on a private Xvfb screen, driven by xdotool and checked
// through screenshots, down to every pixel of the plot against values computed here with evaluate_zeta; and
// without any screen, where it must fail at once and say why.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "child_process.h"
#include "screen_image.h"
#include "tests/tools/png_reading.h"
#include "viewer_process.h"
#include "x11_close.h"
#include "xvfb_screen.h"
#include "zeta/look/readout_format.h"
#include "zeta/math/accurate_zeta.h"
#include "zeta/math/zeta_function.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

// The start-up plot; cell [i][j] lies at (left + i, bottom - j) in the main window's client area.
constexpr int plot_left = 100;
constexpr int plot_bottom = 580;
constexpr int plot_columns = 80;
constexpr int plot_rows = 520;
constexpr double start_real_part = 0.0;
constexpr double start_imaginary_part = -5.0;
constexpr double real_scale = 0.02;
constexpr double imaginary_scale = 0.1;
constexpr double ceiling = 5.0;
constexpr double floor_value = -5.0;
constexpr int start_precision = 100;
constexpr int critical_line_x = 125;  // Re(s) = 1/2

const Rgb black{0, 0, 0};
const Rgb background{0, 0, 255};
const Rgb critical_line{0x63, 0xFF, 0xFF};
const Rgb menu_fill{0, 0, 222};
const Rgb menu_highlight{255, 33, 1};
const Rgb button_face{240, 240, 240};
const Rgb white{255, 255, 255};

// The right-click menu, opened at a point of the plot: 17-pixel rows from the pointer down.
constexpr int menu_x = 150;
constexpr int menu_y = 200;
constexpr int menu_row = 17;
constexpr int menu_entries = 10;
constexpr int graph_real_part_entry = 2;
constexpr int graph_phase_entry = 8;
constexpr int show_zeros_entry = 9;
constexpr int options_entry = 6;
// Right of every entry's text and of the plot, inside the menu (its width is 8.5 pixels per character of
// "Graph Reciprocal absolute value").
constexpr int menu_probe_left = menu_x + 120;
constexpr int menu_probe_right = menu_x + 255;

enum class Quantity { Real_Part, Reciprocal_Absolute_Value };

// Cells [i * plot_rows + j], as the screen shows them.
using Plot = std::vector<Rgb>;

// The lower-left corner of the plot in the complex plane.
struct Corner {
    double real_part = start_real_part;
    double imaginary_part = start_imaginary_part;
};

// The column of the critical line (Re(s) = 1/2), as the renderer places it; -1 when it is off the plot.
int critical_column(const Corner& corner) {
    const double offset = (0.5 - corner.real_part) / real_scale;
    if (!(offset > 0.0 && offset < plot_columns)) return -1;
    return static_cast<int>(plot_left + offset);
}

// The plot pixels that the axes draw over: the bottom row carries the real axis's ticks and labels, and the
// left edge the imaginary axis's ticks every 30 rows; and the critical line's column.
bool drawn_over(int i, int j, const Corner& corner = {}) {
    return j == 0 || plot_left + i == critical_column(corner) || (i == 0 && j % 30 == 0);
}

// Called through a pointer so that the compiler cannot turn pow(x, 2) into x * x: the program uses the C
// library's pow.
double (*volatile library_pow)(double, double) = static_cast<double (*)(double, double)>(std::pow);

double cell_value(Quantity quantity, int i, int j, int precision, const Corner& corner) {
    const Complex s{static_cast<double>(i) * real_scale + corner.real_part,
                    static_cast<double>(j) * imaginary_scale + corner.imaginary_part};
    Complex zeta;
    evaluate_zeta(precision, s, zeta);
    double value = zeta.real;
    if (quantity == Quantity::Reciprocal_Absolute_Value) {
        const double modulus =
            library_pow(library_pow(zeta.real, 2.0) + library_pow(zeta.imaginary, 2.0), 0.5);
        value = modulus == 0.0 ? ceiling : 1.0 / modulus;
    }
    if (value > ceiling) return ceiling;
    if (value < floor_value) return floor_value;
    return value;
}

// The low 8 bits of the value truncated to 32 bits; 0 when it has no 32-bit value.
int channel(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
    return static_cast<std::int32_t>(value) & 0xFF;
}

// Red at the grid's minimum to green at its maximum; NaN cells black.
Plot expected_plot(Quantity quantity, int precision, const Corner& corner = {}) {
    std::vector<double> cells(plot_columns * plot_rows);
    for (int i = 0; i < plot_columns; ++i) {
        for (int j = 0; j < plot_rows; ++j)
            cells[i * plot_rows + j] = cell_value(quantity, i, j, precision, corner);
    }
    double lo = cells[0];
    double hi = cells[0];
    for (double v : cells) {
        if (v < lo) lo = v;
        if (v > hi) hi = v;
    }
    Plot plot;
    for (double v : cells) {
        const double t = (v - lo) / (hi - lo) * 255.0;
        plot.push_back({channel(255.0 - t), channel(t), 0});
    }
    return plot;
}

TEST(Viewer_Without_Screen, ExitsAtOnceWithAFailureStatusSayingThereIsNoScreen) {
    Exit exit = run({ZETA_VIEWER_PATH}, viewer_environment(""), 20s);
    ASSERT_TRUE(exit.finished) << "the viewer hung without a screen";
    EXPECT_NE(exit.status, 0);
    EXPECT_NE(exit.err.find("zeta-viewer: no screen found"), std::string::npos) << exit.err;
    EXPECT_NE(exit.err.find("Failed to create window"), std::string::npos) << exit.err;
    EXPECT_NE(exit.err.find("start an X server"), std::string::npos) << exit.err;
    EXPECT_NE(exit.err.find("zeta-render"), std::string::npos) << exit.err;
    EXPECT_EQ(exit.err.find("ZETA_VIEWER_DISPLAY"), std::string::npos) << exit.err;
}

struct Point {
    int x = 0, y = 0;
};

class Viewer_On_Xvfb : public ::testing::Test {
protected:
    void SetUp() override {
        screen_ = std::make_unique<Xvfb_Screen>(1280, 1024);
        if (!screen_->ready())
            GTEST_SKIP() << "Xvfb cannot start here, so there is no screen to test on: "
                         << screen_->failure();
        Environment_Changes environment = viewer_environment(screen_->display());
        for (const std::string& change : more_environment())
            environment.push_back(change);
        viewer_ = std::make_unique<Child_Process>(std::vector<std::string>{ZETA_VIEWER_PATH}, environment);
        ASSERT_TRUE(viewer_->started());
        main_window_ = find_window("Ostrelin zeta function viewer");
        ASSERT_NE(main_window_, "") << "main window not found; the viewer said: " << viewer_->wait(1s).err;
        main_origin_ = origin_of(main_window_);
        start_up_plot_ = wait_for_new_plot({});
    }

    void TearDown() override {
        if (viewer_) viewer_->stop();
        screen_.reset();
    }

    // What a fixture adds to the viewer's environment.
    virtual Environment_Changes more_environment() { return {}; }

    Exit xdotool(std::vector<std::string> arguments) { return e2e::xdotool(screen_->display(), arguments); }
    std::string find_window(const std::string& name) { return e2e::find_window(screen_->display(), name); }

    // Without a window manager a window's client area is the X window itself: its position, or with `size`
    // its width and height.
    Point origin_of(const std::string& window, bool size = false) {
        Point origin{-1, -1};
        std::istringstream lines(xdotool({"getwindowgeometry", "--shell", window}).out);
        const std::string x_key = size ? "WIDTH=" : "X=";
        const std::string y_key = size ? "HEIGHT=" : "Y=";
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind(x_key, 0) == 0) origin.x = std::stoi(line.substr(x_key.size()));
            if (line.rfind(y_key, 0) == 0) origin.y = std::stoi(line.substr(y_key.size()));
        }
        EXPECT_GE(origin.x, 0) << "no geometry for window " << window;
        return origin;
    }

    Screen_Image screenshot() {
        Screen_Image image;
        std::string error;
        EXPECT_TRUE(image.capture(screen_->display(), &error)) << error;
        return image;
    }

    Rgb shown(const Screen_Image& image, Point origin, int x, int y) const {
        return image.at(origin.x + x, origin.y + y);
    }

    Plot plot_shown(const Screen_Image& image) const {
        Plot plot;
        for (int i = 0; i < plot_columns; ++i) {
            for (int j = 0; j < plot_rows; ++j)
                plot.push_back(shown(image, main_origin_, plot_left + i, plot_bottom - j));
        }
        return plot;
    }

    // Moves the pointer to client (x, y) of the window at `origin` and clicks `button` there.
    void click(Point origin, int x, int y, const char* button = "1") {
        Exit clicked = xdotool({"mousemove", "--sync", std::to_string(origin.x + x),
                                std::to_string(origin.y + y), "click", button});
        ASSERT_EQ(clicked.status, 0) << clicked.err;
    }

    void move_pointer(Point origin, int x, int y) {
        Exit moved =
            xdotool({"mousemove", "--sync", std::to_string(origin.x + x), std::to_string(origin.y + y)});
        ASSERT_EQ(moved.status, 0) << moved.err;
    }

    // Polls, for this long at most, until `condition` holds.
    template <typename Condition>
    static bool wait_until(Condition condition, std::chrono::seconds limit = 20s) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (condition()) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    // Every pixel of [left, right) x [top, bottom), client coordinates of the main window, has `colour`.
    bool wait_for_area(int left, int top, int right, int bottom, const Rgb& colour) {
        return wait_until([&] {
            Screen_Image image = screenshot();
            for (int y = top; y < bottom; ++y) {
                for (int x = left; x < right; ++x)
                    if (shown(image, main_origin_, x, y) != colour) return false;
            }
            return true;
        });
    }

    // A finished calculation: the plot is black while one runs, so the next plot that is not all black,
    // differs from `previous` and stays the same over two screenshots.
    Plot wait_for_new_plot(const Plot& previous) {
        Plot plot;
        bool shown_new = wait_until(
            [&] {
                Plot last = std::exchange(plot, plot_shown(screenshot()));
                bool coloured =
                    std::any_of(plot.begin(), plot.end(), [](const Rgb& c) { return c != black; });
                return coloured && plot != previous && plot == last;
            },
            60s);
        EXPECT_TRUE(shown_new) << "no new finished plot was shown";
        return plot;
    }

    void expect_plot(const Plot& shown_plot, const Plot& expected, const Corner& corner = {}) {
        ASSERT_EQ(shown_plot.size(), expected.size());
        int wrong = 0;
        std::ostringstream first_wrong;
        for (int i = 0; i < plot_columns; ++i) {
            for (int j = 0; j < plot_rows; ++j) {
                const int k = i * plot_rows + j;
                if (drawn_over(i, j, corner) || shown_plot[k] == expected[k]) continue;
                if (wrong++ < 5)
                    first_wrong << " cell " << i << "," << j << " is " << describe(shown_plot[k]) << ", not "
                                << describe(expected[k]) << ";";
            }
        }
        EXPECT_EQ(wrong, 0) << "plot pixels differing from the computed cells:" << first_wrong.str();
    }

    // Right-clicks the plot at (x, y), waits for the menu, points at `entry` (`dx` right of the menu's left
    // edge) until it is highlighted, and chooses it.
    void choose_menu_entry(int entry, int x = menu_x, int y = menu_y, int dx = 10) {
        click(main_origin_, x, y, "3");
        const int probe_left = menu_probe_left - menu_x + x;
        const int probe_right = menu_probe_right - menu_x + x;
        const int last_row = y + (menu_entries - 1) * menu_row;
        ASSERT_TRUE(wait_for_area(probe_left, last_row + 1, probe_right, last_row + menu_row, menu_fill))
            << "the right-click menu did not open";
        const int row = y + entry * menu_row;
        move_pointer(main_origin_, x + dx, row + menu_row / 2);
        ASSERT_TRUE(wait_for_area(probe_left, row + 1, probe_right, row + menu_row, menu_highlight))
            << "entry " << entry << " was not highlighted";
        // Clicks where the pointer is: "mousemove --sync" to where it already is waits for a move that never
        // comes.
        Exit clicked = xdotool({"click", "1"});
        ASSERT_EQ(clicked.status, 0) << clicked.err;
    }

    void close_and_expect_clean_exit() {
        EXPECT_TRUE(request_close(screen_->display(), std::stoul(main_window_)));
        Exit exit = viewer_->wait(20s);
        EXPECT_TRUE(exit.finished) << "the viewer did not end after its main window was closed";
        EXPECT_EQ(exit.status, 0) << exit.err;
    }

    std::unique_ptr<Xvfb_Screen> screen_;
    std::unique_ptr<Child_Process> viewer_;
    std::string main_window_;
    Point main_origin_;
    Plot start_up_plot_;
};

TEST_F(Viewer_On_Xvfb, StartUpPlotIsTheReciprocalOfZetaPixelForPixelAndClosingExitsWithZero) {
    Screen_Image image = screenshot();
    EXPECT_EQ(shown(image, main_origin_, 500, 300), background);
    // Near the bottom-right corner of the client area: the default 960 x 768 window less its frame and
    // caption.
    EXPECT_EQ(shown(image, main_origin_, 945, 735), background);
    for (int y = 60; y < plot_bottom; ++y)
        ASSERT_EQ(shown(image, main_origin_, critical_line_x, y), critical_line)
            << "critical line, row " << y;
    expect_plot(start_up_plot_, expected_plot(Quantity::Reciprocal_Absolute_Value, start_precision));
    close_and_expect_clean_exit();
}

TEST_F(Viewer_On_Xvfb, MenuEntryGraphRealPartShowsTheRealPartOfZeta) {
    ASSERT_NO_FATAL_FAILURE(choose_menu_entry(graph_real_part_entry));
    // Closed: the menu's area right of the plot shows the background again.
    ASSERT_TRUE(wait_for_area(menu_probe_left, menu_y, menu_probe_right, menu_y + menu_entries * menu_row,
                              background))
        << "the menu did not close";
    Plot plot = wait_for_new_plot(start_up_plot_);
    expect_plot(plot, expected_plot(Quantity::Real_Part, start_precision));
    close_and_expect_clean_exit();
}

TEST_F(Viewer_On_Xvfb, APanReleasedOutsideTheWindowIsAppliedExactlyAsReleased) {
    const Point client = origin_of(main_window_, true);
    // Pressed in the plot, dragged out below the window, released there.
    const Point press{140, 300};
    const Point out{160, client.y + 40};
    Exit dragged =
        xdotool({"mousemove", "--sync", std::to_string(main_origin_.x + press.x),
                 std::to_string(main_origin_.y + press.y), "mousedown", "1", "mousemove", "--sync",
                 std::to_string(main_origin_.x + 150), std::to_string(main_origin_.y + client.y + 10),
                 "mousemove", "--sync", std::to_string(main_origin_.x + out.x),
                 std::to_string(main_origin_.y + out.y), "mouseup", "1"});
    ASSERT_EQ(dragged.status, 0) << dragged.err;
    // What the pan gives: the plot follows the pointer by its displacement, x reversed.
    const Corner panned{real_scale * static_cast<double>(press.x - out.x) + start_real_part,
                        imaginary_scale * static_cast<double>(out.y - press.y) + start_imaginary_part};
    Plot plot = wait_for_new_plot(start_up_plot_);
    expect_plot(plot, expected_plot(Quantity::Reciprocal_Absolute_Value, start_precision, panned), panned);

    // The drag is over: the pointer back over the plot without a button moves nothing.
    move_pointer(main_origin_, 120, 200);
    move_pointer(main_origin_, 170, 400);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(plot_shown(screenshot()), plot) << "the plot still follows the pointer";
    close_and_expect_clean_exit();
}

TEST_F(Viewer_On_Xvfb, MovedFrameStaysInReachAndMenusOpenWhollyInside) {
    const Point client = origin_of(main_window_, true);
    // "Move window" chosen 160 pixels right of the frame's left edge and 248 below its top.
    ASSERT_NO_FATAL_FAILURE(choose_menu_entry(0, 175, 300, 85));
    // Far left: the frame would leave the window; 20 of its columns stay.
    move_pointer(main_origin_, 10, 40);
    ASSERT_TRUE(wait_until([&] {
        Screen_Image image = screenshot();
        return shown(image, main_origin_, 19, 200) != background &&
               shown(image, main_origin_, 20, 200) == background;
    })) << "the frame is not kept 20 pixels inside the left edge";
    // Down to the bottom, where the release ends the move: the frame then spans x 10..90 and reaches below
    // the window.
    move_pointer(main_origin_, 170, client.y - 1);
    Exit clicked = xdotool({"click", "1"});
    ASSERT_EQ(clicked.status, 0) << clicked.err;
    ASSERT_TRUE(wait_until([&] {
        return shown(screenshot(), main_origin_, 50, client.y - 220) != background;
    })) << "the frame did not follow to the bottom";

    // Its menu, opened 10 pixels above the bottom edge, lies wholly inside, with nothing highlighted: not
    // "Move window", chosen last time, nor the entry now under the pointer.
    click(main_origin_, 50, client.y - 10, "3");
    const int menu_top = client.y - menu_entries * menu_row;
    // Right of the longest entry's text, up to the menu's right edge (8.5 pixels per character of it).
    const int probe_left = 50 + 230;
    const int probe_right = 50 + 263;
    ASSERT_TRUE(wait_for_area(probe_left, menu_top, probe_right, client.y, menu_fill))
        << "the menu is not wholly inside the window, or an entry is highlighted";
    Screen_Image image = screenshot();
    EXPECT_EQ(shown(image, main_origin_, probe_left, menu_top - 1), background)
        << "the menu is not where expected";

    // A click without moving chooses nothing: the menu closes and the frame stays.
    clicked = xdotool({"click", "1"});
    ASSERT_EQ(clicked.status, 0) << clicked.err;
    // Above the readout line, which shows the cell under the pointer again.
    ASSERT_TRUE(wait_for_area(probe_left, menu_top, probe_right, client.y - 24, background))
        << "the menu did not close";
    move_pointer(main_origin_, 400, 300);
    std::this_thread::sleep_for(300ms);
    image = screenshot();
    EXPECT_NE(shown(image, main_origin_, 50, client.y - 220), background) << "the frame moved away";
    EXPECT_EQ(shown(image, main_origin_, 300, 300), background);
    close_and_expect_clean_exit();
}

TEST_F(Viewer_On_Xvfb, OptionsWindowAppliesATypedPrecision) {
    ASSERT_NO_FATAL_FAILURE(choose_menu_entry(options_entry));
    std::string options = find_window("Options");
    ASSERT_NE(options, "") << "the Options window did not appear";
    // Out of the plot's way: it opens over it.
    ASSERT_EQ(xdotool({"windowmove", "--sync", options, "560", "120"}).status, 0);
    Point origin = origin_of(options);
    ASSERT_TRUE(wait_until([&] { return plot_shown(screenshot()) == start_up_plot_; }))
        << "the plot was not shown again when the Options window moved away";

    Screen_Image image = screenshot();
    for (int y = 30; y < 450; y += 10)
        EXPECT_EQ(shown(image, origin, 350, y), button_face) << "Options window, row " << y;
    for (int edit_top = 30; edit_top <= 390; edit_top += 60) {
        for (int x = 285; x < 298; ++x)
            EXPECT_EQ(shown(image, origin, x, edit_top + 15), white) << "edit at " << edit_top << ", x " << x;
    }

    click(origin, 250, 405);
    ASSERT_EQ(xdotool({"windowfocus", "--sync", options}).status, 0);
    ASSERT_EQ(xdotool({"key", "ctrl+a"}).status, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "40", "20"}).status, 0);
    click(origin, 250, 480);  // "Apply values"

    Plot plot = wait_for_new_plot(start_up_plot_);
    expect_plot(plot, expected_plot(Quantity::Reciprocal_Absolute_Value, 20));
    close_and_expect_clean_exit();
}

// The main window's client area at the viewer's default size on this screen (960 x 768 less the frame and
// caption), the size zeta-render draws.
constexpr int client_width = 952;
constexpr int client_height = 741;

// The lower-left corner of a zoomed plot and its scales.
struct Scaled_Corner {
    double real_part = start_real_part;
    double imaginary_part = start_imaginary_part;
    double real_scale = e2e::real_scale;
    double imaginary_scale = e2e::imaginary_scale;
};

// One notch away from the user (in) or towards the user (out) about cell (i, j), whose s stays.
Scaled_Corner zoomed(Scaled_Corner c, int i, int j, bool in) {
    const double real_scale = in ? c.real_scale * 0.8 : c.real_scale / 0.8;
    const double imaginary_scale = in ? c.imaginary_scale * 0.8 : c.imaginary_scale / 0.8;
    c.real_part = (i * c.real_scale + c.real_part) - i * real_scale;
    c.imaginary_part = (j * c.imaginary_scale + c.imaginary_part) - j * imaginary_scale;
    c.real_scale = real_scale;
    c.imaginary_scale = imaginary_scale;
    return c;
}

std::string exact(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

class Viewer_Zoom_On_Xvfb : public Viewer_On_Xvfb {
protected:
    using Picture = std::vector<Rgb>;

    Picture client_picture() {
        Screen_Image image = screenshot();
        Picture picture;
        for (int y = 0; y < client_height; ++y) {
            for (int x = 0; x < client_width; ++x)
                picture.push_back(shown(image, main_origin_, x, y));
        }
        return picture;
    }

    // What zeta-render draws for the start-up plot moved to `corner`, with `more` options.
    Picture rendered(const Scaled_Corner& corner, const std::vector<std::string>& more = {}) {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("zoom-e2e-" + std::to_string(getpid()) + ".png");
        std::vector<std::string> arguments{ZETA_RENDER_PATH,
                                           "-q",
                                           "-o",
                                           path.string(),
                                           "--real",
                                           exact(corner.real_part),
                                           "--imaginary",
                                           exact(corner.imaginary_part),
                                           "--real-scale",
                                           exact(corner.real_scale),
                                           "--imaginary-scale",
                                           exact(corner.imaginary_scale)};
        arguments.insert(arguments.end(), more.begin(), more.end());
        Exit render = run(arguments, {}, 60s);
        EXPECT_EQ(render.status, 0) << render.err;
        const tools_test::Decoded_Png png = tools_test::read_png(path.string());
        std::filesystem::remove(path);
        EXPECT_TRUE(png.ok) << png.error;
        EXPECT_EQ(png.width, client_width);
        EXPECT_EQ(png.height, client_height);
        Picture picture;
        for (std::uint32_t pixel : png.pixels)
            picture.push_back({static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF),
                               static_cast<int>(pixel & 0xFF)});
        return picture;
    }

    // Waits until the window shows `expected` (calculations end, repaints arrive).
    void expect_picture(const Picture& expected, const char* what) {
        Picture last;
        const bool same = wait_until([&] { return (last = client_picture()) == expected; }, 30s);
        if (same) return;
        int differing = 0;
        std::ostringstream first;
        for (std::size_t k = 0; k < expected.size() && k < last.size(); ++k) {
            if (last[k] == expected[k]) continue;
            if (differing++ < 5)
                first << " (" << k % client_width << ", " << k / client_width << ") is " << describe(last[k])
                      << ", not " << describe(expected[k]) << ";";
        }
        ADD_FAILURE() << what << ": " << differing << " pixels differ:" << first.str();
    }

    void turn_wheel(int x, int y, const char* button) {
        move_pointer(main_origin_, x, y);
        ASSERT_EQ(xdotool({"click", button}).status, 0);
        // The readout goes when the pointer leaves the plot; the pictures compared have none.
        move_pointer(main_origin_, 600, 700);
    }
};

TEST_F(Viewer_Zoom_On_Xvfb, WheelZoomsAboutThePointerAndBackTwiceRestoresTheStartUpPicture) {
    const Picture start_up = client_picture();
    // The wheel goes to the focused window: a click on the background focuses the main window.
    click(main_origin_, 600, 700);

    // Button 4 is a notch away from the user: in, about cell (40, 280).
    ASSERT_NO_FATAL_FAILURE(turn_wheel(140, 300, "4"));
    const Scaled_Corner in = zoomed(Scaled_Corner{}, 40, 280, true);
    const Picture zoomed_in = rendered(in);
    expect_picture(zoomed_in, "zoomed in");

    // Button 5, towards the user: out, about cell (70, 80).
    ASSERT_NO_FATAL_FAILURE(turn_wheel(170, 500, "5"));
    expect_picture(rendered(zoomed(in, 70, 80, false)), "zoomed out");

    const int back_entry = menu_entries;  // the last, after the others
    ASSERT_NO_FATAL_FAILURE(choose_menu_entry(back_entry));
    move_pointer(main_origin_, 600, 700);
    expect_picture(zoomed_in, "one step back");
    ASSERT_NO_FATAL_FAILURE(choose_menu_entry(back_entry));
    move_pointer(main_origin_, 600, 700);
    expect_picture(start_up, "two steps back");
    close_and_expect_clean_exit();
}

TEST_F(Viewer_Zoom_On_Xvfb, GraphPhaseShowsThePhasePortraitThatZetaRenderDraws) {
    ASSERT_NO_FATAL_FAILURE(choose_menu_entry(graph_phase_entry));
    move_pointer(main_origin_, 600, 700);
    expect_picture(rendered(Scaled_Corner{}, {"--mode", "phase"}), "phase portrait");
    close_and_expect_clean_exit();
}

TEST_F(Viewer_Zoom_On_Xvfb, ShowZerosMarksTheZerosInViewAndSumsThemUpAsZetaRenderDraws) {
    ASSERT_NO_FATAL_FAILURE(choose_menu_entry(show_zeros_entry));
    move_pointer(main_origin_, 600, 700);
    expect_picture(rendered(Scaled_Corner{}, {"--zeros"}), "zeros of the start-up view");
    close_and_expect_clean_exit();
}

// The viewer with a home folder of its own, for the pictures it saves.
class Viewer_Keys_On_Xvfb : public Viewer_Zoom_On_Xvfb {
protected:
    Environment_Changes more_environment() override {
        std::filesystem::create_directories(home_ / "Pictures");
        return {"HOME=" + home_.string(), "XDG_CONFIG_HOME=" + (home_ / "config").string()};
    }
    void TearDown() override {
        Viewer_Zoom_On_Xvfb::TearDown();
        std::filesystem::remove_all(home_);
    }
    void key(const std::string& keys) { ASSERT_EQ(xdotool({"key", "--clearmodifiers", keys}).status, 0); }

    const std::filesystem::path home_ =
        std::filesystem::temp_directory_path() / ("zeta-keys-e2e-" + std::to_string(getpid()));
};

TEST_F(Viewer_Keys_On_Xvfb, KeysPanZoomGoBackReturnToTheStartAndCloseTheMenu) {
    const Picture start_up = client_picture();
    click(main_origin_, 600, 700);  // the keys go to the focused window

    // Right: a tenth of the plot's 80 columns, as a drag of 8 pixels to the left.
    ASSERT_NO_FATAL_FAILURE(key("Right"));
    Scaled_Corner right;
    right.real_part = real_scale * 8.0 + start_real_part;
    expect_picture(rendered(right), "moved right");
    // Up: 52 rows, as a drag of 52 pixels down.
    ASSERT_NO_FATAL_FAILURE(key("Up"));
    Scaled_Corner up = right;
    up.imaginary_part = imaginary_scale * 52.0 + start_imaginary_part;
    expect_picture(rendered(up), "moved up");
    // + on the keypad: one notch in about the centre cell (40, 260).
    ASSERT_NO_FATAL_FAILURE(key("KP_Add"));
    expect_picture(rendered(zoomed(up, 40, 260, true)), "zoomed in");
    ASSERT_NO_FATAL_FAILURE(key("minus"));
    ASSERT_NO_FATAL_FAILURE(key("BackSpace"));
    expect_picture(rendered(zoomed(up, 40, 260, true)), "back to the zoomed view");
    ASSERT_NO_FATAL_FAILURE(key("Home"));
    expect_picture(start_up, "home");

    click(main_origin_, 140, 300, "3");
    move_pointer(main_origin_, 600, 700);
    ASSERT_NO_FATAL_FAILURE(key("Escape"));
    expect_picture(start_up, "the menu closed");
    close_and_expect_clean_exit();
}

TEST_F(Viewer_Keys_On_Xvfb, CtrlCCopiesTheReadoutAndCtrlSSavesWhatTheWindowShows) {
    click(main_origin_, 600, 700);
    // Cell (30, 0) of the start-up plot: s = 0.6 - 5i.
    move_pointer(main_origin_, plot_left + 30, plot_bottom);
    ASSERT_NO_FATAL_FAILURE(key("ctrl+c"));
    const Complex s{30 * real_scale + start_real_part, start_imaginary_part};
    Complex accurate, series;
    evaluate_zeta_accurately(s, accurate);
    evaluate_zeta(start_precision, s, series);
    const std::string expected =
        readout_line(s, accurate, real_scale, imaginary_scale) + series_error_suffix(series, accurate);
    Exit pasted;
    wait_until([&] {
        pasted = run({"xclip", "-o", "-selection", "clipboard"}, {"DISPLAY=" + screen_->display()}, 10s);
        return pasted.out == expected;
    });
    EXPECT_EQ(pasted.out, expected) << pasted.err;

    move_pointer(main_origin_, 600, 700);
    ASSERT_NO_FATAL_FAILURE(key("ctrl+s"));
    // The file appears as soon as the viewer starts writing it: it is read once it decodes.
    std::filesystem::path saved;
    tools_test::Decoded_Png png;
    wait_until([&] {
        for (const auto& entry : std::filesystem::directory_iterator(home_ / "Pictures"))
            saved = entry.path();
        if (!saved.empty()) png = tools_test::read_png(saved.string());
        return png.ok;
    });
    ASSERT_FALSE(saved.empty()) << "no picture saved";
    ASSERT_TRUE(png.ok) << png.error;
    Picture picture;
    for (std::uint32_t pixel : png.pixels)
        picture.push_back({static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF),
                           static_cast<int>(pixel & 0xFF)});
    EXPECT_TRUE(picture == rendered(Scaled_Corner{})) << "the saved picture is zeta-render's";
    close_and_expect_clean_exit();
}

}  // namespace
}  // namespace e2e
