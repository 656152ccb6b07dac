// Keys and typed text as window messages, the key state behind GetKeyState, and TranslateMessage.
//
// Two key states, as in Win32: the one the display has reported so far decides a new key message's lParam and
// the pointer messages' MK_ flags; the one GetKeyState reports changes only as each key message is retrieved,
// so that it is the state "as of" the message being handled.
#include <array>
#include <utility>

#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

struct Key_State {
    std::array<bool, 256> down{};
    std::array<bool, 256> toggled{};
};

struct Keyboard {
    Key_State reported;   // as the display has reported the keys so far
    Key_State retrieved;  // as of the last key message retrieved (GetKeyState)
    // Alt went down and no other key has made a system key message since: its release is WM_SYSKEYUP.
    bool alt_alone = false;
};

Keyboard& keyboard() {
    static Keyboard state;
    return state;
}

// Set-1 scan codes of the keys the layer maps; `extended` keys have bit 24 of lParam set.
struct Scan_Code {
    int virtual_key;
    unsigned code;
    bool extended;
};

constexpr std::array<Scan_Code, 22> scan_codes{{
    {VK_BACK, 0x0E, false},      {VK_TAB, 0x0F, false},      {VK_RETURN, 0x1C, false},
    {VK_SHIFT, 0x2A, false},     {VK_CONTROL, 0x1D, false},  {VK_MENU, 0x38, false},
    {VK_ESCAPE, 0x01, false},    {VK_SPACE, 0x39, false},    {VK_PRIOR, 0x49, true},
    {VK_NEXT, 0x51, true},       {VK_END, 0x4F, true},       {VK_HOME, 0x47, true},
    {VK_LEFT, 0x4B, true},       {VK_UP, 0x48, true},        {VK_RIGHT, 0x4D, true},
    {VK_DOWN, 0x50, true},       {VK_INSERT, 0x52, true},    {VK_DELETE, 0x53, true},
    {VK_ADD, 0x4E, false},       {VK_SUBTRACT, 0x4A, false}, {VK_OEM_PLUS, 0x0D, false},
    {VK_OEM_MINUS, 0x0C, false},
}};

// Letters in alphabetical order, from the keyboard's three rows.
constexpr std::array<unsigned char, 26> letter_scan_codes{
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

// Bits 16 to 24 of a key message's lParam: the scan code and the extended-key flag.
DWORD scan_code_bits(int virtual_key) {
    if (virtual_key >= 'A' && virtual_key <= 'Z') return DWORD{letter_scan_codes[virtual_key - 'A']} << 16;
    // The digit row: '1' to '9', then '0'.
    if (virtual_key >= '1' && virtual_key <= '9') return DWORD(0x02 + (virtual_key - '1')) << 16;
    if (virtual_key == '0') return DWORD{0x0B} << 16;
    for (const Scan_Code& scan : scan_codes) {
        if (scan.virtual_key == virtual_key) return (scan.code << 16) | (scan.extended ? 1u << 24 : 0u);
    }
    return 0;
}

constexpr std::array<std::pair<int, unsigned>, 3> modifier_keys{{{VK_SHIFT, display::Modifier_Shift},
                                                                 {VK_CONTROL, display::Modifier_Control},
                                                                 {VK_MENU, display::Modifier_Alt}}};

// The modifiers held with a key, as the display reports them with it; the key itself is not overruled.
void follow_modifiers(Key_State& state, int key, unsigned modifiers) {
    for (auto [modifier_key, bit] : modifier_keys) {
        if (modifier_key != key) state.down[modifier_key] = (modifiers & bit) != 0;
    }
}

void set_key(Key_State& state, int key, bool down) {
    if (down && !state.down[key]) state.toggled[key] = !state.toggled[key];
    state.down[key] = down;
}

// Win32 makes a key a system key (WM_SYSKEYDOWN, WM_SYSKEYUP) while Alt is held without Ctrl, and Alt itself
// when it goes down without Ctrl and comes up with no other key in between. The state is the one before this
// key changes it.
bool is_system_key(Keyboard& keyboard, int key, bool down) {
    const Key_State& held = keyboard.reported;
    const bool alt = held.down[VK_MENU];
    const bool control = held.down[VK_CONTROL];
    bool system = false;
    if (key == VK_MENU) {
        system = down ? !control : alt && keyboard.alt_alone;
        keyboard.alt_alone = down && system;
        return system;
    }
    system = key == VK_CONTROL && !down ? alt : alt && !control;
    if (system) keyboard.alt_alone = false;
    return system;
}

// Characters TranslateMessage makes from keys; printable text comes from the display as typed (Text events),
// which knows the keyboard layout.
WPARAM character_for_key(WPARAM virtual_key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    switch (virtual_key) {
        case VK_BACK:
            return control ? 0x7F : VK_BACK;
        case VK_RETURN:
            return control ? '\n' : '\r';
        case VK_TAB:
        case VK_ESCAPE:
            return virtual_key;
        default:
            break;
    }
    // Ctrl with Alt is AltGr on many keyboards, which types what the layout says.
    if (control && !alt && virtual_key >= 'A' && virtual_key <= 'Z') return virtual_key - 'A' + 1;
    return 0;
}

bool is_key_message(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

}  // namespace

void convert_key(const display::Event& event) {
    Keyboard& k = keyboard();
    const int key = event.virtual_key & 0xFF;
    const bool down = event.type == display::Event_Type::Key_Down;
    follow_modifiers(k.reported, key, event.modifiers);
    const bool was_down = k.reported.down[key];
    bool system = is_system_key(k, key, down);
    set_key(k.reported, key, down);

    Layer& l = layer();
    HWND target = l.focus;
    if (target == nullptr) {
        // Without a focused window the active window hears the keys, as system keys.
        target = l.active;
        system = true;
    }
    if (target == nullptr) return;
    const bool alt_down = k.reported.down[VK_MENU];
    // lParam: repeat count 1, the scan code, bit 29 while Alt is held, bit 30 when the key was already down
    // (always for a release), bit 31 for a release.
    const DWORD key_data = 1 | scan_code_bits(key) | (alt_down ? 1u << 29 : 0u) |
                           (was_down || !down ? 1u << 30 : 0u) | (down ? 0u : 1u << 31);
    UINT message = down ? WM_KEYDOWN : WM_KEYUP;
    if (system) message += WM_SYSKEYDOWN - WM_KEYDOWN;
    l.input.push_back(Input_Message{MSG{target, message, static_cast<WPARAM>(key),
                                        static_cast<LPARAM>(key_data), message_time(), POINT{}},
                                    event.modifiers});
}

// Typed text as WM_CHAR, one per character; characters beyond Latin-1 have no single-byte code and are
// dropped. Without a focused window the active window gets WM_SYSCHAR.
void convert_text(const display::Event& event) {
    Layer& l = layer();
    HWND target = l.focus != nullptr ? l.focus : l.active;
    if (target == nullptr) return;
    const UINT message = l.focus != nullptr ? WM_CHAR : WM_SYSCHAR;
    const auto* bytes = reinterpret_cast<const unsigned char*>(event.text);
    std::size_t size = sizeof(event.text);
    for (std::size_t i = 0; i < size && bytes[i] != 0;) {
        unsigned code = bytes[i];
        std::size_t length = code < 0x80 ? 1 : code >= 0xF0 ? 4 : code >= 0xE0 ? 3 : code >= 0xC0 ? 2 : 1;
        bool valid = length == 1 ? code < 0x80 : length == 2 && i + 1 < size && (bytes[i + 1] & 0xC0) == 0x80;
        if (valid && length == 2) code = ((code & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
        i += length;
        if (!valid) continue;
        l.input.push_back(Input_Message{MSG{target, message, code, 1, message_time(), POINT{}}, 0});
    }
}

void apply_key_state(const Input_Message& input) {
    if (!is_key_message(input.msg.message)) return;
    Key_State& state = keyboard().retrieved;
    const int key = static_cast<int>(input.msg.wParam & 0xFF);
    follow_modifiers(state, key, input.modifiers);
    set_key(state, key, (input.msg.lParam & (LPARAM{1} << 31)) == 0);
}

WPARAM modifier_key_flags() {
    const Key_State& state = keyboard().reported;
    return (state.down[VK_SHIFT] ? MK_SHIFT : 0) | (state.down[VK_CONTROL] ? MK_CONTROL : 0);
}

void reset_keyboard_state() {
    keyboard() = Keyboard{};
}

}  // namespace platform::user

using namespace platform::user;

SHORT WINAPI GetKeyState(int virtual_key) {
    if (virtual_key < 0 || virtual_key > 0xFF) return 0;
    const Key_State& state = keyboard().retrieved;
    unsigned value = (state.down[virtual_key] ? 0x8000u : 0u) | (state.toggled[virtual_key] ? 1u : 0u);
    return static_cast<SHORT>(value);
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr || !is_key_message(msg->message)) return FALSE;
    if (msg->message != WM_KEYDOWN) return TRUE;
    WPARAM character = character_for_key(msg->wParam);
    if (character != 0) {
        Layer& l = layer();
        std::lock_guard guard(l.lock);
        // Retrieved next, before anything posted earlier.
        l.posted.push_front(MSG{msg->hwnd, WM_CHAR, character, msg->lParam, msg->time, msg->pt});
    }
    return TRUE;
}
