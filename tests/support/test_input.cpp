#include "tests/support/test_input.h"

#include <string>

#ifndef _WIN32
#include "platform/display/display.h"
#include "platform/testing/testing.h"
#endif

namespace test_support {

namespace {

const int modifier_keys[][2] = {{Shift, VK_SHIFT}, {Control, VK_CONTROL}, {Alt, VK_MENU}};

}  // namespace

void press_key(int virtual_key, unsigned modifiers, const char* typed) {
    for (const auto& [bit, key] : modifier_keys) {
        if (modifiers & bit) key_down(key);
    }
    key_down(virtual_key);
#ifndef _WIN32
    if (typed != nullptr) platform::headless::type_text(typed);
#else
    (void)typed;
#endif
    key_up(virtual_key);
    for (const auto& [bit, key] : modifier_keys) {
        if (modifiers & bit) key_up(key);
    }
}

#ifdef _WIN32
namespace {

// Arrows and the keys of the cursor block send the extended flag, as a keyboard does.
bool is_extended(int virtual_key) {
    return (virtual_key >= VK_PRIOR && virtual_key <= VK_DOWN) || virtual_key == VK_INSERT ||
           virtual_key == VK_DELETE;
}

// SendInput may return before its key message is in the queue (under Wine it sometimes does), so this waits,
// up to a second, until a key message has come.
void send_and_wait(const INPUT& input) {
    GetQueueStatus(QS_KEY);  // forgets the key messages that came before
    SendInput(1, const_cast<INPUT*>(&input), sizeof(INPUT));
    for (int waited_ms = 0; waited_ms < 1000; ++waited_ms) {
        if ((LOWORD(GetQueueStatus(QS_KEY)) & QS_KEY) != 0) return;
        Sleep(1);
    }
}

void send_key(int virtual_key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtual_key);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (is_extended(virtual_key) ? KEYEVENTF_EXTENDEDKEY : 0);
    send_and_wait(input);
}

}  // namespace

void click(HWND window, int x, int y) {
    POINT at{x, y};
    ClientToScreen(window, &at);
    // Absolute coordinates span 0..65535 over the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = (at.x * 65535 + width / 2) / (width - 1);
        input.mi.dy = (at.y * 65535 + height / 2) / (height - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

void key_down(int virtual_key) {
    send_key(virtual_key, false);
}

void key_up(int virtual_key) {
    send_key(virtual_key, true);
}

void type_text(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(*c));
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        send_and_wait(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        send_and_wait(input);
    }
}

void release_modifier_keys() {
    for (const auto& [bit, key] : modifier_keys) {
        (void)bit;
        key_up(key);
    }
}

// Under Wine the screen's own focus change arrives a moment later, and the key state is then read again
// from the X server, where keys sent with SendInput are not down; so messages are handled for a while first.
void take_keyboard(HWND window) {
    SetForegroundWindow(window);
    SetFocus(window);
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 200) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
#else
namespace {

// The modifiers held now, which the display reports with every key.
unsigned held_modifiers = 0;

unsigned modifier_of(int virtual_key) {
    for (const auto& [bit, key] : modifier_keys) {
        if (key == virtual_key) return static_cast<unsigned>(bit);
    }
    return 0;
}

}  // namespace

void click(HWND window, int x, int y) {
    platform::headless::click(window, x, y);
}

static_assert(unsigned{Shift} == platform::display::Modifier_Shift &&
              unsigned{Control} == platform::display::Modifier_Control &&
              unsigned{Alt} == platform::display::Modifier_Alt);

void key_down(int virtual_key) {
    held_modifiers |= modifier_of(virtual_key);
    platform::headless::key_down(virtual_key, held_modifiers);
}

void key_up(int virtual_key) {
    held_modifiers &= ~modifier_of(virtual_key);
    platform::headless::key_up(virtual_key, held_modifiers);
}

void type_text(const char* text) {
    platform::headless::type_text(text);
}

// The layer forgets the keys between tests (reset_window_layer); so does this.
void release_modifier_keys() {
    held_modifiers = 0;
}

void take_keyboard(HWND window) {
    SetFocus(window);
}
#endif

}  // namespace test_support
