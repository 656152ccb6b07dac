// The plot's frame dragged to the largest size the pointer allows and to its smallest.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/testing/testing.h"
#include "screen_objects/object_registry.h"
#include "tests/app/app_fixture.h"
#include "tests/app/program_checks.h"
#include "tests/support/message_pump.h"

namespace app_test {
namespace {

constexpr char out_of_memory_text[] = "Not enough memory for a plot of this size";

// Peak resident memory of the process so far, in KiB.
long peak_resident_kib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

class Frame_Extremes : public Application_Test {
protected:
    void SetUp() override {
        Application_Test::SetUp();
        compute_quick_plot();
        baseline_ = take_baseline(app());
    }

    // Mouse messages as the window gets them with the pointer captured far beyond its client area, at the
    // largest position that the signed halves of the position parameter carry.
    static void post_mouse(UINT message, int x, int y) {
        PostMessageA(main_window(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
        test_support::pump_until_idle();
    }

    Program_Baseline baseline_;
};

TEST_F(Frame_Extremes, TheLargestFrameIsRefusedWithoutTouchingMemory) {
    const long peak_before = peak_resident_kib();
    // The bottom-right corner.
    platform::headless::mouse_down(main_window(), app().plot_rect.right, app().plot_rect.bottom);
    test_support::pump_until_idle();
    post_mouse(WM_MOUSEMOVE, 32767, 32767);
    post_mouse(WM_LBUTTONUP, 32767, 32767);
    EXPECT_EQ(app().plot_rect.left, 100);
    EXPECT_EQ(app().plot_rect.top, 60);
    EXPECT_EQ(app().plot_rect.right, 32767);
    EXPECT_EQ(app().plot_rect.bottom, 32767);

    // 32667 x 32707 cells would take 8.5 GB.
    EXPECT_EQ(status_text_copy(viewer().job), out_of_memory_text);
    EXPECT_FALSE(viewer().job.running);
    EXPECT_EQ(viewer().job.grid.width, 0);
    EXPECT_LT(peak_resident_kib() - peak_before, 256 * 1024);
    ASSERT_TRUE(program_is_sane(app(), baseline_));

    // It still pans, opens its menu and closes.
    platform::headless::mouse_down(main_window(), 300, 300);
    move(320, 310);
    EXPECT_EQ(viewer().panning, 1);
    platform::headless::mouse_up(main_window(), 320, 310);
    test_support::pump_until_idle();
    EXPECT_EQ(status_text_copy(viewer().job), out_of_memory_text);
    choose_menu_entry(300, 300, "Options");
    EXPECT_TRUE(IsWindowVisible(viewer().options_window));
    ASSERT_TRUE(program_is_sane(app(), baseline_));
    platform::headless::request_close(main_window());
    EXPECT_EQ(test_support::pump_until_idle(), std::optional<int>(0));
}

TEST_F(Frame_Extremes, AFrameReachingFarBeyondTheWindowComputesAndRepaintsAtOnce) {
    // The right edge to 32767: 32667 x 520 cells, 136 MB, which the grid may take.
    platform::headless::mouse_down(main_window(), app().plot_rect.right, 300);
    test_support::pump_until_idle();
    post_mouse(WM_MOUSEMOVE, 32767, 300);
    EXPECT_LT(seconds_taken([] { post_mouse(WM_LBUTTONUP, 32767, 300); }), hang_guard_seconds);
    EXPECT_EQ(app().plot_rect.right, 32767);
    EXPECT_EQ(viewer().job.grid.width, 32667);
    EXPECT_EQ(status_text_copy(viewer().job), "Calculating values...");
    ASSERT_TRUE(program_is_sane(app(), baseline_));

    // Each repaint costs what the window shows, not what the plot holds. The calculation is stopped so that
    // it does not compete with the repaints for the processor.
    stop_calculation(viewer().job);
    platform::headless::mouse_down(main_window(), 300, 300);
    EXPECT_LT(seconds_taken([] {
                  for (int x = 301; x < 311; ++x)
                      move(x, 300);
              }),
              hang_guard_seconds);
    EXPECT_EQ(viewer().job.pan_offset_x, -10.0);
    platform::headless::request_close(main_window());
    EXPECT_EQ(test_support::pump_until_idle(), std::optional<int>(0));
    EXPECT_LT(seconds_taken([] { app().finish(); }), hang_guard_seconds);
}

TEST_F(Frame_Extremes, TheSmallestFrameComputesTwoByTwoCells) {
    // The bottom-right corner dragged to 2 pixels from the top-left one, then beyond, where it stays.
    platform::headless::mouse_down(main_window(), app().plot_rect.right, app().plot_rect.bottom);
    move(150, 300);
    move(102, 62);
    move(40, 20);
    platform::headless::mouse_up(main_window(), 40, 20);
    test_support::pump_until_idle();
    EXPECT_EQ(app().plot_rect.right, 102);
    EXPECT_EQ(app().plot_rect.bottom, 62);
    finish_calculation();
    EXPECT_EQ(viewer().job.grid.width, 2);
    EXPECT_EQ(viewer().job.grid.height, 2);
    EXPECT_EQ(status_text_copy(viewer().job),
              "Finished calculating reciprocal absolute value with 10 iterations.");
    ASSERT_TRUE(program_is_sane(app(), baseline_));

    right_click(101, 61);  // its one inner pixel
    EXPECT_EQ(object_registry.find_record(main_window())->objects[0], &viewer().menu);
    left_click(600, 600);
    ASSERT_TRUE(program_is_sane(app(), baseline_));
}

}  // namespace
}  // namespace app_test
