// Display input turned into messages: pointer routing and coordinates, cursors, activation, focus and keys,
// and the screen's close and resize requests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"

namespace headless = platform::headless;
using test_support::Logged_Message;
using test_support::message_log;
using test_support::pump_until_idle;
using test_support::register_logging_class;
using Strings = std::vector<std::string>;

namespace {

class Input : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(
            register_logging_class("Input", CS_HREDRAW | CS_VREDRAW, nullptr, LoadCursorA(nullptr, IDC_HAND)),
            0);
        ASSERT_NE(register_logging_class("NoCursor"), 0);
        window = create_top_level("Input", 100, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        child = create_child("NoCursor", window, 50, 60, 100, 40, 5);
        message_log().name_window(window, "parent");
        message_log().name_window(child, "child");
        pump_until_idle();
        message_log().clear();
    }

    HWND window = nullptr;
    HWND child = nullptr;
};

TEST_F(Input, PointerInputGoesToTheWindowUnderItInClientCoordinates) {
    headless::mouse_move(window, 10, 20);
    headless::mouse_move(window, 60, 70);  // over the child
    headless::click(child, 3, 4, platform::display::Button_Right);
    headless::mouse_down(window, 299, 199);
    pump_until_idle();
    std::vector<Logged_Message> moves = message_log().of(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].window, window);
    EXPECT_EQ(moves[0].lparam, MAKELPARAM(10, 20));
    EXPECT_EQ(moves[1].window, child);
    EXPECT_EQ(moves[1].lparam, MAKELPARAM(10, 10));
    EXPECT_EQ(message_log().sequence({WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDOWN}),
              (Strings{"child WM_RBUTTONDOWN", "child WM_RBUTTONUP", "parent WM_LBUTTONDOWN"}));
    EXPECT_EQ(message_log().of(WM_RBUTTONDOWN)[0].lparam, MAKELPARAM(3, 4));
    EXPECT_EQ(message_log().of(WM_RBUTTONDOWN)[0].wparam, static_cast<WPARAM>(MK_RBUTTON));
    EXPECT_EQ(message_log().of(WM_RBUTTONUP)[0].wparam, 0u) << "the released button is no longer down";
    EXPECT_EQ(message_log().of(WM_LBUTTONDOWN)[0].lparam, MAKELPARAM(299, 199));
}

TEST_F(Input, NothingIsDeliveredOutsideTheClientAreaOrToHiddenWindows) {
    headless::mouse_down(window, 150, 100);
    headless::mouse_move(window, 300, 50);
    headless::mouse_up(window, -1, 50);  // no capture: the release outside is lost
    ShowWindow(child, SW_HIDE);
    headless::mouse_move(child, 1, 1);  // the hidden child's place belongs to the parent now
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE}),
              (Strings{"parent WM_LBUTTONDOWN", "parent WM_MOUSEMOVE"}));
    EXPECT_EQ(message_log().of(WM_MOUSEMOVE)[0].lparam, MAKELPARAM(51, 61));
    EXPECT_EQ(message_log().of(WM_MOUSEMOVE)[0].wparam, 0u) << "the release outside still counts";
}

TEST_F(Input, SetCursorComesBeforeEachPointerMessageAndShowsTheClassCursor) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    headless::mouse_move(window, 5, 5);
    headless::mouse_down(window, 5, 5);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_SETCURSOR, WM_MOUSEMOVE, WM_LBUTTONDOWN}),
              (Strings{"parent WM_SETCURSOR", "parent WM_MOUSEMOVE", "parent WM_SETCURSOR",
                       "parent WM_LBUTTONDOWN"}));
    Logged_Message set_cursor = message_log().of(WM_SETCURSOR)[1];
    EXPECT_EQ(set_cursor.wparam, reinterpret_cast<WPARAM>(window));
    EXPECT_EQ(set_cursor.lparam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(headless::current_cursor(), 32649);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));

    // DefWindowProc lets the parent decide first; the parent's class cursor is not the child's, and the
    // child's class has none, so the cursor stays.
    SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
    message_log().clear();
    headless::mouse_move(child, 1, 1);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_SETCURSOR, WM_MOUSEMOVE}),
              (Strings{"child WM_SETCURSOR", "parent WM_SETCURSOR", "child WM_MOUSEMOVE"}));
    EXPECT_EQ(headless::current_cursor(), 32644);

    ASSERT_NE(register_logging_class("Beam", 0, nullptr, LoadCursorA(nullptr, IDC_IBEAM)), 0);
    HWND beam = create_child("Beam", window, 200, 10, 50, 20);
    headless::mouse_move(beam, 1, 1);
    pump_until_idle();
    EXPECT_EQ(headless::current_cursor(), 32513) << "a child's own class cursor";
    headless::mouse_move(window, 1, 1);
    pump_until_idle();
    EXPECT_EQ(headless::current_cursor(), 32649);
}

TEST_F(Input, CursorsLoadByStandardIdentifierOnly) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    for (LPCSTR name : {IDC_HAND, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL}) {
        HCURSOR cursor = LoadCursorA(nullptr, name);
        ASSERT_NE(cursor, nullptr);
        EXPECT_NE(cursor, arrow);
        SetCursor(cursor);
        EXPECT_EQ(headless::current_cursor(), static_cast<int>(reinterpret_cast<std::uintptr_t>(name)));
    }
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), IDC_ARROW), nullptr)
        << "the program has no cursor resources";
    HCURSOR previous = SetCursor(arrow);
    EXPECT_EQ(SetCursor(nullptr), arrow);
    EXPECT_NE(previous, arrow);
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(Input, DoubleClicksAreTwoPressesUnlessTheClassAsksForThem) {
    headless::click(window, 10, 10);
    headless::click(window, 10, 10);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}),
              (Strings{"parent WM_LBUTTONDOWN", "parent WM_LBUTTONUP", "parent WM_LBUTTONDOWN",
                       "parent WM_LBUTTONUP"}));
}

TEST_F(Input, TwoTopLevelWindowsTradeActivation) {
    HWND other = create_top_level("NoCursor", 500, 100, 200, 200, WS_OVERLAPPEDWINDOW);
    message_log().name_window(other, "other");
    ASSERT_EQ(GetActiveWindow(), window);
    ShowWindow(other, SW_SHOW);
    EXPECT_EQ(message_log().sequence({WM_ACTIVATE}), (Strings{"parent WM_ACTIVATE", "other WM_ACTIVATE"}));
    std::vector<Logged_Message> activations = message_log().of(WM_ACTIVATE);
    EXPECT_EQ(LOWORD(activations[0].wparam), WA_INACTIVE);
    EXPECT_EQ(activations[0].lparam, reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(LOWORD(activations[1].wparam), WA_ACTIVE);
    EXPECT_EQ(activations[1].lparam, reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetFocus(), other);

    // A press in the inactive window activates it before the press arrives.
    message_log().clear();
    headless::click(window, 5, 5);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS, WM_LBUTTONDOWN}),
              (Strings{"other WM_ACTIVATE", "parent WM_ACTIVATE", "other WM_KILLFOCUS", "parent WM_SETFOCUS",
                       "parent WM_LBUTTONDOWN"}));
    EXPECT_EQ(LOWORD(message_log().of(WM_ACTIVATE)[1].wparam), WA_CLICKACTIVE);
    EXPECT_EQ(GetActiveWindow(), window);

    // The screen's own focus changes are followed.
    message_log().clear();
    headless::focus_gained(other);
    headless::focus_lost(window);  // already inactive: nothing more happens
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_ACTIVATE}), (Strings{"parent WM_ACTIVATE", "other WM_ACTIVATE"}));
    EXPECT_EQ(GetActiveWindow(), other);
    message_log().clear();
    headless::focus_lost(other);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_ACTIVATE}), (Strings{"other WM_ACTIVATE"}));
    EXPECT_EQ(GetActiveWindow(), nullptr);

    // Hiding the active window hands activation on.
    SetFocus(other);
    message_log().clear();
    ShowWindow(other, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(Input, PressInAChildFocusesItAndKeysGoToTheFocus) {
    headless::click(child, 1, 1);
    pump_until_idle();
    EXPECT_EQ(GetFocus(), child);
    EXPECT_EQ(message_log().sequence({WM_KILLFOCUS, WM_SETFOCUS, WM_LBUTTONDOWN}),
              (Strings{"parent WM_KILLFOCUS", "child WM_SETFOCUS", "child WM_LBUTTONDOWN"}));
    EXPECT_EQ(message_log().of(WM_SETFOCUS)[0].wparam, reinterpret_cast<WPARAM>(window));

    message_log().clear();
    headless::key_down(VK_SHIFT, platform::display::Modifier_Shift);
    headless::key_press('A', platform::display::Modifier_Shift);
    EXPECT_GE(0, GetKeyState(VK_SHIFT)) << "not retrieved yet";
    pump_until_idle();
    EXPECT_LT(GetKeyState(VK_SHIFT), 0) << "high bit set while down";
    headless::key_up(VK_SHIFT);
    headless::type_text("A\xC3\xA9");  // "A" and e acute
    pump_until_idle();
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(message_log().sequence({WM_KEYDOWN, WM_KEYUP, WM_CHAR}),
              (Strings{"child WM_KEYDOWN", "child WM_KEYDOWN", "child WM_KEYUP", "child WM_KEYUP",
                       "child WM_CHAR", "child WM_CHAR"}));
    std::vector<Logged_Message> keys = message_log().of(WM_KEYDOWN);
    EXPECT_EQ(keys[1].wparam, static_cast<WPARAM>('A'));
    EXPECT_EQ(message_log().of(WM_KEYUP)[0].lparam & (LPARAM{1} << 31), LPARAM{1} << 31);
    std::vector<Logged_Message> characters = message_log().of(WM_CHAR);
    EXPECT_EQ(characters[0].wparam, static_cast<WPARAM>('A'));
    EXPECT_EQ(characters[1].wparam, 0xE9u);
}

TEST_F(Input, TranslateMessageMakesCharactersForControlKeys) {
    SetFocus(child);
    headless::key_press(VK_BACK);
    headless::key_press(VK_RETURN);
    headless::key_press('C', platform::display::Modifier_Control);
    headless::key_press('C');  // printable keys come as Text events, not from TranslateMessage
    pump_until_idle();
    std::vector<Logged_Message> characters = message_log().of(WM_CHAR);
    ASSERT_EQ(characters.size(), 3u);
    EXPECT_EQ(characters[0].wparam, static_cast<WPARAM>(VK_BACK));
    EXPECT_EQ(characters[1].wparam, static_cast<WPARAM>(VK_RETURN));
    EXPECT_EQ(characters[2].wparam, 3u) << "Ctrl+C";
    EXPECT_EQ(message_log().sequence({WM_KEYDOWN, WM_CHAR}).at(1), "child WM_CHAR") << "right after its key";
}

// Set-1 scan codes as a PC keyboard sends them; the cursor keys carry the extended-key flag (bit 24).
TEST_F(Input, KeyMessagesCarryTheKeysScanCode) {
    SetFocus(child);
    const int keys[] = {'C',    'S',         '0',         '9',          VK_LEFT,  VK_HOME,
                        VK_ADD, VK_SUBTRACT, VK_OEM_PLUS, VK_OEM_MINUS, VK_RETURN};
    for (int key : keys)
        headless::key_press(key);
    pump_until_idle();
    std::vector<unsigned> codes;
    for (const Logged_Message& down : message_log().of(WM_KEYDOWN))
        codes.push_back(static_cast<unsigned>(down.lparam >> 16) & 0x1FF);
    EXPECT_EQ(codes,
              (std::vector<unsigned>{0x2E, 0x1F, 0x0B, 0x0A, 0x14B, 0x147, 0x4E, 0x4A, 0x0D, 0x0C, 0x1C}));
    EXPECT_EQ(message_log().of(WM_KEYUP).at(0).lparam >> 16 & 0x1FF, 0x2E) << "the release too";
}

TEST_F(Input, ModifiersReportedWithAKeyCountWhileItIsHandled) {
    // Ctrl went down while another program had the keyboard: only the key's own report says so.
    bool control_seen = false;
    message_log().handler = [&](HWND, UINT msg, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_KEYDOWN && wparam == 'C') control_seen = GetKeyState(VK_CONTROL) < 0;
        return std::nullopt;
    };
    headless::key_press('C', platform::display::Modifier_Control);
    headless::key_press('V');
    MSG peeked;
    ASSERT_TRUE(PeekMessageA(&peeked, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    EXPECT_EQ(peeked.wParam, static_cast<WPARAM>('C'));
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "seen but not retrieved: the state is not the key's yet";
    pump_until_idle();
    EXPECT_TRUE(control_seen);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "released with the next key";
    std::vector<Logged_Message> characters = message_log().of(WM_CHAR);
    ASSERT_EQ(characters.size(), 1u);
    EXPECT_EQ(characters[0].wparam, 3u);
}

TEST_F(Input, WithoutAFocusTypedTextGoesToTheActiveWindowAsSystemCharacters) {
    SetFocus(nullptr);
    headless::type_text("+");
    headless::key_press(VK_ESCAPE);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_CHAR, WM_SYSCHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYDOWN}),
              (Strings{"parent WM_SYSCHAR", "parent WM_SYSKEYDOWN", "parent WM_SYSKEYUP"}));
    EXPECT_EQ(message_log().of(WM_SYSCHAR).at(0).wparam, static_cast<WPARAM>('+'));
    ShowWindow(window, SW_HIDE);
    message_log().clear();
    headless::key_press(VK_ESCAPE);
    headless::type_text("+");
    pump_until_idle();
    EXPECT_TRUE(message_log().entries().empty()) << "no active window: nobody hears keys";
}

TEST_F(Input, CloseRequestDestroysTheWindowAndTheLoopEndsWithTheQuitCode) {
    message_log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_DESTROY && hwnd == window) PostQuitMessage(3);
        return std::nullopt;
    };
    headless::request_close(window);
    EXPECT_EQ(test_support::run_message_loop(), 3);
    EXPECT_EQ(message_log().sequence({WM_CLOSE, WM_DESTROY, WM_NCDESTROY}),
              (Strings{"parent WM_CLOSE", "parent WM_DESTROY", "child WM_DESTROY", "child WM_NCDESTROY",
                       "parent WM_NCDESTROY"}));
    EXPECT_FALSE(IsWindow(window));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit message was taken";
}

TEST_F(Input, ResizeSendsSizeAndRedrawsTheWholeWindowForRedrawClasses) {
    headless::resize(window, 400, 250);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_SIZE, WM_PAINT}),
              (Strings{"parent WM_SIZE", "parent WM_PAINT", "child WM_PAINT"}));
    EXPECT_EQ(message_log().of(WM_SIZE)[0].lparam, MAKELPARAM(400, 250));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 250);
    int width = 0;
    int height = 0;
    headless::shown_pixels(window, &width, &height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 250);

    // Shrinking a window without CS_HREDRAW | CS_VREDRAW uncovers nothing to paint.
    HWND plain = create_top_level("NoCursor", 0, 0, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    message_log().name_window(plain, "plain");
    pump_until_idle();
    message_log().clear();
    headless::resize(plain, 80, 80);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_SIZE, WM_PAINT}), (Strings{"plain WM_SIZE"}));
}

TEST_F(Input, ExposedPresentsTheBackStoreAgainWithoutPainting) {
    int presents = headless::present_count(window);
    headless::expose(window);
    pump_until_idle();
    EXPECT_EQ(headless::present_count(window), presents + 1);
    EXPECT_TRUE(message_log().of(WM_PAINT).empty());
}

TEST_F(Input, MessageBoxIsRecordedAndReturnsOk) {
    EXPECT_EQ(MessageBoxA(nullptr, "Failed to create window", "Error", MB_OK), IDOK);
    EXPECT_EQ(headless::message_boxes(), (Strings{"Error: Failed to create window"}));
    headless::set_clipboard("copied");
    EXPECT_EQ(headless::clipboard(), "copied");
}

TEST_F(Input, WheelGoesToTheFocusWithDeltaKeyStateAndScreenPositionAndDefWindowProcPassesItUp) {
    ASSERT_EQ(GetFocus(), window);
    headless::mouse_wheel(window, 10, 20, 1);
    headless::mouse_down(window, 5, 5, platform::display::Button_Right);
    headless::key_down(VK_CONTROL, platform::display::Modifier_Control);
    headless::mouse_wheel(child, 1, 0, -3);  // over the child, which has not the focus
    pump_until_idle();
    auto wheels = message_log().of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheels.size(), 2u);
    EXPECT_EQ(wheels[0].window, window);
    EXPECT_EQ(wheels[0].wparam, MAKEWPARAM(0, WHEEL_DELTA));
    EXPECT_EQ(wheels[0].lparam, MAKELPARAM(110, 120)) << "screen, not client, coordinates";
    EXPECT_EQ(wheels[1].window, window);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[1].wparam), -3 * WHEEL_DELTA) << "several notches in one message";
    EXPECT_EQ(GET_KEYSTATE_WPARAM(wheels[1].wparam), MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(wheels[1].lparam, MAKELPARAM(151, 160));
    POINT point{151, 160};
    ASSERT_TRUE(ScreenToClient(child, &point));
    EXPECT_EQ(point.x, 1);
    EXPECT_EQ(point.y, 0);
    point = POINT{110, 120};
    ASSERT_TRUE(ScreenToClient(window, &point));
    EXPECT_EQ(point.x, 10) << "a top-level window's client area starts inside its frame";
    EXPECT_EQ(point.y, 20);

    SetFocus(child);
    message_log().clear();
    headless::mouse_wheel(window, 5, 5, 2);
    pump_until_idle();
    EXPECT_EQ(message_log().sequence({WM_MOUSEWHEEL, WM_SETCURSOR}),
              (Strings{"child WM_MOUSEWHEEL", "parent WM_MOUSEWHEEL"}));
    ShowWindow(window, SW_HIDE);
    pump_until_idle();
    message_log().clear();
    headless::mouse_wheel(window, 5, 5, 1);
    pump_until_idle();
    EXPECT_TRUE(message_log().of(WM_MOUSEWHEEL).empty()) << "no focused window";
}

}  // namespace
