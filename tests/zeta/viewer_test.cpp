#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/testing.h"
#include "tests/support/message_log.h"
#include "tests/zeta/render_probe.h"
#include "tests/zeta/viewer_test_window.h"
#include "zeta/math/accurate_zeta.h"

namespace {

constexpr COLORREF viewer_fill = RGB(14, 24, 34);
constexpr int size_all_cursor = 32646;
const std::string calculating = "Calculating values...";

using ZetaViewer = Viewer_Test;

TEST_F(ZetaViewer, FreshMenuOffersTheSevenDescribedEntriesThenTheAddedOnes) {
    right_click(140, 300);

    EXPECT_EQ(viewer.menu.items,
              (std::vector<std::string>{"Move window", "Graph Absolute value", "Graph Real part",
                                        "Graph Imaginary part", "Graph Reciprocal absolute value",
                                        "Hide critical line", "Options", "Accurate values", "Graph Phase",
                                        "Show zeros"}));
    EXPECT_EQ(shown(140 + 250, 300 + 3), 0x00DE0000u) << "the menu is on screen";
}

TEST_F(ZetaViewer, AccurateValuesSwitchesTheMethodRecomputesAndTheMenuThenOffersSeriesValues) {
    viewer.job.settings.mode = Absolute_Value;
    right_click(140, 300);
    choose("Accurate values");

    EXPECT_EQ(viewer.job.settings.method, Accurate_Method);
    const std::string just_after = status_text_copy(viewer.job);
    EXPECT_TRUE(just_after == calculating || just_after == "Finished calculating absolute value accurately.")
        << just_after;
    wait_until_calculated();
    EXPECT_EQ(status_text_copy(viewer.job), "Finished calculating absolute value accurately.");
    EXPECT_EQ(viewer.job.settings.precision, precision) << "the series' terms are kept";
    // Cell [0][250] is s = 20i.
    Complex accurate;
    evaluate_zeta_accurately(Complex{0.0, 20.0}, accurate);
    EXPECT_EQ(read_cell(viewer.job.grid, 0, 250), cell_value(Absolute_Value, accurate, 5.0, -5.0));

    right_click(140, 300);
    choose("Series values");
    wait_until_calculated();
    EXPECT_EQ(viewer.job.settings.method, Series_Method);
    EXPECT_EQ(status_text_copy(viewer.job), finished_text("absolute value", precision));
}

TEST_F(ZetaViewer, HidingTheCriticalLineRemovesItAtOnceAndTheMenuThenOffersToShowIt) {
    ASSERT_GT(cyan_pixels_in_line_column(), 500);
    const std::string finished = status_text_copy(viewer.job);

    right_click(140, 300);
    choose("Hide critical line");

    EXPECT_EQ(viewer.job.show_critical_line, 0);
    EXPECT_EQ(cyan_pixels_in_line_column(), 0);
    EXPECT_EQ(status_text_copy(viewer.job), finished) << "no recalculation";
    right_click(140, 300);
    EXPECT_EQ(viewer.menu.items.at(5), "Show critical line");
    choose(5);
    EXPECT_GT(cyan_pixels_in_line_column(), 500);
}

TEST_F(ZetaViewer, PlainLeftClickRecomputesTheSamePlot) {
    const RECT area{30, 40, 500, 711};
    std::vector<COLORREF> before;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            before.push_back(shown(x, y));
    // Only a new calculation writes the finished message again.
    viewer.job.status_text = "stale";

    left_click(140, 300);

    const std::string just_after = status_text_copy(viewer.job);
    EXPECT_TRUE(just_after == calculating ||
                just_after == finished_text("reciprocal absolute value", precision))
        << just_after;
    wait_until_calculated();
    EXPECT_EQ(status_text_copy(viewer.job), finished_text("reciprocal absolute value", precision));
    EXPECT_EQ(viewer.job.settings.real_part, 0.0);
    EXPECT_EQ(viewer.job.settings.imaginary_part, -5.0);
    std::vector<COLORREF> after;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            after.push_back(shown(x, y));
    EXPECT_TRUE(before == after) << "the same picture";
}

TEST_F(ZetaViewer, DragShiftsThePictureThenMovesTheOriginOnRelease) {
    const COLORREF cell_10_120 = shown(110, 580 - 120);
    ASSERT_NE(shown(110, 300), viewer_fill);

    platform::headless::mouse_move(window, 140, 300);
    platform::headless::mouse_down(window, 140, 300);
    platform::headless::mouse_move(window, 170, 320);
    pump();

    EXPECT_EQ(viewer.panning, 1);
    EXPECT_EQ(viewer.job.pan_offset_x, -30.0);
    EXPECT_EQ(viewer.job.pan_offset_y, 20.0);
    EXPECT_EQ(shown(110, 300), viewer_fill) << "the left 30 columns are uncovered";
    EXPECT_EQ(shown(140, 580 - 100), cell_10_120) << "the picture follows the pointer";

    platform::headless::mouse_up(window, 170, 320);
    pump();

    EXPECT_DOUBLE_EQ(viewer.job.settings.real_part, -0.6);
    EXPECT_DOUBLE_EQ(viewer.job.settings.imaginary_part, -3.0);
    EXPECT_EQ(viewer.job.pan_offset_x, 0.0);
    EXPECT_EQ(viewer.job.pan_offset_y, 0.0);
    EXPECT_EQ(viewer.panning, 0);
    EXPECT_EQ(viewer.active, 0);
    wait_until_calculated();
    EXPECT_EQ(status_text_copy(viewer.job), finished_text("reciprocal absolute value", precision));
    EXPECT_TRUE(shows_text([this](int x, int y) { return shown(x, y); }, "-0.600000", {101, 580, 170, 610}));
}

TEST_F(ZetaViewer, MoveWindowCarriesTheFrameAndRecomputesAtTheNewPlace) {
    const RECT area{30, 40, 420, 711};
    std::vector<COLORREF> before;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            before.push_back(shown(x, y));

    right_click(140, 300);
    choose(0);
    platform::headless::mouse_move(window, 350, 308);  // chosen at (150, 308)
    pump();

    EXPECT_EQ(viewer.moving, 1);
    EXPECT_EQ(platform::headless::current_cursor(), size_all_cursor);
    EXPECT_EQ(plot_rect.left, 300);
    EXPECT_EQ(plot_rect.top, 60);
    EXPECT_EQ(plot_rect.right, 380);
    EXPECT_EQ(plot_rect.bottom, 580);

    viewer.job.status_text = "stale";
    left_click(350, 308);
    EXPECT_EQ(viewer.moving, 0);
    EXPECT_EQ(viewer.active, 0);
    wait_until_calculated();

    EXPECT_EQ(status_text_copy(viewer.job), finished_text("reciprocal absolute value", precision));
    EXPECT_EQ(plot_rect.left, 300) << "the release does not move the frame";
    std::vector<COLORREF> after;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            after.push_back(shown(x + 200, y));
    EXPECT_TRUE(before == after) << "the same plot, 200 pixels to the right";
}

TEST_F(ZetaViewer, GraphEntriesSwitchTheQuantityAndRecompute) {
    struct Entry {
        int index;
        Graph_Mode mode;
        const char* quantity;
    };
    for (const Entry& entry : {Entry{1, Absolute_Value, "absolute value"}, Entry{2, Real_Part, "real part"},
                               Entry{3, Imaginary_Part, "imgainary part"},
                               Entry{4, Reciprocal_Absolute_Value, "reciprocal absolute value"}}) {
        SCOPED_TRACE(entry.quantity);
        viewer.job.status_text = "stale";
        right_click(140, 300);
        choose(entry.index);
        EXPECT_EQ(viewer.job.settings.mode, entry.mode);
        wait_until_calculated();
        EXPECT_EQ(status_text_copy(viewer.job), finished_text(entry.quantity, precision));
        EXPECT_TRUE(shows_text([this](int x, int y) { return shown(x, y); },
                               finished_text(entry.quantity, precision), {100, 40, 500, 60}, 0, Black,
                               {{100, 40}}));
    }
}

TEST_F(ZetaViewer, OptionsEntryShowsTheOptionsWindowAndLeavesThePlot) {
    test_support::register_logging_class("viewer test options");
    viewer.options_window = create_top_level("viewer test options", 10, 10, 300, 200);
    ASSERT_FALSE(IsWindowVisible(viewer.options_window));
    const std::string finished = status_text_copy(viewer.job);

    right_click(140, 300);
    choose(6);

    EXPECT_TRUE(IsWindowVisible(viewer.options_window));
    EXPECT_EQ(status_text_copy(viewer.job), finished);
    EXPECT_EQ(viewer.job.settings.real_part, 0.0);
    EXPECT_EQ(viewer.job.settings.mode, Reciprocal_Absolute_Value);
}

}  // namespace
