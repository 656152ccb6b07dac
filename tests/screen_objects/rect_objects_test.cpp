#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/testing.h"
#include "screen_objects/background.h"
#include "screen_objects/movable_rect_object.h"
#include "screen_objects/object_registry.h"
#include "screen_objects/rect_object.h"
#include "tests/screen_objects/object_test_window.h"
#include "tests/support/message_pump.h"

namespace {

constexpr COLORREF Back_Colour = 0x00123456;
constexpr COLORREF Rect_Colour = 0x00112233;
constexpr int Arrow = 32512, Size_NWSE = 32642, Size_NESW = 32643, Size_WE = 32644, Size_NS = 32645,
              Hand = 32649;

bool same_rect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class Rect_Objects_Test : public ::testing::Test {
protected:
    Rect_Objects_Test() {
        registry.add_window_record(window.handle);
        list = registry.find_record(window.handle);
        background.colour = Back_Colour;
        plain.colour = movable.colour = Rect_Colour;
    }

    void place(On_Screen_Object_RECT& shown) {
        shown.rect = &area;
        list->add_object(&shown);
        list->add_object(&background);
        repaint();
    }

    void repaint() {
        list->push_action(Action_Redraw, nullptr);
        list->process_actions(0, 0);
        test_support::pump_until_idle();
    }

    COLORREF pixel(int x, int y) { return platform::headless::pixel(window.handle, x, y); }

    // The cursor a mouse move at (x, y) leaves, starting from the hand.
    int cursor_after_move(int x, int y) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        movable.handle_event(Event_Mouse_Move, x, y);
        return platform::headless::current_cursor();
    }

    Object_Registry registry;
    Object_Test_Window window{registry};
    Window_Object_List* list = nullptr;
    On_Screen_Object_Background background;
    On_Screen_Object_RECT plain;
    On_Screen_Object_Movable_RECT movable;
    RECT area{20, 30, 60, 70};
};

TEST_F(Rect_Objects_Test, RightColumnAndBottomRowAreHitButNotPainted) {
    place(plain);
    EXPECT_EQ(pixel(20, 30), Rect_Colour);
    EXPECT_EQ(pixel(59, 69), Rect_Colour);
    EXPECT_EQ(pixel(60, 50), Back_Colour);
    EXPECT_EQ(pixel(40, 70), Back_Colour);
    EXPECT_EQ(pixel(0, 0), Back_Colour);
    EXPECT_TRUE(plain.hit_test(60, 70));
    EXPECT_TRUE(plain.hit_test(20, 30));
    EXPECT_FALSE(plain.hit_test(61, 70));
    EXPECT_FALSE(plain.hit_test(20, 29));
    EXPECT_EQ(window.leaking_paints, 0);
}

TEST_F(Rect_Objects_Test, RectangleWithoutAreaNeitherHitsNorPaintsNorMoves) {
    list->add_object(&movable);
    list->add_object(&background);
    repaint();
    EXPECT_FALSE(movable.hit_test(0, 0));
    EXPECT_FALSE(movable.set_edge_cursor(0, 0));
    movable.handle_event(Event_Left_Button_Down, 0, 0);
    EXPECT_EQ(movable.active, 0);
    EXPECT_EQ(movable.handle_event(Event_Mouse_Move, 5, 5), Action_None);
    EXPECT_EQ(pixel(0, 0), Back_Colour);
}

TEST_F(Rect_Objects_Test, BackgroundAnswersNothingToAnyEvent) {
    list->add_object(&background);
    for (std::int32_t event = Event_Mouse_Move; event <= Event_Child_Removed; ++event)
        EXPECT_EQ(background.handle_event(event, 5, 5), Action_None);
    list->dispatch_event(Event_Right_Button_Up, 5, 5);
    EXPECT_EQ(list->objects, (std::vector<On_Screen_Object*>{&background}));
    EXPECT_TRUE(background.hit_test(-100000, 100000));
}

TEST_F(Rect_Objects_Test, PlainRectangleReopensItsPlaceholderMenuAndRecoloursWhenItCloses) {
    place(plain);
    list->dispatch_event(Event_Right_Button_Up, 25, 35);
    list->dispatch_event(Event_Right_Button_Up, 21, 31);  // inside the rectangle, beside the open menu

    ASSERT_EQ(list->objects.front(), &plain.menu);
    EXPECT_EQ(plain.menu.owner, &plain);
    EXPECT_EQ(plain.menu.items, (std::vector<std::string>{"Load data from file...", "Add Indicator...",
                                                          "Close", "Close", "Close", "Pwn", "Close"}));
    EXPECT_EQ(plain.menu.rect.left, 21);
    EXPECT_EQ(plain.menu.rect.top, 31);
    EXPECT_EQ(pixel(30, 47), Menu_Colour);  // below the first entry's text line

    list->dispatch_event(Event_Left_Button_Up, 300, 10);
    EXPECT_EQ(plain.menu.chosen, -1);
    EXPECT_EQ(list->objects, (std::vector<On_Screen_Object*>{&plain, &background}));
    test_support::pump_until_idle();
    EXPECT_EQ(pixel(40, 40), 0x00373737u);
}

TEST_F(Rect_Objects_Test, SizingCursorsSitExactlyOnTheEdgeLines) {
    movable.rect = &area;
    struct Probe {
        int x, y, cursor;
    };
    for (Probe probe : {Probe{20, 30, Size_NWSE},
                        {60, 70, Size_NWSE},
                        {60, 30, Size_NESW},
                        {20, 70, Size_NESW},
                        {40, 30, Size_NS},
                        {40, 70, Size_NS},
                        {20, 50, Size_WE},
                        {60, 50, Size_WE},
                        {21, 31, Arrow},
                        {59, 69, Arrow},
                        {61, 70, Arrow},
                        {40, 29, Arrow}}) {
        EXPECT_EQ(cursor_after_move(probe.x, probe.y), probe.cursor) << probe.x << "," << probe.y;
    }
    SetCursor(LoadCursorA(nullptr, IDC_HAND));
    EXPECT_FALSE(movable.set_edge_cursor(21, 31));
    EXPECT_EQ(platform::headless::current_cursor(), Hand);
}

TEST_F(Rect_Objects_Test, DraggedEdgesStopTwoPixelsFromTheOppositeEdge) {
    movable.rect = &area;
    EXPECT_EQ(movable.handle_event(Event_Left_Button_Down, 40, 70), Action_Raise);
    EXPECT_EQ(movable.active, 1);
    EXPECT_EQ(movable.handle_event(Event_Mouse_Move, 40, 31), Action_None);
    EXPECT_EQ(area.bottom, 70);
    EXPECT_EQ(movable.handle_event(Event_Mouse_Move, 90, 32), Action_Redraw);
    EXPECT_EQ(area.bottom, 32);
    movable.handle_event(Event_Mouse_Move, 40, 10);
    EXPECT_EQ(area.bottom, 32);
    EXPECT_EQ(movable.handle_event(Event_Left_Button_Up, 40, 10), Action_Raise);
    EXPECT_EQ(movable.active, 0);
    EXPECT_EQ(movable.handle_event(Event_Mouse_Move, 40, 100), Action_None);
    EXPECT_TRUE(same_rect(area, RECT{20, 30, 60, 32}));

    area = RECT{20, 30, 60, 70};
    movable.handle_event(Event_Left_Button_Down, 60, 50);
    movable.handle_event(Event_Mouse_Move, 21, 500);
    EXPECT_EQ(area.right, 60);
    movable.handle_event(Event_Mouse_Move, 22, -500);
    EXPECT_TRUE(same_rect(area, RECT{20, 30, 22, 70}));
    movable.handle_event(Event_Left_Button_Up, 22, -500);
}

TEST_F(Rect_Objects_Test, CornerGrabDragsBothEdgesAndInsidePressGrabsNothing) {
    movable.rect = &area;
    movable.handle_event(Event_Left_Button_Down, 21, 31);
    EXPECT_EQ(movable.active, 0);
    EXPECT_EQ(movable.handle_event(Event_Mouse_Move, 5, 5), Action_None);

    movable.handle_event(Event_Left_Button_Down, 20, 30);
    movable.handle_event(Event_Mouse_Move, 10, 5);
    EXPECT_TRUE(same_rect(area, RECT{10, 5, 60, 70}));
    movable.handle_event(Event_Left_Button_Up, 10, 5);
    movable.handle_event(Event_Left_Button_Down, 60, 70);
    movable.handle_event(Event_Mouse_Move, 80, 90);
    EXPECT_TRUE(same_rect(area, RECT{10, 5, 80, 90}));
}

TEST_F(Rect_Objects_Test, MovesAndEdgeDragsKeepTwentyPixelsInsideTheClientArea) {
    place(movable);
    RECT client{};
    GetClientRect(window.handle, &client);
    const LONG width = client.right;
    const LONG height = client.bottom;
    movable.start_move(40, 50);  // 20 pixels right of and below the top-left corner
    movable.handle_event(Event_Mouse_Move, -1000, -1000);
    EXPECT_TRUE(same_rect(area, RECT{-20, -20, 20, 20}));
    movable.handle_event(Event_Mouse_Move, 5000, 5000);
    EXPECT_TRUE(same_rect(area, RECT{width - 20, height - 20, width + 20, height + 20}));
    movable.handle_event(Event_Mouse_Move, 100, 120);  // within reach: the grab offset holds
    EXPECT_TRUE(same_rect(area, RECT{80, 100, 120, 140}));
    movable.handle_event(Event_Left_Button_Up, 100, 120);

    // Each dragged edge stops where 20 pixels of the rectangle stay inside.
    area = RECT{-300, 30, 60, 70};
    movable.handle_event(Event_Left_Button_Down, 60, 50);
    movable.handle_event(Event_Mouse_Move, 5, 50);
    EXPECT_EQ(area.right, 20);
    movable.handle_event(Event_Left_Button_Up, 5, 50);
    area = RECT{100, 30, width + 300, 70};
    movable.handle_event(Event_Left_Button_Down, 100, 50);
    movable.handle_event(Event_Mouse_Move, width + 100, 50);
    EXPECT_EQ(area.left, width - 20);
    movable.handle_event(Event_Left_Button_Up, 0, 0);
    area = RECT{20, -300, 60, 70};
    movable.handle_event(Event_Left_Button_Down, 40, 70);
    movable.handle_event(Event_Mouse_Move, 40, -100);
    EXPECT_EQ(area.bottom, 20);
    movable.handle_event(Event_Left_Button_Up, 0, 0);
    area = RECT{20, 30, 60, height + 300};
    movable.handle_event(Event_Left_Button_Down, 40, 30);
    movable.handle_event(Event_Mouse_Move, 40, height + 100);
    EXPECT_EQ(area.top, height - 20);
    movable.handle_event(Event_Left_Button_Up, 0, 0);

    // A rectangle smaller than that stays wholly inside.
    area = RECT{50, 50, 60, 60};
    movable.start_move(50, 50);
    movable.handle_event(Event_Mouse_Move, -100, 9000);
    EXPECT_TRUE(same_rect(area, RECT{10, height - 20, 20, height - 10}));
}

TEST_F(Rect_Objects_Test, MenuClosedWithoutAChoiceStartsNoMove) {
    place(movable);
    list->dispatch_event(Event_Right_Button_Up, 30, 40);
    EXPECT_EQ(movable.menu.items, std::vector<std::string>{"Move window"});
    list->dispatch_event(Event_Left_Button_Up, 300, 10);  // outside the menu
    EXPECT_EQ(movable.menu.chosen, -1);
    list->dispatch_event(Event_Mouse_Move, 100, 100);
    EXPECT_EQ(movable.moving, 0);
    EXPECT_TRUE(same_rect(area, RECT{20, 30, 60, 70}));
}

}  // namespace
