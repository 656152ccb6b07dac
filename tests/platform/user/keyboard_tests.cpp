// Keys as window messages: where they go, their lParam, the key state while each is handled, the characters
// TranslateMessage makes, and system keys. Real key input on both Windows and this layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_input.h"
#include "tests/support/window_test.h"

using test_support::Logged_Message;
using test_support::message_log;
using test_support::press_key;
using test_support::pump_until_idle;
using test_support::register_logging_class;
using Strings = std::vector<std::string>;

namespace {

constexpr LPARAM previous_state_bit = LPARAM{1} << 30;
constexpr LPARAM release_bit = LPARAM{1} << 31;
constexpr LPARAM alt_bit = LPARAM{1} << 29;

class Keyboard : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(register_logging_class("Keys"), 0);
        window = create_top_level("Keys", 100, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        child = create_child("Keys", window, 10, 10, 100, 40, 5);
        message_log().name_window(window, "window");
        message_log().name_window(child, "child");
        // System keys stop here: DefWindowProc would open the window menu for a lone Alt.
        message_log().handler = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP || msg == WM_SYSCHAR) return 0;
            return std::nullopt;
        };
        test_support::take_keyboard(window);
        SetFocus(child);
        pump_until_idle();
        message_log().clear();
    }

    void TearDown() override {
        test_support::release_modifier_keys();
        pump_until_idle();
        Headless_Window_Test::TearDown();
    }

    static Strings key_messages() {
        return message_log().sequence({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR});
    }

    HWND window = nullptr;
    HWND child = nullptr;
};

TEST_F(Keyboard, KeysGoToTheFocusWithRepeatAndTransitionBits) {
    test_support::key_down('A');
    test_support::key_down('A');  // held: the keyboard repeats
    test_support::key_up('A');
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_KEYDOWN, WM_KEYUP}),
              (Strings{"child WM_KEYDOWN", "child WM_KEYDOWN", "child WM_KEYUP"}));
    std::vector<Logged_Message> downs = message_log().of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].wparam, static_cast<WPARAM>('A'));
    EXPECT_EQ(LOWORD(downs[0].lparam), 1) << "repeat count";
    EXPECT_EQ(downs[0].lparam & (previous_state_bit | release_bit), 0) << "first press";
    EXPECT_EQ(downs[1].lparam & (previous_state_bit | release_bit), previous_state_bit) << "repeat";
    LPARAM up = message_log().of(WM_KEYUP).at(0).lparam;
    EXPECT_EQ(up & (previous_state_bit | release_bit), previous_state_bit | release_bit);
    EXPECT_EQ(LOWORD(up), 1);

    SetFocus(window);
    message_log().clear();
    press_key(VK_LEFT);
    pump_until_idle();
    EXPECT_EQ(key_messages(), (Strings{"window WM_KEYDOWN", "window WM_KEYUP"})) << "the new focus";
    EXPECT_EQ(message_log().of(WM_KEYDOWN).at(0).wparam, static_cast<WPARAM>(VK_LEFT));
}

TEST_F(Keyboard, KeyStateIsTheStateAsOfTheMessageBeingHandled) {
    struct Seen {
        WPARAM key;
        bool control;
        bool shift;
    };
    std::vector<Seen> seen;
    message_log().handler = [&seen](HWND, UINT msg, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_KEYDOWN)
            seen.push_back({wparam, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0});
        return std::nullopt;
    };
    press_key('C', test_support::Control);
    press_key(VK_OEM_PLUS, test_support::Shift, "+");
    press_key('S');
    test_support::key_down(VK_CONTROL);
    pump_until_idle();
    EXPECT_LT(GetKeyState(VK_CONTROL), 0) << "held after its message";
    test_support::key_up(VK_CONTROL);
    pump_until_idle();
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);

    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[1].key, static_cast<WPARAM>('C'));
    EXPECT_TRUE(seen[1].control);
    EXPECT_FALSE(seen[1].shift);
    EXPECT_EQ(seen[3].key, static_cast<WPARAM>(VK_OEM_PLUS));
    EXPECT_FALSE(seen[3].control) << "Ctrl was released before";
    EXPECT_TRUE(seen[3].shift);
    EXPECT_EQ(seen[4].key, static_cast<WPARAM>('S'));
    EXPECT_FALSE(seen[4].control);
    EXPECT_FALSE(seen[4].shift);
}

TEST_F(Keyboard, TranslateMessageMakesControlCharactersRightAfterTheirKey) {
    press_key('C', test_support::Control);
    press_key('S', test_support::Control);
    press_key(VK_BACK);
    press_key(VK_RETURN);
    press_key(VK_ESCAPE);
    press_key(VK_TAB);
    pump_until_idle();
    std::vector<Logged_Message> characters = message_log().of(WM_CHAR);
    std::vector<WPARAM> codes;
    for (const Logged_Message& character : characters)
        codes.push_back(character.wparam);
    EXPECT_EQ(codes, (std::vector<WPARAM>{0x03, 0x13, 0x08, 0x0D, 0x1B, 0x09}));
    Strings sequence = message_log().sequence({WM_KEYDOWN, WM_CHAR});
    EXPECT_EQ(sequence.at(1), "child WM_KEYDOWN") << "Ctrl+C: the C key";
    EXPECT_EQ(sequence.at(2), "child WM_CHAR") << "its character follows at once";
    EXPECT_EQ(characters.at(0).lparam, message_log().of(WM_KEYDOWN).at(1).lparam) << "the key's own lParam";
}

TEST_F(Keyboard, WithoutAFocusTheActiveWindowGetsSystemKeys) {
    SetFocus(nullptr);
    ASSERT_EQ(GetFocus(), nullptr);
    ASSERT_EQ(GetActiveWindow(), window);
    message_log().clear();
    press_key('S');
    pump_until_idle();
    EXPECT_EQ(key_messages(), (Strings{"window WM_SYSKEYDOWN", "window WM_SYSKEYUP"}));
    EXPECT_EQ(message_log().of(WM_SYSKEYDOWN).at(0).wparam, static_cast<WPARAM>('S'));
    EXPECT_EQ(message_log().of(WM_SYSKEYDOWN).at(0).lparam & alt_bit, 0) << "Alt is not held";
}

TEST_F(Keyboard, AltMakesSystemKeysUnlessCtrlIsHeldToo) {
    press_key('X', test_support::Alt);
    pump_until_idle();
    // Alt's own release is a plain key once another key went with it.
    EXPECT_EQ(message_log().sequence({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP}),
              (Strings{"child WM_SYSKEYDOWN", "child WM_SYSKEYDOWN", "child WM_SYSKEYUP", "child WM_KEYUP"}));
    std::vector<Logged_Message> downs = message_log().of(WM_SYSKEYDOWN);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].wparam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(downs[1].wparam, static_cast<WPARAM>('X'));
    EXPECT_EQ(downs[1].lparam & alt_bit, alt_bit);

    message_log().clear();
    press_key('X', test_support::Alt | test_support::Control);
    pump_until_idle();
    Strings x_messages;
    for (const Logged_Message& entry : message_log().entries()) {
        if (entry.wparam == 'X' && entry.message != WM_CHAR)
            x_messages.push_back(test_support::message_name(entry.message));
    }
    EXPECT_EQ(x_messages, (Strings{"WM_KEYDOWN", "WM_KEYUP"})) << "Ctrl+Alt is AltGr on many keyboards";
}

}  // namespace
