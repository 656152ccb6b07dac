// The dialog keyboard interface in a plain top-level window with edits and buttons (IsDialogMessageA): Tab
// order, Enter and the default button, Escape, and the keys the controls keep for themselves.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_input.h"
#include "tests/support/window_test.h"

using test_support::Logged_Message;
using test_support::message_log;
using test_support::register_logging_class;
using Strings = std::vector<std::string>;

namespace {

constexpr int apply_id = 7;

class Dialog_Navigation : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(register_logging_class("Form"), 0);
        form = create_top_level("Form", 100, 100, 400, 300, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        message_log().name_window(form, "form");
        first = make_control("Edit", "0.5", 10, WS_TABSTOP);
        plain = make_control("Edit", "plain", 50, 0);
        disabled = make_control("Edit", "off", 90, WS_TABSTOP | WS_DISABLED);
        hidden = make_control("Edit", "hidden", 130, WS_TABSTOP, false);
        second = make_control("Edit", "14.1", 170, WS_TABSTOP);
        apply = make_control("Button", "Apply", 210, WS_TABSTOP, true, apply_id);
        test_support::take_keyboard(form);
        SetFocus(first);
        pump();
        message_log().clear();
    }

    void TearDown() override {
        test_support::release_modifier_keys();
        pump();
        Headless_Window_Test::TearDown();
    }

    HWND make_control(const char* class_name, const char* text, int y, DWORD style, bool visible = true,
                      int id = 0) {
        HWND control = CreateWindowExA(
            0, class_name, text, WS_CHILD | WS_BORDER | style | (visible ? WS_VISIBLE : 0), 10, y, 120, 30,
            form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(control, nullptr);
        return control;
    }

    void pump() const { test_support::pump_dialog_until_idle(form); }

    void press(int key, unsigned modifiers = 0, const char* typed = nullptr) const {
        test_support::press_key(key, modifiers, typed);
        pump();
    }

    static std::pair<DWORD, DWORD> selection(HWND edit) {
        DWORD start = 99;
        DWORD end = 99;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    static std::string text_of(HWND window) {
        char text[64] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    // The commands the window received, without the edits' notifications (EN_SETFOCUS and the like), which
    // Win32's edit sends and this layer's does not.
    static std::vector<Logged_Message> commands() {
        std::vector<Logged_Message> found;
        for (const Logged_Message& command : message_log().of(WM_COMMAND)) {
            if (HIWORD(command.wparam) == BN_CLICKED) found.push_back(command);
        }
        return found;
    }

    HWND form = nullptr;
    HWND first = nullptr;
    HWND plain = nullptr;
    HWND disabled = nullptr;
    HWND hidden = nullptr;
    HWND second = nullptr;
    HWND apply = nullptr;
};

TEST_F(Dialog_Navigation, TabStopsFollowCreationOrderAndSkipWhatCannotTakeTheFocus) {
    EXPECT_EQ(GetNextDlgTabItem(form, first, FALSE), second) << "no tab stop, disabled, hidden";
    EXPECT_EQ(GetNextDlgTabItem(form, second, FALSE), apply);
    EXPECT_EQ(GetNextDlgTabItem(form, apply, FALSE), first) << "round from the last to the first";
    EXPECT_EQ(GetNextDlgTabItem(form, first, TRUE), apply) << "and backward from the first to the last";
    EXPECT_EQ(GetNextDlgTabItem(form, apply, TRUE), second);
    EXPECT_EQ(GetNextDlgTabItem(form, plain, FALSE), second) << "from a control that is no tab stop";
    EXPECT_EQ(GetNextDlgTabItem(form, plain, TRUE), first);
    EXPECT_EQ(GetNextDlgTabItem(form, nullptr, FALSE), first);
    EXPECT_EQ(GetNextDlgTabItem(form, form, FALSE), first) << "the window itself counts as none";

    SetWindowLongPtrA(apply, GWL_STYLE, GetWindowLongPtrA(apply, GWL_STYLE) & ~WS_TABSTOP);
    SetWindowLongPtrA(second, GWL_STYLE, GetWindowLongPtrA(second, GWL_STYLE) & ~WS_TABSTOP);
    EXPECT_EQ(GetNextDlgTabItem(form, first, FALSE), first) << "the only tab stop";
    SetWindowLongPtrA(first, GWL_STYLE, GetWindowLongPtrA(first, GWL_STYLE) & ~WS_TABSTOP);
    EXPECT_EQ(GetNextDlgTabItem(form, nullptr, FALSE), nullptr) << "none at all";
    EXPECT_EQ(GetNextDlgTabItem(form, plain, FALSE), plain);
}

// Win32 documents that without a control the search starts at the first control when going backward.
TEST_F(Dialog_Navigation, BackwardWithoutAControlFindsTheLastTabStop) {
    EXPECT_EQ(GetNextDlgTabItem(form, nullptr, TRUE), apply);
}

TEST_F(Dialog_Navigation, TabAndShiftTabMoveTheFocusAndSelectTheWholeText) {
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), second);
    EXPECT_EQ(selection(second), std::make_pair(DWORD{0}, DWORD{4}));
    press(VK_TAB, test_support::Shift);
    EXPECT_EQ(GetFocus(), first);
    EXPECT_EQ(selection(first), std::make_pair(DWORD{0}, DWORD{3}));
    press(VK_TAB);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), apply);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), first) << "round again";

    EXPECT_EQ(text_of(first), "0.5") << "Tab typed nothing";
    EXPECT_TRUE(message_log().of(WM_KEYDOWN).empty()) << "the window saw no key either";
    EXPECT_TRUE(message_log().of(WM_CHAR).empty());

    // With the focus on the window itself, Tab goes to the first field.
    SetFocus(form);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(Dialog_Navigation, TypingAndTheEditsOwnKeysStillReachTheEdit) {
    SetWindowTextA(first, "");
    test_support::type_text("25");
    pump();
    press(VK_LEFT);
    test_support::type_text(".");
    pump();
    EXPECT_EQ(text_of(first), "2.5");
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(Dialog_Navigation, EnterWithoutADefaultButtonSendsIdok) {
    SetFocus(second);
    press(VK_RETURN);
    ASSERT_EQ(commands().size(), 1u);
    EXPECT_EQ(commands()[0].wparam, static_cast<WPARAM>(IDOK));
    EXPECT_EQ(commands()[0].lparam, 0) << "no control has the id IDOK";
    EXPECT_EQ(message_log().of(DM_GETDEFID).size(), 1u) << "the window was asked first";
    EXPECT_EQ(text_of(second), "14.1") << "Enter typed nothing";

    // A control with the id IDOK is named.
    SetWindowLongPtrA(apply, GWLP_ID, IDOK);
    message_log().clear();
    press(VK_RETURN);
    ASSERT_EQ(commands().size(), 1u);
    EXPECT_EQ(commands()[0].wparam, static_cast<WPARAM>(IDOK));
    EXPECT_EQ(commands()[0].lparam, reinterpret_cast<LPARAM>(apply));
}

TEST_F(Dialog_Navigation, EnterPressesTheButtonTheWindowNamesAsDefault) {
    message_log().handler = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == DM_GETDEFID) return MAKELRESULT(apply_id, DC_HASDEFID);
        return std::nullopt;
    };
    press(VK_RETURN);
    ASSERT_EQ(commands().size(), 1u);
    EXPECT_EQ(commands()[0].wparam, MAKEWPARAM(apply_id, BN_CLICKED));
    EXPECT_EQ(commands()[0].lparam, reinterpret_cast<LPARAM>(apply));
}

TEST_F(Dialog_Navigation, AFocusedDefaultPushButtonTakesEnterAndAPlainOneDoesNot) {
    HWND default_button = make_control("Button", "OK", 250, WS_TABSTOP | BS_DEFPUSHBUTTON, true, 9);
    SetFocus(default_button);
    press(VK_RETURN);
    SetFocus(apply);
    press(VK_RETURN);
    ASSERT_EQ(commands().size(), 2u);
    EXPECT_EQ(commands()[0].wparam, MAKEWPARAM(9, BN_CLICKED));
    EXPECT_EQ(commands()[0].lparam, reinterpret_cast<LPARAM>(default_button));
    EXPECT_EQ(commands()[1].wparam, static_cast<WPARAM>(IDOK));
}

TEST_F(Dialog_Navigation, EscapeSendsIdcancelAndSpaceClicksTheFocusedButton) {
    press(VK_ESCAPE);
    SetFocus(apply);
    press(VK_SPACE, 0, " ");
    ASSERT_EQ(commands().size(), 2u);
    EXPECT_EQ(commands()[0].wparam, static_cast<WPARAM>(IDCANCEL));
    EXPECT_EQ(commands()[0].lparam, 0);
    EXPECT_EQ(commands()[1].wparam, MAKEWPARAM(apply_id, BN_CLICKED));
    EXPECT_EQ(commands()[1].lparam, reinterpret_cast<LPARAM>(apply));
}

TEST_F(Dialog_Navigation, ArrowsAControlDoesNotWantAreTakenWithoutMovingTheFocus) {
    SetFocus(apply);
    message_log().clear();
    press(VK_DOWN);
    press(VK_RIGHT);
    EXPECT_EQ(GetFocus(), apply);
    EXPECT_TRUE(message_log().of(WM_KEYDOWN).empty());
}

TEST_F(Dialog_Navigation, AControlThatWantsTabGetsItAsKeyAndCharacter) {
    HWND wants_tab = nullptr;
    message_log().handler = [&wants_tab](HWND window, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (window == wants_tab && msg == WM_GETDLGCODE) return DLGC_WANTTAB | DLGC_WANTCHARS;
        return std::nullopt;
    };
    wants_tab = make_control("Form", "", 250, WS_TABSTOP);
    message_log().name_window(wants_tab, "field");
    SetFocus(wants_tab);
    message_log().clear();
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), wants_tab);
    EXPECT_EQ(message_log().sequence({WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
              (Strings{"field WM_KEYDOWN", "field WM_CHAR", "field WM_KEYUP"}));
    EXPECT_EQ(message_log().of(WM_CHAR).at(0).wparam, static_cast<WPARAM>('\t'));
}

TEST_F(Dialog_Navigation, MessagesForOtherWindowsAreLeftToTheCaller) {
    HWND other = create_top_level("Form", 600, 100, 100, 100);
    MSG msg{other, WM_KEYDOWN, VK_TAB, 1, 0, POINT{}};
    EXPECT_FALSE(IsDialogMessageA(form, &msg));
    msg.hwnd = nullptr;
    msg.message = WM_USER;
    EXPECT_FALSE(IsDialogMessageA(form, &msg));
    EXPECT_EQ(GetFocus(), first);

    // A message for the window or a control is handled: dispatched if it is no navigation key.
    msg = MSG{form, WM_USER + 1, 0, 0, 0, POINT{}};
    EXPECT_TRUE(IsDialogMessageA(form, &msg));
    EXPECT_EQ(message_log().of(WM_USER + 1).size(), 1u);
}

TEST_F(Dialog_Navigation, ControlsSayWhichKeysTheyWant) {
    HWND default_button = make_control("Button", "OK", 250, BS_DEFPUSHBUTTON, true, 9);
    EXPECT_EQ(SendMessageA(first, WM_GETDLGCODE, 0, 0), DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS);
    EXPECT_EQ(SendMessageA(apply, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(SendMessageA(default_button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessageA(form, WM_GETDLGCODE, 0, 0), 0) << "DefWindowProc";
    EXPECT_EQ(GetDlgItem(form, apply_id), apply);
    EXPECT_EQ(GetDlgItem(form, 12345), nullptr);
}

}  // namespace
