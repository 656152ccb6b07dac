// What the edit control shows: white field and black border, the caret as a one-pixel line where the caret
// is, the selection highlighted, long text scrolled so that the caret stays visible, one line whatever the
// bytes.
#include <string>
#include <vector>

#include "control_test_window.h"
#include "platform/display/display.h"
#include "platform/gdi/surface.h"
#include "platform/testing/testing.h"

namespace controls_test {
namespace {

namespace headless = platform::headless;

constexpr int width = 100;
constexpr int height = 30;

class Edit_View_Test : public Control_Test {
protected:
    void SetUp() override {
        Control_Test::SetUp();
        edit_ = create_edit(200, 30, width, height);
    }

    // Columns inside the border whose whole line height is the text colour: only the caret draws such a line.
    std::vector<int> caret_columns() const {
        std::vector<int> columns;
        COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
        for (int x = 1; x < width - 1; ++x) {
            bool full = true;
            for (int y = edit_text_top; y < edit_text_top + line_height && full; ++y)
                full = shown(edit_, x, y) == ink;
            if (full) columns.push_back(x);
        }
        return columns;
    }

    int count_inside(COLORREF colour) const {
        int count = 0;
        for (int y = 1; y < height - 1; ++y) {
            for (int x = 1; x < width - 1; ++x)
                count += shown(edit_, x, y) == colour;
        }
        return count;
    }

    HWND edit_ = nullptr;
};

TEST_F(Edit_View_Test, EmptyUnfocusedEditIsWhiteInsideABlackBorder) {
    COLORREF black = RGB(0, 0, 0);
    for (int x = 0; x < width; ++x) {
        ASSERT_EQ(shown(edit_, x, 0), black) << x;
        ASSERT_EQ(shown(edit_, x, height - 1), black) << x;
    }
    for (int y = 0; y < height; ++y) {
        ASSERT_EQ(shown(edit_, 0, y), black) << y;
        ASSERT_EQ(shown(edit_, width - 1, y), black) << y;
    }
    EXPECT_EQ(count_inside(GetSysColor(COLOR_WINDOW)), (width - 2) * (height - 2));
}

TEST_F(Edit_View_Test, CaretShowsOnlyWhileFocused) {
    set_text(edit_, "abc");
    EXPECT_TRUE(caret_columns().empty());
    focus_edit(edit_);
    EXPECT_EQ(caret_columns(), std::vector<int>{edit_text_left});
    HWND other = create_edit(200, 90, 100, 30);
    focus_edit(other);
    EXPECT_TRUE(caret_columns().empty());
}

TEST_F(Edit_View_Test, CaretFollowsTheTextEnd) {
    focus_edit(edit_);
    headless::type_text("abc");
    pump();
    HDC dc = CreateCompatibleDC(nullptr);
    SIZE size{};
    GetTextExtentPoint32A(dc, "abc", 3, &size);
    DeleteDC(dc);
    EXPECT_EQ(caret_columns(), std::vector<int>{edit_text_left + size.cx});
}

TEST_F(Edit_View_Test, LongTextScrollsToKeepTheCaretVisible) {
    std::string long_text(300, 'a');
    set_text(edit_, long_text.c_str());
    focus_edit(edit_);
    headless::key_press(VK_END);
    pump();
    std::vector<int> at_end = caret_columns();
    ASSERT_EQ(at_end.size(), 1u) << "caret not visible at the end of a long text";
    EXPECT_GT(at_end[0], width / 2);
    EXPECT_LT(at_end[0], width - 1);
    EXPECT_EQ(shown(edit_, 0, 10), RGB(0, 0, 0)) << "scrolled text drawn over the border";

    headless::key_press(VK_HOME);
    pump();
    EXPECT_EQ(caret_columns(), std::vector<int>{edit_text_left});

    headless::key_press(VK_END);
    headless::type_text("b");
    pump();
    EXPECT_EQ(caret_columns().size(), 1u) << "caret lost while typing at the end";
}

TEST_F(Edit_View_Test, DeletingScrolledTextBringsTheRestBackIntoView) {
    std::string long_text(40, 'a');
    set_text(edit_, long_text.c_str());
    focus_edit(edit_);
    headless::key_press(VK_END);
    for (int i = 0; i < 38; ++i)
        headless::key_press(VK_BACK);
    pump();
    HDC dc = CreateCompatibleDC(nullptr);
    SIZE size{};
    GetTextExtentPoint32A(dc, "aa", 2, &size);
    DeleteDC(dc);
    EXPECT_EQ(caret_columns(), std::vector<int>{edit_text_left + size.cx});
}

TEST_F(Edit_View_Test, SelectionIsHighlightedWhileFocused) {
    set_text(edit_, "select");
    focus_edit(edit_);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(count_inside(highlight), 0);
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    pump();
    EXPECT_GT(count_inside(highlight), 0);
    EXPECT_EQ(shown(edit_, edit_text_left + 1, edit_text_top), highlight);
    EXPECT_EQ(shown(edit_, width - 4, edit_text_top), GetSysColor(COLOR_WINDOW))
        << "highlight beyond the text";
}

TEST_F(Edit_View_Test, LineBreaksInTheTextStayOnOneLine) {
    set_text(edit_, "1\r\n2\n3\x01\t\xff");
    COLORREF white = GetSysColor(COLOR_WINDOW);
    bool drawn = false;
    for (int y = 1; y < height - 1; ++y) {
        for (int x = 1; x < width - 1; ++x) {
            if (shown(edit_, x, y) == white) continue;
            drawn = true;
            ASSERT_LT(y, edit_text_top + line_height)
                << "text drawn below the first line at " << x << "," << y;
        }
    }
    EXPECT_TRUE(drawn);
}

TEST_F(Edit_View_Test, PaintingLeaksNoGdiObjects) {
    set_text(edit_, "balance");
    focus_edit(edit_);
    pump();
    int before = platform::gdi::live_object_count();
    SendMessageA(edit_, EM_SETSEL, 1, 4);
    headless::type_text("x");
    InvalidateRect(edit_, nullptr, TRUE);
    pump();
    EXPECT_EQ(platform::gdi::live_object_count(), before);
}

}  // namespace
}  // namespace controls_test
