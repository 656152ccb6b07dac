// Exploring the plane in the running application: wheel zoom about the pointer, "Back" through the views,
// and the progress bar of a long calculation.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "app/options_window.h"
#include "platform/testing/testing.h"
#include "tests/app/app_fixture.h"
#include "tests/support/message_pump.h"
#include "zeta/look/readout_format.h"
#include "zeta/math/accurate_zeta.h"
#include "zeta/viewer/plot_renderer.h"
#include "zeta/viewer/progress_bar.h"
#include "zeta/viewer/readout.h"

namespace app_test {
namespace {

constexpr COLORREF blue = RGB(0, 0, 255);
constexpr COLORREF black = RGB(0, 0, 0);

struct Corner {
    double real_part, imaginary_part, real_scale, imaginary_scale;
    bool operator==(const Corner&) const = default;
};

Corner corner(const Plot_Settings& settings) {
    return {settings.real_part, settings.imaginary_part, settings.real_scale, settings.imaginary_scale};
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

class Explore : public Application_Test {
protected:
    void SetUp() override {
        Application_Test::SetUp();
        finish_calculation();
    }

    static std::vector<std::string> menu_entries() {
        right_click(120, 100);
        std::vector<std::string> entries = viewer().menu.items;
        move(700, 700);  // off the menu, so that no entry is under the pointer
        left_click(700, 700);
        return entries;
    }
};

TEST_F(Explore, WheelZoomsAboutTheCellUnderThePointerNotchByNotchAndNotOutsideThePlot) {
    // Bottom-left cell (0, 0), top-right cell (79, 519), the middle, and notches summed in one message.
    const struct {
        int x, y, i, j, notches;
    } cases[] = {{100, 580, 0, 0, 1},
                 {179, 61, 79, 519, 1},
                 {140, 320, 40, 260, -1},
                 {130, 400, 30, 180, 3},
                 {130, 400, 30, 180, -3}};
    for (const auto& c : cases) {
        const Corner expected = zoomed(corner(viewer().job.settings), c.i, c.j, c.notches);
        set_status_text(viewer().job, "before the wheel");
        wheel(c.x, c.y, c.notches);
        EXPECT_EQ(corner(viewer().job.settings), expected) << "pointer " << c.x << ", " << c.y;
        finish_calculation();
        // A restart has run to its end (a slow machine may get there before the wheel's message returns).
        EXPECT_EQ(status_text_copy(viewer().job),
                  "Finished calculating reciprocal absolute value with 100 iterations.");
    }
    EXPECT_EQ(viewer().history.size(), 5u);

    const Corner before = corner(viewer().job.settings);
    wheel(50, 50, 1);    // background
    wheel(180, 300, 1);  // the frame's right edge and top edge: no cell there
    wheel(140, 60, 1);
    platform::headless::mouse_down(main_window(), 140, 300);
    wheel(140, 300, 1);  // during a pan
    platform::headless::mouse_up(main_window(), 140, 300);
    test_support::pump_until_idle();
    EXPECT_EQ(corner(viewer().job.settings), before);
    EXPECT_EQ(viewer().history.size(), 5u) << "a release that changes nothing pushes nothing";
    finish_calculation();
}

// Paints of the main window, counted by a procedure put in front of the window's own.
int paints = 0;
LRESULT CALLBACK counting_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) ++paints;
    return Main_Window_Procedure(window, message, wparam, lparam);
}

TEST_F(Explore, OneWheelNotchPaintsTheWindowOnceForItsStartAndOnceForItsValues) {
    finish_calculation();
    // Long enough that the values arrive well after the start has been painted.
    viewer().job.settings.precision = 3000;
    SetWindowLongPtrA(main_window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&counting_procedure));
    paints = 0;
    wheel(140, 300, 1);
    finish_calculation();
    SetWindowLongPtrA(main_window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Main_Window_Procedure));
    EXPECT_EQ(status_text_copy(viewer().job),
              "Finished calculating reciprocal absolute value with 3000 iterations.");
    EXPECT_GE(paints, 1);
    EXPECT_LE(paints, 2);
}

TEST_F(Explore, BackIsTheLastEntryOnlyWithAViewToGoBackToAndUndoesChangesInReverse) {
    const int back = static_cast<int>(menu_entries().size());  // where "Back" will be
    const Corner start = corner(viewer().job.settings);
    platform::headless::mouse_down(main_window(), 140, 300);  // a pan 10 pixels to the right
    platform::headless::mouse_move(main_window(), 150, 300);
    platform::headless::mouse_up(main_window(), 150, 300);
    test_support::pump_until_idle();
    const Corner panned = corner(viewer().job.settings);
    EXPECT_EQ(panned.real_part, 0.02 * -10 + 0.0);
    choose_menu_entry(120, 100, "Graph Real part");
    choose_menu_entry(120, 100, "Graph Real part");  // the same again: no change
    choose_menu_entry(120, 100, "Accurate values");
    wheel(140, 300, 1);
    finish_calculation();

    const std::vector<std::string> entries = menu_entries();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(back + 1));
    EXPECT_EQ(entries.back(), "Back");
    choose_menu_entry(120, 100, "Back");
    EXPECT_EQ(viewer().job.settings.method, Accurate_Method);
    EXPECT_EQ(status_text_copy(viewer().job), "Calculating values...");
    choose_menu_entry(120, 100, "Back");
    EXPECT_EQ(corner(viewer().job.settings), panned);
    EXPECT_EQ(viewer().job.settings.mode, Real_Part);
    EXPECT_EQ(viewer().job.settings.method, Series_Method);
    choose_menu_entry(120, 100, "Back");
    EXPECT_EQ(viewer().job.settings.mode, Reciprocal_Absolute_Value);
    choose_menu_entry(120, 100, "Back");
    EXPECT_EQ(corner(viewer().job.settings), start);
    finish_calculation();
    EXPECT_EQ(menu_entries().size(), static_cast<std::size_t>(back));
}

TEST_F(Explore, ApplyValuesPushesAndBackRefreshesTheShownOptionsFields) {
    choose_menu_entry(120, 300, "Options");
    SendMessageA(options().real_part_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0.25"));
    for (int press = 0; press < 2; ++press) {  // the second press changes nothing
        platform::headless::click(options().apply_button, 50, 20);
        test_support::pump_until_idle();
    }
    EXPECT_EQ(viewer().job.settings.real_part, 0.25);
    EXPECT_EQ(viewer().history.size(), 1u);
    viewer().go_back();
    EXPECT_EQ(viewer().job.settings.real_part, 0.0);
    EXPECT_EQ(window_text(options().real_part_edit), "0.000000");
    finish_calculation();
}

TEST(View_History, KeepsTheLatestHundredViewsBeforeEachChange) {
    View_History history;
    Plot_Settings view;
    for (int change = 1; change <= 101; ++change) {
        Plot_Settings changed = view;
        changed.precision = change;
        EXPECT_TRUE(history.note_change(view, changed));
        EXPECT_FALSE(history.note_change(changed, changed));
        view = changed;
    }
    EXPECT_EQ(history.size(), 100u);
    EXPECT_EQ(history.take_latest().precision, 100);
    while (history.size() > 1)
        history.take_latest();
    EXPECT_EQ(history.take_latest().precision, 1) << "the view before the first change was dropped";
}

TEST_F(Explore, ALongCalculationShowsAProgressBarThatGoesWhenItIsCancelledOrEnds) {
    const RECT bar = progress_bar_rect(app().plot_rect);
    viewer().job.settings.precision = 2000000000;
    left_click(140, 300);  // restarts with the huge precision
    EXPECT_FALSE(viewer().progress.shown()) << "not before half a second";
    EXPECT_EQ(shown(bar.left, bar.top), blue);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!viewer().progress.shown() && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        test_support::pump_until_idle();  // the main window's timer looks at the progress
    }
    ASSERT_TRUE(viewer().progress.shown());
    EXPECT_EQ(shown(bar.left, bar.top), black);
    EXPECT_EQ(shown(bar.right - 1, bar.bottom - 1), black);
    EXPECT_EQ(status_text_copy(viewer().job), "Calculating values...");

    viewer().job.settings.precision = 100;
    left_click(140, 300);  // cancels the long calculation and starts a short one
    EXPECT_FALSE(viewer().progress.shown());
    finish_calculation();
    EXPECT_EQ(shown(bar.left, bar.top), blue);
}

TEST_F(Explore, ALongAccurateCalculationShowsItsRowsAsTheyAreFinished) {
    viewer().job.settings.method = Accurate_Method;
    viewer().job.settings.imaginary_part = 3e11;  // a second or more for the whole plot
    viewer().restart_calculation();
    bool seen = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!seen && viewer().job.running && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        test_support::pump_until_idle();
        const Value_Grid& grid = viewer().job.grid;
        for (int32_t row = 0; row < grid.height && !seen; ++row) {
            // A row drawn in colour while the calculation still runs: its values, with the range so far.
            if (row_is_finished(grid, row) && shown(110, 580 - row) != black && viewer().job.running)
                seen = true;
        }
    }
    EXPECT_TRUE(seen);
    finish_calculation();
    EXPECT_EQ(status_text_copy(viewer().job), "Finished calculating reciprocal absolute value accurately.");
}

TEST(Progress_Bar, FillsByTheShareOfTermsAfterHalfASecondAndHidesWhenComplete) {
    Plot_Job job;
    Progress_Bar bar;
    job.running = true;
    job.work_total = 1000;
    job.terms_summed = 500;
    job.started_at = std::chrono::steady_clock::now();
    EXPECT_FALSE(bar.update(job, job.started_at + std::chrono::milliseconds(499)));
    EXPECT_TRUE(bar.update(job, job.started_at + progress_delay));
    EXPECT_EQ(bar.filled(), 49);  // half of the 98 pixels inside the frame
    job.terms_summed = 1000;
    EXPECT_TRUE(bar.update(job, job.started_at + std::chrono::seconds(1)));
    EXPECT_FALSE(bar.shown());
    job.running = false;
}

TEST_F(Explore, ReadoutShowsTheCellUnderThePointerRepaintsOnlyItsLineAndClearsOffThePlot) {
    // Column 30 is σ = 0 and column 70 is σ = 2; row 0 is t = 0.
    viewer().job.settings.real_part = -1.5;
    viewer().job.settings.real_scale = 0.05;
    viewer().job.settings.imaginary_part = 0.0;
    left_click(140, 300);
    finish_calculation();
    RECT client;
    GetClientRect(main_window(), &client);
    const RECT line = readout_rect(client, plot_decorations(app().plot_rect));
    EXPECT_GT(line.top, app().plot_rect.bottom + 130) << "below the legend";

    paints = 0;
    SetWindowLongPtrA(main_window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&counting_procedure));
    move(130, 580);
    // The plot shows the series, which is far off at s = 0.
    EXPECT_EQ(viewer().readout,
              "s = 0 + 0i   \u03b6(s) = -0.5 + 0i   |\u03b6(s)| = 0.5   series off by 5.0e-01");
    int ink = 0;
    for (int x = line.left; x < line.left + 300; ++x)
        ink += shown(x, line.top + 8) != blue ? 1 : 0;
    EXPECT_GT(ink, 20) << "the line is drawn";
    move(170, 580);
    EXPECT_EQ(
        viewer().readout,
        "s = 2 + 0i   \u03b6(s) = 1.644934067 + 0i   |\u03b6(s)| = 1.644934067   series off by 9.9e-05");
    EXPECT_EQ(paints, 0) << "the readout is drawn without painting the window";

    move(180, 580);  // the frame's right edge: no cell
    EXPECT_EQ(viewer().readout, "");
    move(170, 580);
    move(600, 600);  // the background
    EXPECT_EQ(viewer().readout, "");
    for (int x = line.left; x < line.right; x += 3)
        ASSERT_EQ(shown(x, line.top + 8), blue) << "cleared at " << x;
    move(170, 300);
    ASSERT_NE(viewer().readout, "");
    right_click(170, 300);
    move(175, 305);  // over the open menu
    EXPECT_EQ(viewer().readout, "");
    SetWindowLongPtrA(main_window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Main_Window_Procedure));
}

// High up the strip the value comes from the background: s at once, ζ(s) when it is ready, for the pointer's
// latest cell, and the window never waits for it.
TEST_F(Explore, ReadoutHighUpShowsSAtOnceAndTheValueWhenTheBackgroundHasIt) {
    viewer().job.settings.real_part = 0.0;
    viewer().job.settings.real_scale = 0.0125;
    viewer().job.settings.imaginary_part = 1e12;  // a value takes about half a second here
    left_click(140, 300);
    finish_calculation();
    const Complex first = *s_at_pointer(viewer().job, app().plot_rect, 110, 500);
    const Complex latest = *s_at_pointer(viewer().job, app().plot_rect, 170, 500);
    move(110, 500);
    EXPECT_EQ(viewer().readout, readout_line(first, 0.0125, 0.1));
    move(170, 500);
    EXPECT_EQ(viewer().readout, readout_line(latest, 0.0125, 0.1));

    paints = 0;
    SetWindowLongPtrA(main_window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&counting_procedure));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (viewer().readout == readout_line(latest, 0.0125, 0.1) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        test_support::pump_until_idle();
    }
    SetWindowLongPtrA(main_window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Main_Window_Procedure));
    Complex zeta;
    evaluate_zeta_accurately(latest, zeta);
    Complex series;
    evaluate_zeta(100, latest, series);
    EXPECT_EQ(viewer().readout, readout_line(latest, zeta, 0.0125, 0.1) + series_error_suffix(series, zeta));
    EXPECT_NE(viewer().readout.find("series off by"), std::string::npos) << "100 terms are far off up here";
    EXPECT_EQ(paints, 0) << "the value is drawn without painting the window";
}

}  // namespace
}  // namespace app_test
