// Exploring the plane in the running application: wheel zoom about the pointer, "Back" through the views,
// and the progress bar of a long calculation.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/options_window.h"
#include "platform/display/headless.h"
#include "screen_objects/object_registry.h"
#include "tests/app/app_fixture.h"
#include "tests/support/message_pump.h"
#include "zeta/progress_bar.h"

namespace app_test {
namespace {

constexpr COLORREF blue = RGB(0, 0, 255);
constexpr COLORREF black = RGB(0, 0, 0);
const std::string calculating = "Calculating values...";

struct Corner {
    double real_part;
    double imaginary_part;
    double real_scale;
    double imaginary_scale;
};

Corner corner() {
    const Plot_Job& job = viewer.job;
    return {job.real_part, job.imaginary_part, job.real_scale, job.imaginary_scale};
}

// The zoom written out from its definition: per notch, scales times 0.8 (away) or divided by 0.8 (towards),
// and the cell (i, j) keeps its s.
Corner zoomed(Corner c, int i, int j, int notches) {
    for (int n = 0; n < std::abs(notches); ++n) {
        const double real_scale = notches > 0 ? c.real_scale * 0.8 : c.real_scale / 0.8;
        const double imaginary_scale = notches > 0 ? c.imaginary_scale * 0.8 : c.imaginary_scale / 0.8;
        c.real_part = (i * c.real_scale + c.real_part) - i * real_scale;
        c.imaginary_part = (j * c.imaginary_scale + c.imaginary_part) - j * imaginary_scale;
        c.real_scale = real_scale;
        c.imaginary_scale = imaginary_scale;
    }
    return c;
}

void expect_corner(const Corner& expected) {
    const Corner now = corner();
    EXPECT_EQ(now.real_part, expected.real_part);
    EXPECT_EQ(now.imaginary_part, expected.imaginary_part);
    EXPECT_EQ(now.real_scale, expected.real_scale);
    EXPECT_EQ(now.imaginary_scale, expected.imaginary_scale);
}

class Explore : public Application_Test {
protected:
    void SetUp() override {
        Application_Test::SetUp();
        finish_calculation();
    }

    static std::vector<std::string> menu_entries(int x, int y) {
        right_click(x, y);
        std::vector<std::string> entries = viewer.menu.items;
        move(700, 700);  // off the menu, so that no entry is under the pointer
        left_click(700, 700);
        return entries;
    }

    // "Back" is the last entry, when there is one.
    static void choose_back() {
        choose_menu_entry(120, 100, static_cast<int>(menu_entries(120, 100).size()) - 1);
    }
};

TEST_F(Explore, WheelZoomsAboutTheCellUnderThePointerAtCornersAndMiddle) {
    // Bottom-left cell (0, 0), top-right cell (79, 519), and the middle.
    const struct {
        int x, y, i, j, notches;
    } cases[] = {{100, 580, 0, 0, 1}, {179, 61, 79, 519, 1}, {140, 320, 40, 260, -1}, {179, 580, 79, 0, 2}};
    for (const auto& c : cases) {
        const Corner before = corner();
        wheel(c.x, c.y, c.notches);
        SCOPED_TRACE(testing::Message() << "pointer " << c.x << ", " << c.y);
        expect_corner(zoomed(before, c.i, c.j, c.notches));
        EXPECT_EQ(status_text_copy(viewer.job), calculating);
        finish_calculation();
    }
    EXPECT_EQ(viewer.history.size(), 4u);
}

TEST_F(Explore, NotchesInOneMessageZoomNotchByNotchAndInThenOutComesBack) {
    const Corner start = corner();
    wheel(130, 400, 3);
    const Corner in = zoomed(start, 30, 180, 3);
    expect_corner(in);
    wheel(130, 400, -3);
    expect_corner(zoomed(in, 30, 180, -3));
    EXPECT_NEAR(viewer.job.real_scale, start.real_scale, 1e-15);
    EXPECT_NEAR(viewer.job.imaginary_part, start.imaginary_part, 1e-12);
    finish_calculation();
}

TEST_F(Explore, WheelOutsideThePlotOrDuringADragDoesNothing) {
    const Corner start = corner();
    const std::string status = status_text_copy(viewer.job);
    wheel(50, 50, 1);    // background
    wheel(180, 300, 1);  // the frame's right edge: no cell there
    wheel(140, 60, 1);   // the top edge
    platform::headless::mouse_down(main_window, 140, 300);
    test_support::pump_until_idle();
    wheel(140, 300, 1);  // panning
    expect_corner(start);
    EXPECT_EQ(status_text_copy(viewer.job), status);
    EXPECT_TRUE(viewer.history.empty());
    platform::headless::mouse_up(main_window, 140, 300);
    test_support::pump_until_idle();
    EXPECT_TRUE(viewer.history.empty()) << "a release that changes nothing pushes nothing";
    finish_calculation();
}

TEST_F(Explore, BackIsTheLastEntryOnlyWithAViewToGoBackToAndUndoesChangesInReverse) {
    const std::vector<std::string> plain = menu_entries(120, 100);
    ASSERT_EQ(plain.size(), 7u);
    EXPECT_EQ(plain.back(), "Options");

    const Corner start = corner();
    // A pan of 10 pixels right, a graph entry, the same graph entry again, a zoom.
    platform::headless::mouse_down(main_window, 140, 300);
    platform::headless::mouse_move(main_window, 150, 300);
    platform::headless::mouse_up(main_window, 150, 300);
    test_support::pump_until_idle();
    const Corner panned = corner();
    EXPECT_NE(panned.real_part, start.real_part);
    choose_menu_entry(120, 100, 2);  // "Graph Real part"
    choose_menu_entry(120, 100, 2);  // the same again: no change
    wheel(140, 300, 1);
    finish_calculation();
    EXPECT_EQ(viewer.history.size(), 3u);

    const std::vector<std::string> entries = menu_entries(120, 100);
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries.back(), "Back");

    choose_back();
    expect_corner(panned);
    EXPECT_EQ(viewer.job.mode, Real_Part);
    EXPECT_EQ(status_text_copy(viewer.job), calculating);
    choose_back();
    EXPECT_EQ(viewer.job.mode, Reciprocal_Absolute_Value);
    choose_back();
    expect_corner(start);
    finish_calculation();
    EXPECT_EQ(menu_entries(120, 100).size(), 7u);
}

TEST_F(Explore, HistoryKeepsTheLatestHundredViews) {
    for (int n = 0; n < 101; ++n)
        wheel(140, 300, 1);
    EXPECT_EQ(viewer.history.size(), 100u);
    Corner after_first = zoomed(Corner{0.0, -5.0, 0.02, 0.1}, 40, 280, 1);
    for (int n = 0; n < 100; ++n)
        viewer.go_back();
    expect_corner(after_first);  // the view before the first zoom was dropped
    EXPECT_TRUE(viewer.history.empty());
    finish_calculation();
}

TEST_F(Explore, ApplyValuesPushesAndBackRefreshesTheShownOptionsFields) {
    choose_menu_entry(120, 300, 6);  // "Options"
    SendMessageA(real_part_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0.25"));
    platform::headless::click(apply_button, 50, 20);
    test_support::pump_until_idle();
    EXPECT_EQ(viewer.job.real_part, 0.25);
    EXPECT_EQ(viewer.history.size(), 1u);
    platform::headless::click(apply_button, 50, 20);  // the same values again
    test_support::pump_until_idle();
    EXPECT_EQ(viewer.history.size(), 1u);

    viewer.go_back();
    EXPECT_EQ(viewer.job.real_part, 0.0);
    EXPECT_EQ(window_text(real_part_edit), "0.000000");
    finish_calculation();
}

// Pumps, timers included, until `done` or two seconds have passed.
template <typename Condition>
bool pump_until(Condition done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < limit) {
        test_support::pump_until_idle();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST_F(Explore, ALongCalculationShowsAProgressBarThatGoesWhenItIsCancelledOrEnds) {
    const RECT bar = progress_bar_rect(plot_rect);
    viewer.job.precision = 2000000000;
    left_click(140, 300);  // restarts with the huge precision
    const std::string status = status_text_copy(viewer.job);
    test_support::pump_until_idle();
    EXPECT_FALSE(viewer.job.progress_shown) << "not before half a second";
    EXPECT_EQ(shown(bar.left, bar.top), blue);

    ASSERT_TRUE(pump_until([] { return viewer.job.progress_shown; }));
    EXPECT_EQ(shown(bar.left, bar.top), black);
    EXPECT_EQ(shown(bar.right - 1, bar.bottom - 1), black);
    EXPECT_EQ(status_text_copy(viewer.job), status) << "the status line keeps its text";

    viewer.job.precision = 100;
    left_click(140, 300);  // cancels the long calculation and starts a short one
    EXPECT_FALSE(viewer.job.progress_shown);
    finish_calculation();
    EXPECT_EQ(shown(bar.left, bar.top), blue);
    EXPECT_EQ(shown(bar.right - 1, bar.bottom - 1), blue);
}

TEST(Progress_Bar, FillsByTheShareOfTermsAndHidesWhenComplete) {
    Plot_Job job;
    RECT plot{100, 60, 180, 580};
    job.plot_rect = &plot;
    job.running = true;
    job.work_total = 1000;
    job.terms_summed = 500;
    const auto start = std::chrono::steady_clock::now();
    job.started_at = start;
    EXPECT_FALSE(update_progress(job, start + std::chrono::milliseconds(499)));
    EXPECT_TRUE(update_progress(job, start + progress_delay));
    EXPECT_TRUE(job.progress_shown);
    EXPECT_EQ(job.progress_filled, 49);  // half of the 98 pixels inside the frame
    EXPECT_FALSE(update_progress(job, start + std::chrono::seconds(1))) << "nothing changed";
    job.terms_summed = 1000;
    EXPECT_TRUE(update_progress(job, start + std::chrono::seconds(1)));
    EXPECT_FALSE(job.progress_shown);
    job.running = false;
}

}  // namespace
}  // namespace app_test
