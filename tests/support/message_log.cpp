#include "tests/support/message_log.h"

#include <algorithm>
#include <cstdio>

namespace test_support {

void Message_Log::record(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
#ifdef _WIN32
    // Windows sends many more messages (non-client area, sizing, IME); the log keeps the ones named here.
    if (message < WM_USER && message_name(message).rfind("0x", 0) == 0) return;
#endif
    entries_.push_back(Logged_Message{window, message, wparam, lparam});
}

void Message_Log::clear() {
    entries_.clear();
}

void Message_Log::reset() {
    entries_.clear();
    labels_.clear();
    handler = nullptr;
}

void Message_Log::name_window(HWND window, const std::string& label) {
    labels_[window] = label;
}

std::vector<std::string> Message_Log::sequence(std::initializer_list<UINT> wanted) const {
    std::vector<std::string> lines;
    for (const Logged_Message& entry : entries_) {
        if (wanted.size() != 0 && std::find(wanted.begin(), wanted.end(), entry.message) == wanted.end())
            continue;
        auto label = labels_.find(entry.window);
        lines.push_back((label != labels_.end() ? label->second : std::string("?")) + " " +
                        message_name(entry.message));
    }
    return lines;
}

std::vector<Logged_Message> Message_Log::of(UINT message) const {
    std::vector<Logged_Message> found;
    for (const Logged_Message& entry : entries_) {
        if (entry.message == message) found.push_back(entry);
    }
    return found;
}

Message_Log& message_log() {
    static Message_Log log;
    return log;
}

LRESULT CALLBACK logging_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Message_Log& log = message_log();
    log.record(window, message, wparam, lparam);
    if (log.handler) {
        if (std::optional<LRESULT> result = log.handler(window, message, wparam, lparam)) return *result;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

ATOM register_logging_class(const char* name, UINT style, HBRUSH background, HCURSOR cursor) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = logging_window_procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    ATOM atom = RegisterClassExA(&wc);
    if (atom != 0) registered_logging_classes().emplace_back(name);
    return atom;
}

std::vector<std::string>& registered_logging_classes() {
    static std::vector<std::string> names;
    return names;
}

std::string message_name(UINT message) {
    switch (message) {
#define NAME(m) \
    case m:     \
        return #m;
        NAME(WM_NULL)
        NAME(WM_CREATE)
        NAME(WM_DESTROY)
        NAME(WM_MOVE)
        NAME(WM_SIZE)
        NAME(WM_ACTIVATE)
        NAME(WM_SETFOCUS)
        NAME(WM_KILLFOCUS)
        NAME(WM_SETTEXT)
        NAME(WM_GETTEXT)
        NAME(WM_GETTEXTLENGTH)
        NAME(WM_PAINT)
        NAME(WM_CLOSE)
        NAME(WM_QUIT)
        NAME(WM_ERASEBKGND)
        NAME(WM_SHOWWINDOW)
        NAME(WM_SETCURSOR)
        NAME(WM_CAPTURECHANGED)
        NAME(WM_NCCREATE)
        NAME(WM_NCDESTROY)
        NAME(WM_KEYDOWN)
        NAME(WM_KEYUP)
        NAME(WM_CHAR)
        NAME(WM_SYSKEYDOWN)
        NAME(WM_SYSKEYUP)
        NAME(WM_SYSCHAR)
        NAME(WM_GETDLGCODE)
        NAME(EM_SETSEL)
        NAME(WM_COMMAND)
        NAME(WM_TIMER)
        NAME(WM_MOUSEMOVE)
        NAME(WM_LBUTTONDOWN)
        NAME(WM_LBUTTONUP)
        NAME(WM_LBUTTONDBLCLK)
        NAME(WM_RBUTTONDOWN)
        NAME(WM_RBUTTONUP)
        NAME(WM_RBUTTONDBLCLK)
        NAME(WM_MBUTTONDOWN)
        NAME(WM_MBUTTONUP)
        NAME(WM_MBUTTONDBLCLK)
        NAME(WM_MOUSEWHEEL)
#undef NAME
        default:
            break;
    }
    char text[16];
    std::snprintf(text, sizeof(text), "0x%04X", message);
    return text;
}

}  // namespace test_support
