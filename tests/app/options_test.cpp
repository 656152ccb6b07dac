// The Options window: showing the settings, editing, applying and hiding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/options_window.h"
#include "platform/testing/testing.h"
#include "tests/app/app_fixture.h"
#include "tests/support/message_pump.h"

namespace app_test {
namespace {

class Options : public Application_Test {
protected:
    void SetUp() override {
        Application_Test::SetUp();
        finish_calculation();
        choose_menu_entry(120, 300, "Options");
    }

    static void set_text(HWND edit, const std::string& text) {
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    // Activation moves to the main window and back: the fields are filled twice.
    static void refill() {
        platform::headless::click(main_window(), 900, 700);
        platform::headless::click(options().window, 350, 20);
        test_support::pump_until_idle();
    }

    static void press_apply() {
        platform::headless::click(options().apply_button, 50, 20);
        test_support::pump_until_idle();
    }
};

TEST_F(Options, OpensShowingTheCurrentSettings) {
    ASSERT_TRUE(IsWindowVisible(options().window));
    EXPECT_EQ(GetActiveWindow(), options().window);
    EXPECT_EQ(window_text(options().ceiling_edit), "5.000000");
    EXPECT_EQ(window_text(options().floor_edit), "-5.000000");
    EXPECT_EQ(window_text(options().real_part_edit), "0.000000");
    EXPECT_EQ(window_text(options().imaginary_part_edit), "-5.000000");
    EXPECT_EQ(window_text(options().real_scale_edit), "0.020000");
    EXPECT_EQ(window_text(options().imaginary_scale_edit), "0.100000");
    EXPECT_EQ(window_text(options().precision_edit), "100");
    EXPECT_EQ(window_text(options().apply_button), "Apply values");
}

TEST_F(Options, PaintsItsLabelsOnTheButtonFace) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Right of the labels and left of the edits there is only the window's own colour.
    EXPECT_EQ(platform::headless::pixel(options().window, 195, 35), face);
    // Each label draws dark text somewhere in the first rows of its box.
    for (int top : {30, 90, 150, 210, 270, 330, 390}) {
        int dark = 0;
        for (int y = top; y < top + 16; ++y) {
            for (int x = 30; x < 130; ++x) {
                if (platform::headless::pixel(options().window, x, y) != face) ++dark;
            }
        }
        EXPECT_GT(dark, 20) << "label at " << top;
    }
}

TEST_F(Options, TypedButUnappliedTextComesBackOnActivationChange) {
    platform::headless::click(options().ceiling_edit, 50, 15);
    platform::headless::key_press(VK_END);
    platform::headless::type_text("42");
    test_support::pump_until_idle();
    ASSERT_EQ(window_text(options().ceiling_edit), "5.00000042");

    platform::headless::click(main_window(), 900, 700);  // into the main window: Options loses activation
    test_support::pump_until_idle();
    EXPECT_EQ(window_text(options().ceiling_edit), "5.000000");
    EXPECT_EQ(viewer().job.settings.ceiling, 5.0);
}

TEST_F(Options, AppliesNumbersAsAtofAndAtoiReadThem) {
    set_text(options().ceiling_edit, "2.5 and some letters");
    set_text(options().floor_edit, "no number here");
    set_text(options().real_part_edit, "-0.25");
    set_text(options().imaginary_part_edit, "1e1");
    set_text(options().real_scale_edit, "");
    set_text(options().imaginary_scale_edit, "  0.5");
    set_text(options().precision_edit, "12.9");
    press_apply();

    EXPECT_EQ(viewer().job.settings.ceiling, 2.5);
    EXPECT_EQ(viewer().job.settings.floor, 0.0);
    EXPECT_EQ(viewer().job.settings.real_part, -0.25);
    EXPECT_EQ(viewer().job.settings.imaginary_part, 10.0);
    EXPECT_EQ(viewer().job.settings.real_scale, 0.0);
    EXPECT_EQ(viewer().job.settings.imaginary_scale, 0.5);
    EXPECT_EQ(viewer().job.settings.precision, 12);
    finish_calculation();
    EXPECT_EQ(status_text_copy(viewer().job),
              "Finished calculating reciprocal absolute value with 12 iterations.");
}

TEST_F(Options, ReadsAtMost999Characters) {
    // atof skips leading blanks: the 1000th character would turn 7 into 78.
    set_text(options().ceiling_edit, std::string(998, ' ') + "78");
    press_apply();
    EXPECT_EQ(viewer().job.settings.ceiling, 7.0);
}

TEST_F(Options, HugePrecisionSaturatesInsteadOfWrapping) {
    set_text(options().precision_edit, std::string(5000, '9'));
    press_apply();
    EXPECT_EQ(viewer().job.settings.precision, 2147483647);
    stop_calculation(viewer().job);
}

TEST_F(Options, AFieldThatIsNotAFiniteNumberChangesNothingAndKeepsEveryText) {
    const std::string huge(400, '9');
    const std::vector<std::pair<HWND, std::string>> bad_fields = {
        {options().ceiling_edit, "inf"},     {options().floor_edit, "nan"},
        {options().real_part_edit, "1e999"}, {options().imaginary_part_edit, "-infinity"},
        {options().real_scale_edit, huge},   {options().imaginary_scale_edit, "NAN(1)"}};
    const std::vector<std::string> names = {"Ceiling value",  "Floor value",     "Real part",
                                            "Imaginary part", "Real part Scale", "Imaginary part Scale"};
    for (std::size_t i = 0; i < bad_fields.size(); ++i) {
        SCOPED_TRACE(names[i]);
        // Every other field valid and different from the settings, so that a partial apply would show.
        for (HWND edit :
             {options().ceiling_edit, options().floor_edit, options().real_part_edit,
              options().imaginary_part_edit, options().real_scale_edit, options().imaginary_scale_edit})
            set_text(edit, "0.25");
        set_text(options().precision_edit, "7");
        set_text(bad_fields[i].first, bad_fields[i].second);
        const std::size_t boxes_before = platform::headless::message_boxes().size();
        press_apply();

        EXPECT_EQ(viewer().job.settings.ceiling, 5.0);
        EXPECT_EQ(viewer().job.settings.floor, -5.0);
        EXPECT_EQ(viewer().job.settings.real_part, 0.0);
        EXPECT_EQ(viewer().job.settings.imaginary_part, -5.0);
        EXPECT_EQ(viewer().job.settings.real_scale, 0.02);
        EXPECT_EQ(viewer().job.settings.imaginary_scale, 0.1);
        EXPECT_EQ(viewer().job.settings.precision, 100);
        EXPECT_FALSE(viewer().job.running) << "a calculation was started";
        const std::vector<std::string> boxes = platform::headless::message_boxes();
        ASSERT_EQ(boxes.size(), boxes_before + 1);
        EXPECT_NE(boxes.back().find(names[i] + " must be a finite number"), std::string::npos)
            << boxes.back();
        EXPECT_EQ(window_text(bad_fields[i].first), bad_fields[i].second);
        EXPECT_EQ(window_text(options().precision_edit), "7");
    }
    // The texts also outlast the activation changes around the message box; later ones refill as before.
    platform::headless::focus_lost(options().window);
    platform::headless::focus_gained(options().window);
    test_support::pump_until_idle();
    EXPECT_EQ(window_text(options().imaginary_scale_edit), "NAN(1)");
    platform::headless::click(main_window(), 900, 700);
    test_support::pump_until_idle();
    EXPECT_EQ(window_text(options().imaginary_scale_edit), "0.100000");
    EXPECT_EQ(window_text(options().precision_edit), "100");
}

TEST_F(Options, EachFieldShowsATextThatReadsBackAsItsValue) {
    const double values[] = {1e-7, -2.5e-12, 0.1 + 0.2, 1e300, 123456.7890123, -0.0};
    for (double value : values) {
        viewer().job.settings.real_scale = value;
        viewer().job.settings.ceiling = value;
        refill();
        const std::string shown = window_text(options().real_scale_edit);
        EXPECT_EQ(std::atof(shown.c_str()), value) << shown;
        EXPECT_EQ(std::signbit(std::atof(shown.c_str())), std::signbit(value)) << shown;
        EXPECT_EQ(window_text(options().ceiling_edit), shown);
    }
    viewer().job.settings.real_scale = 1e-7;
    viewer().job.settings.imaginary_scale = 0.25;
    refill();
    EXPECT_EQ(window_text(options().real_scale_edit), "1e-07") << "the shortest text when %f loses the value";
    EXPECT_EQ(window_text(options().imaginary_scale_edit), "0.250000") << "%f where it keeps the value";
    EXPECT_EQ(window_text(options().ceiling_edit), "-0.000000");

    // Applying what is shown keeps the settings exactly.
    press_apply();
    EXPECT_EQ(viewer().job.settings.real_scale, 1e-7);
    EXPECT_EQ(viewer().job.settings.imaginary_scale, 0.25);
    stop_calculation(viewer().job);
}

TEST_F(Options, ApplyingDuringACalculationRestartsIt) {
    set_text(options().precision_edit, "2000000000");
    press_apply();
    EXPECT_EQ(status_text_copy(viewer().job), "Calculating values...");
    EXPECT_TRUE(viewer().job.running);

    set_text(options().precision_edit, "100");
    set_text(options().real_part_edit, "0.5");
    press_apply();
    EXPECT_EQ(viewer().job.settings.precision, 100);
    finish_calculation();
    EXPECT_EQ(status_text_copy(viewer().job),
              "Finished calculating reciprocal absolute value with 100 iterations.");
}

TEST_F(Options, ClosingOnlyHidesIt) {
    platform::headless::request_close(options().window);
    EXPECT_EQ(test_support::pump_until_idle(), std::nullopt);
    EXPECT_TRUE(IsWindow(options().window));
    EXPECT_FALSE(IsWindowVisible(options().window));
    EXPECT_TRUE(IsWindowVisible(main_window()));

    // It comes back with the settings when chosen again.
    choose_menu_entry(120, 300, "Options");
    EXPECT_TRUE(IsWindowVisible(options().window));
    EXPECT_EQ(window_text(options().precision_edit), "100");
}

}  // namespace
}  // namespace app_test
