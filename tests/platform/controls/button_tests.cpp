// The push button: clicks notify the parent once, a press that ends elsewhere does not, and the frame looks
// raised, or sunken while the button is held.
#include <algorithm>

#include "control_test_window.h"
#include "platform/gdi/surface.h"
#include "platform/testing/testing.h"

namespace controls_test {
namespace {

namespace headless = platform::headless;

constexpr int button_id = 12321;
constexpr int width = 100;
constexpr int height = 40;

class Button_Test : public Control_Test {
protected:
    void SetUp() override {
        Control_Test::SetUp();
        button_ = create_button("Apply values", 200, 60, width, height, button_id);
    }

    // The smallest rectangle holding every pixel inside the frame that is not the button face.
    RECT caption_bounds() const {
        RECT bounds{width, height, -1, -1};
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (int y = 3; y < height - 3; ++y) {
            for (int x = 3; x < width - 3; ++x) {
                if (shown(button_, x, y) == face) continue;
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
        }
        return bounds;
    }

    HWND button_ = nullptr;
};

TEST_F(Button_Test, ClickSendsOneBnClickedWithIdAndHandleToParent) {
    headless::click(button_, 50, 20);
    pump();
    ASSERT_EQ(commands().size(), 1u);
    EXPECT_EQ(commands()[0].wparam, MAKEWPARAM(button_id, BN_CLICKED));
    EXPECT_EQ(commands()[0].lparam, reinterpret_cast<LPARAM>(button_));
}

TEST_F(Button_Test, MovingInsideWhileHeldStillClicks) {
    headless::mouse_down(button_, 10, 10);
    headless::mouse_move(button_, 80, 30);
    headless::mouse_up(button_, 80, 30);
    pump();
    EXPECT_EQ(commands().size(), 1u);
}

TEST_F(Button_Test, PressInsideReleaseOutsideSendsNothing) {
    headless::mouse_down(button_, 50, 20);
    headless::mouse_up(parent_, 20, 20);
    pump();
    // The pointer comes back without the button held, then a stray release arrives: still no click.
    headless::mouse_move(button_, 50, 20);
    headless::mouse_up(button_, 50, 20);
    pump();
    EXPECT_TRUE(commands().empty());
}

TEST_F(Button_Test, APressHoldsTheCaptureUntilTheRelease) {
    // Out of the window and back in while held: sunken only while over the button, and the release inside
    // still clicks.
    headless::mouse_down(button_, 50, 20);
    pump();
    EXPECT_EQ(GetCapture(), button_);
    headless::mouse_move(parent_, -40, 500);
    pump();
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_BTNHIGHLIGHT)) << "raised while the pointer is away";
    headless::mouse_move(button_, 30, 10);
    pump();
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_3DDKSHADOW)) << "sunken again over the button";
    headless::mouse_up(button_, 30, 10);
    pump();
    EXPECT_EQ(commands().size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);

    // Released outside the window: no click, and the capture is given back.
    headless::mouse_down(button_, 50, 20);
    headless::mouse_up(parent_, 900, 20);
    pump();
    EXPECT_EQ(commands().size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);

    // Taken away while held: the press ends, and the release then clicks nothing.
    headless::mouse_down(button_, 50, 20);
    pump();
    SetCapture(parent_);
    ReleaseCapture();
    headless::mouse_up(button_, 50, 20);
    pump();
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(commands().size(), 1u);
}

TEST_F(Button_Test, ReleaseWithoutPressOnTheButtonSendsNothing) {
    headless::mouse_up(button_, 50, 20);
    pump();
    EXPECT_TRUE(commands().empty());
}

TEST_F(Button_Test, RightButtonDoesNotClick) {
    headless::click(button_, 50, 20, 2);
    pump();
    EXPECT_TRUE(commands().empty());
}

TEST_F(Button_Test, RaisedFrameInsideBlackBorder) {
    COLORREF black = RGB(0, 0, 0);
    EXPECT_EQ(shown(button_, 0, 0), black);
    EXPECT_EQ(shown(button_, width - 1, height - 1), black);
    EXPECT_EQ(shown(button_, 50, 0), black);
    EXPECT_EQ(shown(button_, 0, 20), black);
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shown(button_, 50, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shown(button_, width - 2, 20), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(shown(button_, 50, height - 2), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(shown(button_, width - 3, 20), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(shown(button_, 50, height - 3), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(shown(button_, 4, 4), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Button_Test, SunkenWhileHeldAndRaisedAgainAfterRelease) {
    headless::mouse_down(button_, 50, 20);
    pump();
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(shown(button_, 2, 20), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(shown(button_, width - 2, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shown(button_, 0, 0), RGB(0, 0, 0));

    headless::mouse_up(button_, 50, 20);
    pump();
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shown(button_, width - 2, 20), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(Button_Test, LeavingTheButtonReleasedRaisesItAgain) {
    headless::mouse_down(button_, 50, 20);
    headless::mouse_up(parent_, 20, 20);
    headless::mouse_move(button_, 50, 20);
    pump();
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(Button_Test, CaptionIsCentredAndShiftsWhilePressed) {
    RECT caption = caption_bounds();
    ASSERT_LT(caption.left, caption.right) << "no caption drawn";
    EXPECT_NEAR((caption.left + caption.right) / 2.0, width / 2.0, 3.0);
    EXPECT_NEAR((caption.top + caption.bottom) / 2.0, height / 2.0, 4.0);

    headless::mouse_down(button_, 50, 20);
    pump();
    RECT pressed = caption_bounds();
    EXPECT_EQ(pressed.left, caption.left + 1);
    EXPECT_EQ(pressed.top, caption.top + 1);
}

TEST_F(Button_Test, SetTextChangesCaptionAndRepaints) {
    SendMessageA(button_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    pump();
    RECT empty = caption_bounds();
    EXPECT_GE(empty.left, empty.right) << "the old caption is still shown";

    SendMessageA(button_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("OK"));
    pump();
    char text[16] = {};
    EXPECT_EQ(SendMessageA(button_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 2);
    EXPECT_STREQ(text, "OK");
    RECT caption = caption_bounds();
    EXPECT_LT(caption.left, caption.right);
}

TEST_F(Button_Test, WithoutBorderStyleTheRaisedFrameIsOutermost) {
    HWND plain = create_button("Plain", 20, 200, width, height, 7, WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(shown(plain, 0, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shown(plain, width - 1, 20), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(Button_Test, DefaultPushButtonHasAFrameOfItsOwnAroundTheRaisedOne) {
    HWND default_button =
        create_button("OK", 20, 200, width, height, 8, WS_CHILD | WS_VISIBLE | WS_BORDER | BS_DEFPUSHBUTTON);
    EXPECT_EQ(shown(default_button, 0, 20), RGB(0, 0, 0)) << "the border";
    EXPECT_EQ(shown(default_button, 1, 20), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(shown(default_button, width - 2, 20), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(shown(default_button, 2, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shown(default_button, width - 3, 20), GetSysColor(COLOR_3DDKSHADOW));
}

// Space presses the focused button and its release clicks it, wherever the pointer is meanwhile.
TEST_F(Button_Test, SpaceClicksTheFocusedButton) {
    SetFocus(button_);
    headless::key_down(VK_SPACE);
    headless::mouse_move(parent_, 5, 5);  // the pointer does not end a press it did not start
    pump();
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_3DDKSHADOW)) << "sunken while Space is held";
    EXPECT_TRUE(commands().empty());
    headless::key_down(VK_SPACE);  // the keyboard repeats
    headless::key_up(VK_SPACE);
    pump();
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    ASSERT_EQ(commands().size(), 1u);
    EXPECT_EQ(commands()[0].wparam, MAKEWPARAM(button_id, BN_CLICKED));
    EXPECT_EQ(GetCapture(), nullptr);

    // Losing the focus while Space is held ends the press without a click.
    headless::key_down(VK_SPACE);
    pump();
    SetFocus(parent_);
    headless::key_up(VK_SPACE);
    pump();
    EXPECT_EQ(commands().size(), 1u);
    EXPECT_EQ(shown(button_, 1, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(Button_Test, PaintingLeaksNoGdiObjects) {
    int before = platform::gdi::live_object_count();
    headless::mouse_down(button_, 50, 20);
    pump();
    headless::mouse_up(button_, 50, 20);
    pump();
    EXPECT_EQ(platform::gdi::live_object_count(), before);
}

}  // namespace
}  // namespace controls_test
