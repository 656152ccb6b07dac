// The edit control under user input: typing, editing keys, Shift selection, the clipboard keys and the mouse.
#include <string>
#include <utility>

#include "control_test_window.h"
#include "platform/display/display.h"
#include "platform/testing/testing.h"

namespace controls_test {
namespace {

namespace headless = platform::headless;
using platform::display::Modifier_Control;
using platform::display::Modifier_Shift;

class Edit_Input_Test : public Control_Test {
protected:
    void SetUp() override {
        Control_Test::SetUp();
        edit_ = create_edit(200, 30, 100, 30);
        focus_edit(edit_);
    }

    // A key pressed while the modifier keys are held, as a keyboard delivers it.
    static void press(int key, unsigned modifiers = 0) {
        if (modifiers & Modifier_Control) headless::key_down(VK_CONTROL, Modifier_Control);
        if (modifiers & Modifier_Shift) headless::key_down(VK_SHIFT, modifiers);
        headless::key_press(key, modifiers);
        if (modifiers & Modifier_Shift) headless::key_up(VK_SHIFT, modifiers & ~Modifier_Shift);
        if (modifiers & Modifier_Control) headless::key_up(VK_CONTROL, 0);
        pump();
    }

    static void type(const std::string& text) {
        headless::type_text(text);
        pump();
    }

    std::pair<DWORD, DWORD> selection() const {
        DWORD start = 99;
        DWORD end = 99;
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    HWND edit_ = nullptr;
};

TEST_F(Edit_Input_Test, TypedTextIsInsertedAtTheCaret) {
    type("2.5");
    EXPECT_EQ(text_of(edit_), "2.5");
    press(VK_LEFT);
    press(VK_LEFT);
    type("1");
    EXPECT_EQ(text_of(edit_), "21.5");
    EXPECT_EQ(selection(), std::make_pair(DWORD{2}, DWORD{2}));
}

TEST_F(Edit_Input_Test, BackspaceAndDeleteRemoveAroundTheCaret) {
    type("abcdef");
    press(VK_BACK);
    EXPECT_EQ(text_of(edit_), "abcde");
    press(VK_HOME);
    press(VK_DELETE);
    EXPECT_EQ(text_of(edit_), "bcde");
    press(VK_BACK);  // nothing before the caret
    EXPECT_EQ(text_of(edit_), "bcde");
    press(VK_END);
    press(VK_DELETE);  // nothing after it
    EXPECT_EQ(text_of(edit_), "bcde");
    press(VK_RIGHT);  // already at the end
    type("!");
    EXPECT_EQ(text_of(edit_), "bcde!");
}

TEST_F(Edit_Input_Test, ShiftArrowsSelectAndTypingReplacesTheSelection) {
    type("hello");
    press(VK_LEFT, Modifier_Shift);
    press(VK_LEFT, Modifier_Shift);
    EXPECT_EQ(selection(), std::make_pair(DWORD{3}, DWORD{5}));
    type("p!");
    EXPECT_EQ(text_of(edit_), "help!");

    press(VK_HOME, Modifier_Shift);
    EXPECT_EQ(selection(), std::make_pair(DWORD{0}, DWORD{5}));
    press(VK_RIGHT);  // collapses the selection at its end
    EXPECT_EQ(selection(), std::make_pair(DWORD{5}, DWORD{5}));
    press(VK_LEFT, Modifier_Shift);
    press(VK_BACK);
    EXPECT_EQ(text_of(edit_), "help");
}

TEST_F(Edit_Input_Test, ControlACAndXGoThroughTheClipboard) {
    type("0.020000");
    press('A', Modifier_Control);
    EXPECT_EQ(selection(), std::make_pair(DWORD{0}, DWORD{8}));
    press('C', Modifier_Control);
    EXPECT_EQ(headless::clipboard(), "0.020000");
    EXPECT_EQ(text_of(edit_), "0.020000");

    press(VK_END);
    press(VK_LEFT, Modifier_Shift);
    press(VK_LEFT, Modifier_Shift);
    press('X', Modifier_Control);
    EXPECT_EQ(headless::clipboard(), "00");
    EXPECT_EQ(text_of(edit_), "0.0200");
}

TEST_F(Edit_Input_Test, CopyWithoutSelectionLeavesTheClipboardAlone) {
    headless::set_clipboard("kept");
    type("abc");
    press('C', Modifier_Control);
    press('X', Modifier_Control);
    EXPECT_EQ(headless::clipboard(), "kept");
    EXPECT_EQ(text_of(edit_), "abc");
}

TEST_F(Edit_Input_Test, PasteReplacesSelectionWithTheFirstLineOnly) {
    type("xx");
    press('A', Modifier_Control);
    headless::set_clipboard("12.5\r\nsecond line");
    press('V', Modifier_Control);
    EXPECT_EQ(text_of(edit_), "12.5");
    headless::set_clipboard("7\nrest");
    press(VK_HOME);
    press('V', Modifier_Control);
    EXPECT_EQ(text_of(edit_), "712.5");
}

// The edit's bytes are Latin-1; the screen's clipboard holds UTF-8.
TEST_F(Edit_Input_Test, ClipboardTextIsConvertedBetweenLatin1AndTheScreensUtf8) {
    type("\xC3\xA9t\xC3\xA9");  // "ete" with acute accents, typed as UTF-8
    ASSERT_EQ(text_of(edit_), "\xE9t\xE9");
    press('A', Modifier_Control);
    press('C', Modifier_Control);
    EXPECT_EQ(headless::clipboard(), "\xC3\xA9t\xC3\xA9");

    headless::set_clipboard("\xC2\xBD \xCE\xB6");  // one half, zeta
    press('V', Modifier_Control);
    EXPECT_EQ(text_of(edit_), "\xBD ?") << "zeta has no Latin-1 byte";
}

TEST_F(Edit_Input_Test, CutKeepsTheTextWhileAnotherWindowHasTheClipboardOpen) {
    headless::set_clipboard("before");
    type("0.5");
    press('A', Modifier_Control);
    ASSERT_TRUE(OpenClipboard(parent_));
    press('X', Modifier_Control);
    press('V', Modifier_Control);
    EXPECT_EQ(text_of(edit_), "0.5") << "neither cut nor replaced by a paste";
    EXPECT_EQ(headless::clipboard(), "before");
    ASSERT_TRUE(CloseClipboard());
    press('X', Modifier_Control);
    EXPECT_EQ(text_of(edit_), "");
    EXPECT_EQ(headless::clipboard(), "0.5");
}

TEST_F(Edit_Input_Test, PastingAnEmptyClipboardKeepsTheSelection) {
    type("0.5");
    press('A', Modifier_Control);
    headless::set_clipboard("");
    press('V', Modifier_Control);
    EXPECT_EQ(text_of(edit_), "0.5");
}

TEST_F(Edit_Input_Test, ControlLettersDoNotInsertText) {
    type("ab");
    press('B', Modifier_Control);
    SendMessageA(edit_, WM_CHAR, 0x02, 0);  // what Ctrl+B types
    SendMessageA(edit_, WM_CHAR, '\t', 0);
    SendMessageA(edit_, WM_CHAR, '\r', 0);
    SendMessageA(edit_, WM_CHAR, 0x7f, 0);
    pump();
    EXPECT_EQ(text_of(edit_), "ab");
}

TEST_F(Edit_Input_Test, ClickPlacesTheCaretAtTheNearestCharacterBoundary) {
    set_text(edit_, "MMMMM");
    HDC dc = CreateCompatibleDC(nullptr);
    SIZE two{};
    SIZE three{};
    GetTextExtentPoint32A(dc, "MM", 2, &two);
    GetTextExtentPoint32A(dc, "MMM", 3, &three);
    DeleteDC(dc);

    headless::click(edit_, edit_text_left + two.cx + 2, 10);  // just right of the second M
    pump();
    EXPECT_EQ(selection(), std::make_pair(DWORD{2}, DWORD{2}));
    headless::click(edit_, edit_text_left + three.cx - 2, 10);  // just left of the third M's end
    pump();
    EXPECT_EQ(selection(), std::make_pair(DWORD{3}, DWORD{3}));
    headless::click(edit_, 95, 10);  // past the text
    pump();
    EXPECT_EQ(selection(), std::make_pair(DWORD{5}, DWORD{5}));
    type("!");
    EXPECT_EQ(text_of(edit_), "MMMMM!");
}

TEST_F(Edit_Input_Test, DraggingWithTheButtonHeldSelects) {
    set_text(edit_, "MMMMM");
    headless::mouse_down(edit_, edit_text_left, 10);
    headless::mouse_move(edit_, 95, 10);
    headless::mouse_up(edit_, 95, 10);
    pump();
    EXPECT_EQ(selection(), std::make_pair(DWORD{0}, DWORD{5}));
}

TEST_F(Edit_Input_Test, ClickMovesFocusBetweenEdits) {
    HWND other = create_edit(200, 90, 100, 30);
    focus_edit(other);
    type("9");
    EXPECT_EQ(text_of(other), "9");
    EXPECT_EQ(text_of(edit_), "");
}

TEST_F(Edit_Input_Test, TypingStopsAtTheTextLimit) {
    std::string full(30000, '7');
    set_text(edit_, full.c_str());
    press(VK_END);
    type("8");
    EXPECT_EQ(text_of(edit_), full);
    headless::set_clipboard("123");
    press(VK_LEFT, Modifier_Shift);
    press('V', Modifier_Control);  // one character selected: one fits
    EXPECT_EQ(text_of(edit_), std::string(29999, '7') + "1");
}

}  // namespace
}  // namespace controls_test
