// The keyboard in the running application: arrows pan by a tenth of the plot, + and - zoom about its centre,
// Backspace goes back, Home returns to the start-up view, Escape closes the menu, Ctrl+C copies the readout
// and Ctrl+S saves the picture; Tab and Enter in the Options window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/display/display.h"
#include "platform/testing/testing.h"
#include "screen_objects/object_registry.h"
#include "tests/app/app_fixture.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_input.h"

namespace app_test {
namespace {

namespace headless = platform::headless;
using platform::display::Modifier_Control;

class Keyboard : public Application_Test {
protected:
    void SetUp() override {
        Application_Test::SetUp();
        compute_quick_plot();
        headless::focus_gained(main_window());
        test_support::pump_until_idle();
    }
    static void press(int key, unsigned modifiers = 0) {
        headless::key_press(key, modifiers);
        test_support::pump_until_idle();
    }
};

TEST_F(Keyboard, ArrowsMoveTheViewByATenthOfThePlotAsADragTheOtherWayWould) {
    // The start-up plot is 80 x 520 cells: a tenth is 8 columns or 52 rows.
    const Plot_Settings start = viewer().job.settings;
    press(VK_RIGHT);
    EXPECT_EQ(viewer().job.settings.real_part, 0.02 * 8.0 + start.real_part) << "what lies to the right";
    press(VK_LEFT);
    EXPECT_EQ(viewer().job.settings.real_part, 0.02 * -8.0 + (0.02 * 8.0 + start.real_part));
    press(VK_UP);
    EXPECT_EQ(viewer().job.settings.imaginary_part, 0.1 * 52.0 + start.imaginary_part) << "larger t";
    set_status_text(viewer().job, "before the last key");
    press(VK_DOWN);
    EXPECT_EQ(viewer().history.size(), 4u) << "every move is remembered";
    finish_calculation();
    EXPECT_EQ(status_text_copy(viewer().job),
              "Finished calculating reciprocal absolute value with 10 iterations.")
        << "a restart has run";
}

TEST_F(Keyboard, PlusAndMinusZoomAboutTheCentreBackspaceGoesBackAndHomeReturnsToTheStart) {
    const Plot_Settings start = viewer().job.settings;
    for (const int key : {VK_ADD, VK_OEM_PLUS}) {
        const Plot_Settings before = viewer().job.settings;
        press(key);
        // The centre cell (40, 260) keeps its s; the scales shrink by 0.8.
        EXPECT_EQ(viewer().job.settings.real_scale, before.real_scale * 0.8);
        EXPECT_EQ(viewer().job.settings.real_part,
                  (40 * before.real_scale + before.real_part) - 40 * (before.real_scale * 0.8));
        EXPECT_EQ(
            viewer().job.settings.imaginary_part,
            (260 * before.imaginary_scale + before.imaginary_part) - 260 * (before.imaginary_scale * 0.8));
    }
    press(VK_SUBTRACT);
    press(VK_OEM_MINUS);
    EXPECT_NEAR(viewer().job.settings.real_scale, start.real_scale, 1e-15);
    press(VK_BACK);
    press(VK_BACK);
    EXPECT_EQ(viewer().job.settings.real_scale, start.real_scale * 0.8 * 0.8);

    press(VK_RIGHT);
    const Plot_Settings before_home = viewer().job.settings;
    press(VK_HOME);
    EXPECT_EQ(viewer().job.settings, start_up_settings());
    press(VK_BACK);
    EXPECT_EQ(viewer().job.settings, before_home) << "Home is remembered like any change";
    finish_calculation();
}

TEST_F(Keyboard, EscapeClosesTheMenuWithoutAChoiceAndOtherKeysWaitWhileItIsOpen) {
    right_click(140, 300);
    Window_Object_List* list = object_registry.find_record(main_window());
    ASSERT_EQ(list->objects.front(), &viewer().menu);
    const Plot_Settings before = viewer().job.settings;
    press(VK_RIGHT);
    EXPECT_EQ(viewer().job.settings, before) << "the open menu takes the key";
    press(VK_ESCAPE);
    EXPECT_NE(list->objects.front(), &viewer().menu);
    EXPECT_EQ(list->objects.size(), 2u);
    EXPECT_EQ(viewer().job.settings, before);
}

TEST_F(Keyboard, CtrlCCopiesTheReadoutLine) {
    move(130, 580);
    ASSERT_FALSE(viewer().readout.empty());
    headless::set_clipboard("before");
    press('C', Modifier_Control);
    EXPECT_EQ(headless::clipboard(), viewer().readout);
    press('C');  // without Ctrl: nothing
    EXPECT_EQ(headless::clipboard(), viewer().readout);
}

TEST_F(Keyboard, CtrlSSavesThePictureInThePicturesFolderNeverOverAnotherFile) {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("zeta-keys-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home / "Pictures");
    const char* old_home = std::getenv("HOME");
    const std::string kept_home = old_home != nullptr ? old_home : "";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);

    press('S', Modifier_Control);
    press('S', Modifier_Control);
    int pngs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home / "Pictures")) {
        std::ifstream file(entry.path(), std::ios::binary);
        char signature[8] = {};
        file.read(signature, 8);
        EXPECT_EQ(std::string(signature + 1, 3), "PNG") << entry.path();
        ++pngs;
    }
    EXPECT_EQ(pngs, 2) << "the second save takes a new name";
    EXPECT_EQ(viewer().readout.rfind("Saved the picture as " + (home / "Pictures").string(), 0), 0u)
        << viewer().readout;

    std::filesystem::remove_all(home / "Pictures");
    press('S', Modifier_Control);  // the folder is gone: home itself
    EXPECT_EQ(viewer().readout.rfind("Saved the picture as " + home.string(), 0), 0u) << viewer().readout;

    std::filesystem::remove_all(home);
    press('S', Modifier_Control);
    EXPECT_EQ(viewer().readout.rfind("The picture could not be saved: ", 0), 0u) << viewer().readout;
    setenv("HOME", kept_home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Keyboard, TabMovesThroughTheOptionsFieldsAndEnterAppliesThem) {
    choose_menu_entry(120, 300, "Options");
    Options_Window& window = options();
    ASSERT_TRUE(IsWindowVisible(window.window));
    const auto pump = [&] { test_support::pump_dialog_until_idle(window.window); };
    test_support::take_keyboard(window.window);
    SetFocus(window.ceiling_edit);
    pump();
    test_support::press_key(VK_TAB);
    pump();
    EXPECT_EQ(GetFocus(), window.floor_edit);
    for (int k = 0; k < 6; ++k) {
        test_support::press_key(VK_TAB);
        pump();
    }
    EXPECT_EQ(GetFocus(), window.apply_button) << "the button after the seven fields";
    test_support::press_key(VK_TAB, test_support::Shift);
    pump();
    EXPECT_EQ(GetFocus(), window.precision_edit);

    SendMessageA(window.precision_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12"));
    test_support::press_key(VK_RETURN);
    pump();
    EXPECT_EQ(viewer().job.settings.precision, 12);
    finish_calculation();
    EXPECT_EQ(status_text_copy(viewer().job),
              "Finished calculating reciprocal absolute value with 12 iterations.");
}

}  // namespace
}  // namespace app_test
