// Drags that leave the main window: the window holds the pointer from the left press to the left release, so
// a pan, an edge drag or a move ends where the button is released, and the frame stays in reach.
#include <gtest/gtest.h>

#include "platform/testing/testing.h"
#include "screen_objects/object_registry.h"
#include "tests/app/app_fixture.h"
#include "tests/support/message_pump.h"

namespace app_test {
namespace {

namespace headless = platform::headless;

class Drag_Outside : public Application_Test {
protected:
    void SetUp() override {
        Application_Test::SetUp();
        compute_quick_plot();
        GetClientRect(main_window(), &client_);
    }

    static void press(int x, int y) {
        headless::mouse_down(main_window(), x, y);
        test_support::pump_until_idle();
    }
    static void release(int x, int y) {
        headless::mouse_up(main_window(), x, y);
        test_support::pump_until_idle();
    }

    RECT client_{};
};

TEST_F(Drag_Outside, APanReleasedOutsideTheWindowIsAppliedExactlyThere) {
    press(140, 300);
    EXPECT_EQ(GetCapture(), main_window());
    move(-60, 320);  // left of the window, held
    EXPECT_EQ(viewer().job.pan_offset_x, 200.0);
    release(-70, client_.bottom + 45);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(viewer().job.settings.real_part, 0.02 * (140.0 - -70.0) + 0.0);
    EXPECT_EQ(viewer().job.settings.imaginary_part, 0.1 * ((client_.bottom + 45.0) - 300.0) + -5.0);
    EXPECT_EQ(viewer().panning, 0);
    EXPECT_EQ(viewer().active, 0);

    // The pan is over: moving without the button changes nothing.
    const double real_part = viewer().job.settings.real_part;
    move(150, 310);
    EXPECT_EQ(viewer().job.pan_offset_x, 0.0);
    left_click(600, 600);
    EXPECT_EQ(viewer().job.settings.real_part, real_part);
}

TEST_F(Drag_Outside, AnEdgeDraggedOutsideEndsAtTheReleaseAndKeepsTwentyPixelsInside) {
    press(140, 580);  // the bottom edge
    move(140, client_.bottom + 300);
    EXPECT_EQ(app().plot_rect.bottom, client_.bottom + 300) << "an edge may leave the window";
    release(140, client_.bottom + 300);
    move(140, 200);
    EXPECT_EQ(app().plot_rect.bottom, client_.bottom + 300) << "the drag ended at the release";

    // The left edge dragged right of the window stops 20 pixels inside it.
    app().plot_rect = {100, 60, client_.right + 500, 580};
    press(100, 300);
    move(client_.right + 200, 300);
    release(client_.right + 200, 300);
    EXPECT_EQ(app().plot_rect.left, client_.right - 20);

    // The top edge dragged below the window stops 20 pixels inside it.
    app().plot_rect = {100, 60, 180, client_.bottom + 500};
    press(140, 60);
    move(140, client_.bottom + 100);
    release(140, client_.bottom + 100);
    EXPECT_EQ(app().plot_rect.top, client_.bottom - 20);
}

TEST_F(Drag_Outside, MoveWindowKeepsTheFrameReachable) {
    // "Move window" chosen far right of the frame: the pointer is 160 pixels right of its left edge.
    right_click(175, 300);
    move(260, 308);
    left_click(260, 308);
    ASSERT_EQ(viewer().moving, 1);
    move(10, 40);  // would put the frame wholly left of the window
    EXPECT_EQ(app().plot_rect.left, -60);
    EXPECT_EQ(app().plot_rect.right, 20);
    EXPECT_EQ(app().plot_rect.top, 40 - 248);
    move(client_.right - 1, client_.bottom - 1);
    EXPECT_EQ(app().plot_rect.left, client_.right - 1 - 160);
    EXPECT_EQ(app().plot_rect.top, client_.bottom - 1 - 248);
    EXPECT_EQ(app().plot_rect.right - app().plot_rect.left, 80);
    EXPECT_EQ(app().plot_rect.bottom - app().plot_rect.top, 520);
    left_click(client_.right - 1, client_.bottom - 1);
    EXPECT_EQ(viewer().moving, 0);

    // A menu opened near the bottom-right corner lies wholly inside the window.
    right_click(client_.right - 100, client_.bottom - 10);
    EXPECT_EQ(object_registry.find_record(main_window())->objects[0], &viewer().menu);
    const RECT& menu = viewer().menu.rect;
    EXPECT_EQ(menu.right, client_.right) << "shifted left into the window";
    EXPECT_EQ(menu.bottom, client_.bottom) << "shifted up into the window";
    EXPECT_EQ(menu.bottom - menu.top, static_cast<LONG>(viewer().menu.items.size()) * 17);
    EXPECT_EQ(viewer().menu.hovered, -1);
    left_click(5, 5);
}

}  // namespace
}  // namespace app_test
