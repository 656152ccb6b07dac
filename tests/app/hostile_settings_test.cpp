// Hostile text in the Options window, each applied while a calculation runs: the program goes on panning,
// opening its menu and closing, and a calculation of any precision stays cancellable at once.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/options_window.h"
#include "platform/testing/testing.h"
#include "screen_objects/object_registry.h"
#include "tests/app/app_fixture.h"
#include "tests/app/program_checks.h"
#include "tests/support/message_pump.h"

namespace app_test {
namespace {

constexpr int32_t long_precision = 2000000000;

struct Hostile_Settings {
    const char* name;
    std::vector<std::pair<HWND Options_Window::*, std::string>> fields;
};

void PrintTo(const Hostile_Settings& settings, std::ostream* out) {
    *out << settings.name;
}

std::vector<std::pair<HWND Options_Window::*, std::string>> every_field(const std::string& text) {
    return {{&Options_Window::ceiling_edit, text},    {&Options_Window::floor_edit, text},
            {&Options_Window::real_part_edit, text},  {&Options_Window::imaginary_part_edit, text},
            {&Options_Window::real_scale_edit, text}, {&Options_Window::imaginary_scale_edit, text},
            {&Options_Window::precision_edit, text}};
}

std::vector<std::pair<HWND Options_Window::*, std::string>> both_scales(const std::string& text) {
    return {{&Options_Window::real_scale_edit, text}, {&Options_Window::imaginary_scale_edit, text}};
}

const Hostile_Settings hostile_settings[] = {
    {"PrecisionZero", {{&Options_Window::precision_edit, "0"}}},
    {"PrecisionNegative", {{&Options_Window::precision_edit, "-5"}}},
    {"PrecisionLargest", {{&Options_Window::precision_edit, "2147483647"}}},
    {"ScalesZero", both_scales("0")},
    {"ScalesNegative", both_scales("-0.03")},
    {"ScalesHuge", both_scales("1e308")},
    {"ScalesTinyNegative", both_scales("-1e-308")},
    {"ScalesNaN", both_scales("nan")},
    {"ScalesInfinite", both_scales("inf")},
    {"CeilingBelowFloor", {{&Options_Window::ceiling_edit, "-5"}, {&Options_Window::floor_edit, "5"}}},
    {"CeilingAndFloorInfinite",
     {{&Options_Window::ceiling_edit, "inf"}, {&Options_Window::floor_edit, "-inf"}}},
    {"Digits999", every_field(std::string(999, '9'))},
    {"Digits5000", every_field(std::string(5000, '9'))},
    {"BytesAbove127", every_field("\x80\xa0\xc3\xa9\xff\xfe")},
    {"Empty", every_field("")},
};

class Hostile_Options : public Application_Test, public ::testing::WithParamInterface<Hostile_Settings> {
protected:
    void SetUp() override {
        Application_Test::SetUp();
        finish_calculation();
        baseline_ = take_baseline(app());
    }

    static void start_long_calculation() {
        viewer().job.settings.precision = long_precision;
        viewer().job.status_text = "Calculating values...";
        viewer().restart_calculation();
        ASSERT_TRUE(viewer().job.running);
    }

    Program_Baseline baseline_;
};

TEST_P(Hostile_Options, LeaveAProgramThatPansOpensMenusAndCloses) {
    start_long_calculation();
    choose_menu_entry(120, 300, "Options");
    ASSERT_TRUE(IsWindowVisible(options().window));
    // Small unless the case says otherwise, so that the plot can finish.
    SendMessageA(options().precision_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("10"));
    for (const auto& [edit, text] : GetParam().fields)
        SendMessageA(options().*edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));

    EXPECT_LT(seconds_taken([] {
                  platform::headless::click(options().apply_button, 50, 20);
                  test_support::pump_until_idle();
              }),
              hang_guard_seconds);
    ASSERT_TRUE(program_is_sane(app(), baseline_));
    if (viewer().job.settings.precision <= 1000) {
        finish_calculation();
        EXPECT_EQ(status_text_copy(viewer().job), "Finished calculating reciprocal absolute value with " +
                                                      std::to_string(viewer().job.settings.precision) +
                                                      " iterations.");
        ASSERT_TRUE(program_is_sane(app(), baseline_));
    }

    // A pan: the drag shifts the picture, the release restarts the calculation at once.
    platform::headless::mouse_down(main_window(), 140, 300);
    move(160, 320);
    EXPECT_EQ(viewer().panning, 1);
    EXPECT_EQ(viewer().job.pan_offset_x, -20.0);
    EXPECT_EQ(viewer().job.pan_offset_y, 20.0);
    EXPECT_LT(seconds_taken([] {
                  platform::headless::mouse_up(main_window(), 160, 320);
                  test_support::pump_until_idle();
              }),
              hang_guard_seconds);
    EXPECT_EQ(viewer().panning, 0);
    ASSERT_TRUE(program_is_sane(app(), baseline_));

    right_click(140, 300);
    Window_Object_List* list = object_registry.find_record(main_window());
    ASSERT_EQ(list->objects.size(), 3u);
    EXPECT_EQ(list->objects[0], &viewer().menu);
    left_click(700, 700);  // closes it without a choice
    EXPECT_EQ(list->objects.size(), 2u);
    ASSERT_TRUE(program_is_sane(app(), baseline_));

    platform::headless::request_close(main_window());
    EXPECT_EQ(test_support::pump_until_idle(), std::optional<int>(0));
    EXPECT_LT(seconds_taken([] { app().finish(); }), hang_guard_seconds);
    EXPECT_FALSE(viewer().job.thread.joinable());
}

INSTANTIATE_TEST_SUITE_P(Text, Hostile_Options, ::testing::ValuesIn(hostile_settings),
                         [](const ::testing::TestParamInfo<Hostile_Settings>& info) {
                             return info.param.name;
                         });

using Closing = Application_Test;

TEST_F(Closing, DuringACalculationWithTheLargestPrecisionEndsAtOnce) {
    finish_calculation();
    choose_menu_entry(120, 300, "Options");
    SendMessageA(options().precision_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("2147483647"));
    platform::headless::click(options().apply_button, 50, 20);
    test_support::pump_until_idle();
    ASSERT_EQ(viewer().job.settings.precision, 2147483647);
    ASSERT_TRUE(viewer().job.running);

    platform::headless::request_close(main_window());
    EXPECT_EQ(app().run_message_loop(), 0);
    EXPECT_LT(seconds_taken([] { app().finish(); }), hang_guard_seconds);
    EXPECT_FALSE(viewer().job.running);
}

}  // namespace
}  // namespace app_test
