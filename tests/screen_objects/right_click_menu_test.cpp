#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/testing/testing.h"
#include "screen_objects/background.h"
#include "screen_objects/object_registry.h"
#include "screen_objects/right_click_menu.h"
#include "tests/screen_objects/object_test_window.h"
#include "tests/support/message_pump.h"

namespace {

using Log = std::vector<std::string>;

constexpr COLORREF Back_Colour = 0x00123456;

bool same_rect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT opened_at(std::initializer_list<std::string_view> entries, int x, int y) {
    On_Screen_Object_Right_Click_Menu menu;
    for (std::string_view entry : entries)
        menu.add_item(entry);
    menu.open_at(x, y);
    return menu.rect;
}

TEST(Right_Click_Menu_Test, OpensAtThePointerSizedByItsLongestEntry) {
    On_Screen_Object_Right_Click_Menu menu;
    menu.add_item("Move window");
    menu.add_item("Options");
    menu.open_at(100, 200);
    EXPECT_TRUE(same_rect(menu.rect, RECT{100, 200, 193, 234}));
    EXPECT_EQ(menu.active, 1);
    EXPECT_EQ(menu.colour, 0x00DE0000u);

    EXPECT_TRUE(same_rect(opened_at({}, 7, 9), RECT{7, 9, 7, 9}));
    EXPECT_EQ(opened_at({"abc"}, 0, 0).right, 25);                              // 25.5 truncated
    EXPECT_EQ(opened_at({"a"}, -10, 0).right, -1);                              // -1.5 truncated toward zero
    EXPECT_EQ(opened_at({std::string_view("ab\0cdefgh", 9)}, 0, 0).right, 17);  // counted up to the zero byte
}

class Menu_Test : public ::testing::Test {
protected:
    Menu_Test() {
        registry.add_window_record(window.handle);
        list = registry.find_record(window.handle);
        background.colour = Back_Colour;
        list->add_object(&background);
    }

    void show(On_Screen_Object_Right_Click_Menu& shown) {
        list->add_object(&shown);
        list->push_action(Action_Raise, &shown);
        list->process_actions(0, 0);
        test_support::pump_until_idle();
        log.clear();
    }

    // The paints a mouse move over the menu leads to.
    Log paints_after_move(int x, int y) {
        EXPECT_EQ(menu.handle_event(Event_Mouse_Move, x, y), Action_None);
        test_support::pump_until_idle();
        Log result = log;
        log.clear();
        return result;
    }

    Log log;
    Object_Registry registry;
    Object_Test_Window window{registry, &log};
    Window_Object_List* list = nullptr;
    On_Screen_Object_Background background;
    On_Screen_Object_Right_Click_Menu menu;
};

TEST_F(Menu_Test, HoveringRepaintsTheMenuWithoutEraseOnlyWhenTheRowChanges) {
    menu.add_item("first");
    menu.add_item("second");
    menu.open_at(20, 30);  // rows 30..46 and 47..63, bottom line 64
    show(menu);

    EXPECT_EQ(paints_after_move(25, 31), Log{"paint"});
    EXPECT_EQ(menu.hovered, 0);
    EXPECT_TRUE(same_rect(window.last_paint_rect, menu.rect));
    EXPECT_EQ(paints_after_move(60, 46), Log{});
    EXPECT_EQ(paints_after_move(26, 47), Log{"paint"});
    EXPECT_EQ(menu.hovered, 1);
    EXPECT_EQ(paints_after_move(26, 64), Log{"paint"});
    EXPECT_EQ(menu.hovered, 2);  // the bottom line is inside but names no entry

    EXPECT_EQ(menu.handle_event(Event_Left_Button_Up, 26, 64), Action_Remove);
    EXPECT_EQ(menu.chosen, 2);

    EXPECT_EQ(paints_after_move(300, 10), Log{"paint"});
    EXPECT_EQ(menu.hovered, -1);
    EXPECT_EQ(paints_after_move(301, 10), Log{});
    EXPECT_EQ(menu.handle_event(Event_Left_Button_Up, 301, 10), Action_Remove);
    EXPECT_EQ(menu.chosen, -1);
    for (std::int32_t ignored : {Event_Right_Button_Down, Event_Right_Button_Up, Event_Left_Button_Down})
        EXPECT_EQ(menu.handle_event(ignored, 26, 40), Action_None);
}

TEST_F(Menu_Test, DrawsItsColourWithTheHoveredRowHighlightedAndTextOnTop) {
    menu.add_item("      ");  // blank entries: the fill shows through, as text is drawn transparently
    menu.add_item("      ");
    menu.add_item("      ");
    menu.open_at(10, 10);  // 10..61 by 10..61
    show(menu);
    menu.handle_event(Event_Mouse_Move, 30, 30);
    test_support::pump_until_idle();

    HWND shown = window.handle;
    EXPECT_EQ(platform::headless::pixel(shown, 10, 10), Menu_Colour);
    EXPECT_EQ(platform::headless::pixel(shown, 60, 26), Menu_Colour);
    EXPECT_EQ(platform::headless::pixel(shown, 10, 27), Menu_Highlight_Colour);
    EXPECT_EQ(platform::headless::pixel(shown, 60, 43), Menu_Highlight_Colour);
    EXPECT_EQ(platform::headless::pixel(shown, 30, 44), Menu_Colour);
    EXPECT_EQ(platform::headless::pixel(shown, 61, 30), Back_Colour);
    EXPECT_EQ(platform::headless::pixel(shown, 30, 61), Back_Colour);

    On_Screen_Object_Right_Click_Menu text_menu;
    text_menu.add_item("Move window");
    text_menu.open_at(100, 100);
    show(text_menu);
    int text_pixels = 0;
    for (int y = 100; y < 117; ++y) {
        for (int x = 100; x < text_menu.rect.right; ++x)
            text_pixels += platform::headless::pixel(shown, x, y) != Menu_Colour;
    }
    EXPECT_GT(text_pixels, 20);
    EXPECT_EQ(window.leaking_paints, 0);
}

TEST_F(Menu_Test, ReopensWithNothingHighlightedAndWhollyInsideTheClientArea) {
    for (const char* entry : {"first", "second", "third"})
        menu.add_item(entry);
    menu.window = window.handle;
    menu.open_at(10, 10);
    show(menu);
    menu.handle_event(Event_Mouse_Move, 15, 30);
    EXPECT_EQ(menu.handle_event(Event_Left_Button_Up, 15, 30), Action_Remove);
    EXPECT_EQ(menu.chosen, 1);

    // Opened again: the last choice is not highlighted, and a release without a move chooses nothing.
    menu.open_at(10, 10);
    show(menu);
    EXPECT_EQ(menu.hovered, -1);
    EXPECT_EQ(platform::headless::pixel(window.handle, 12, 43), Menu_Colour);  // below the text
    menu.handle_event(Event_Left_Button_Up, 15, 30);
    EXPECT_EQ(menu.chosen, -1);

    RECT client{};
    GetClientRect(window.handle, &client);
    const LONG menu_width = 51;  // "second": 6 x 8.5
    menu.open_at(client.right - 5, client.bottom - 5);
    EXPECT_TRUE(same_rect(menu.rect,
                          RECT{client.right - menu_width, client.bottom - 51, client.right, client.bottom}));
    menu.open_at(-40, -7);  // a release outside the window while the pointer was held
    EXPECT_TRUE(same_rect(menu.rect, RECT{0, 0, menu_width, 51}));
}

TEST_F(Menu_Test, ShowsTheHandOnlyOverItself) {
    menu.add_item("entry");
    menu.open_at(50, 50);
    SetCursor(LoadCursorA(nullptr, IDC_SIZEALL));
    menu.update_cursor(49, 50);
    EXPECT_EQ(platform::headless::current_cursor(), 32646);
    menu.update_cursor(50, 67);
    EXPECT_EQ(platform::headless::current_cursor(), 32649);
}

}  // namespace
