// The UI thread's message queue. Retrieval order as in Win32: posted messages, then the quit request, then
// input, then WM_PAINT for a window with a pending paint when nothing else is there, then WM_TIMER.
#include <algorithm>
#include <chrono>

#include "platform/user/window_layer.h"

namespace platform::user {

DWORD message_time() {
    static const auto start = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

namespace {

bool in_range(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool is_in_tree_locked(HWND handle, HWND root) {
    for (Window* window = find_window_locked(handle); window != nullptr;
         window = find_window_locked(window->parent)) {
        if (window->handle == root) return true;
    }
    return false;
}

// A window filter takes the window's and its children's messages.
bool matches_locked(const MSG& message, HWND filter, UINT first, UINT last) {
    if (!in_range(message.message, first, last)) return false;
    return filter == nullptr || is_in_tree_locked(message.hwnd, filter);
}

bool take_posted(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
    Layer& l = layer();
    std::lock_guard guard(l.lock);
    for (auto it = l.posted.begin(); it != l.posted.end();) {
        if (it->hwnd != nullptr && find_window_locked(it->hwnd) == nullptr) {
            it = l.posted.erase(it);  // its window is gone
            continue;
        }
        if (matches_locked(*it, filter, first, last)) {
            *out = *it;
            if (remove) l.posted.erase(it);
            return true;
        }
        ++it;
    }
    if (l.quit_requested && in_range(WM_QUIT, first, last)) {
        *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(l.quit_code), 0, message_time(), POINT{}};
        if (remove) l.quit_requested = false;
        return true;
    }
    return false;
}

enum class Input_Result { Taken, Retry, None };

Input_Result take_input(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
    Layer& l = layer();
    for (auto it = l.input.begin(); it != l.input.end(); ++it) {
        bool matches = false;
        {
            std::lock_guard guard(l.lock);
            matches = matches_locked(it->msg, filter, first, last);
        }
        if (!matches) continue;
        Input_Message input = *it;
        if (!remove) {
            *out = input.msg;
            return Input_Result::Taken;
        }
        l.input.erase(it);
        before_input_delivery(input);
        // Its window went while it was on the way.
        if (!IsWindow(input.msg.hwnd)) return Input_Result::Retry;
        *out = input.msg;
        return Input_Result::Taken;
    }
    return Input_Result::None;
}

bool button_message_queued() {
    const Layer& l = layer();
    return std::any_of(l.input.begin(), l.input.end(),
                       [](const Input_Message& input) { return input.msg.message != WM_MOUSEMOVE; });
}

// Converts the display's waiting pointer events, in order, up to the first event of another kind, which is
// held back. Everything the pointer did while the program was busy is thus queued at once, and a run of
// moves coalesces into one. A button event ends the run: what its message does (a capture, say) decides
// where the pointer events after it go, so they wait until it has been retrieved.
void gather_pointer_input() {
    Layer& l = layer();
    const display::Backend* display = l.display.load();
    if (display == nullptr || button_message_queued()) return;
    display::Event event;
    while (!l.held_event && display->poll_event(&event)) {
        if (!is_pointer_event(event)) {
            l.held_event = event;
            return;
        }
        convert_display_event(event);
        if (event.type != display::Event_Type::Mouse_Move) return;
    }
}

// Any other event (held back, else read now) is converted only when no queued input is to be retrieved
// first, so that what it does happens in order: a key goes to the window focused by the click before it, a
// resize comes between the moves around it.
bool convert_next_display_event() {
    Layer& l = layer();
    display::Event event;
    if (l.held_event) {
        event = *l.held_event;
        l.held_event.reset();
    } else {
        const display::Backend* display = l.display.load();
        if (display == nullptr || !display->poll_event(&event)) return false;
    }
    convert_display_event(event);
    return true;
}

bool take_message(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
    for (;;) {
        receive_sent_messages();
        if (take_posted(out, filter, first, last, remove)) return true;
        gather_pointer_input();
        Input_Result input = take_input(out, filter, first, last, remove);
        if (input == Input_Result::Taken) return true;
        if (input == Input_Result::Retry) continue;
        if (!convert_next_display_event()) break;
    }
    if (in_range(WM_PAINT, first, last)) {
        if (HWND paint = next_window_to_paint(filter)) {
            before_paint_message(paint);
            *out = MSG{paint, WM_PAINT, 0, 0, message_time(), POINT{}};
            return true;
        }
    }
    return take_timer_message(out, filter, first, last, remove);
}

// Until something arrives or the next timer is due.
void wait_for_messages() {
    Layer& l = layer();
    const int timeout_ms = milliseconds_to_next_timer();
    if (timeout_ms == 0) return;
    if (const display::Backend* display = l.display.load()) {
        display->wait_event(timeout_ms);
        return;
    }
    std::unique_lock guard(l.lock);
    auto woken = [&l] { return l.no_display_woken; };
    if (timeout_ms < 0) {
        l.no_display_wake.wait(guard, woken);
    } else {
        l.no_display_wake.wait_for(guard, std::chrono::milliseconds(timeout_ms), woken);
    }
    l.no_display_woken = false;
}

bool has_message_for_locked(std::thread::id receiver) {
    for (const auto& message : layer().sent) {
        if (message->receiver == receiver) return true;
    }
    return false;
}

}  // namespace

void receive_sent_messages() {
    Layer& l = layer();
    const std::thread::id self = std::this_thread::get_id();
    for (;;) {
        std::shared_ptr<Sent_Message> message;
        {
            std::lock_guard guard(l.lock);
            auto found = std::find_if(l.sent.begin(), l.sent.end(),
                                      [self](const auto& waiting) { return waiting->receiver == self; });
            if (found == l.sent.end()) return;
            message = *found;
            l.sent.erase(found);
        }
        const LRESULT result = message->call();
        {
            std::lock_guard guard(l.lock);
            message->result = result;
            message->done = true;
        }
        l.sent_changed.notify_all();
    }
}

LRESULT call_on_thread(std::thread::id receiver, std::function<LRESULT()> call) {
    const std::thread::id self = std::this_thread::get_id();
    if (receiver == self) return call();
    Layer& l = layer();
    auto message = std::make_shared<Sent_Message>();
    message->receiver = receiver;
    message->call = std::move(call);
    {
        std::lock_guard guard(l.lock);
        l.sent.push_back(message);
    }
    l.sent_changed.notify_all();  // a receiver that waits in a send of its own
    wake_message_loop();          // a receiver that waits in GetMessageA
    std::unique_lock guard(l.lock);
    while (!message->done) {
        if (has_message_for_locked(self)) {
            guard.unlock();
            receive_sent_messages();
            guard.lock();
            continue;
        }
        l.sent_changed.wait(guard);
    }
    return message->result;
}

void abandon_sent_messages() {
    Layer& l = layer();
    {
        std::lock_guard guard(l.lock);
        for (const auto& message : l.sent)
            message->done = true;
        l.sent.clear();
    }
    l.sent_changed.notify_all();
}

}  // namespace platform::user

using namespace platform::user;

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filter_min, UINT filter_max) {
    if (msg == nullptr || (hwnd != nullptr && !IsWindow(hwnd))) return -1;
    for (;;) {
        if (take_message(msg, hwnd, filter_min, filter_max, true))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        present_pending_windows();
        wait_for_messages();
    }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) {
    if (msg == nullptr) return FALSE;
    if (take_message(msg, hwnd, filter_min, filter_max, (remove & PM_REMOVE) != 0)) return TRUE;
    present_pending_windows();
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0 && (msg->hwnd == nullptr || IsWindow(msg->hwnd))) {
        // A timer with its own procedure calls it instead of the window's.
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    if (msg->hwnd == nullptr) return 0;
    std::shared_ptr<Window> window = find_window(msg->hwnd);
    if (!window) return 0;
    return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Layer& l = layer();
    {
        std::lock_guard guard(l.lock);
        if (hwnd != nullptr && find_window_locked(hwnd) == nullptr) return FALSE;
        l.posted.push_back(MSG{hwnd, msg, wparam, lparam, message_time(), POINT{}});
    }
    wake_message_loop();
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    std::shared_ptr<Window> window = find_window(hwnd);
    if (!window) return 0;
    if (window->thread == std::this_thread::get_id()) return window->procedure(hwnd, msg, wparam, lparam);
    return call_on_thread(window->thread, [hwnd, msg, wparam, lparam]() -> LRESULT {
        std::shared_ptr<Window> receiver = find_window(hwnd);  // it may have gone meanwhile
        return receiver ? receiver->procedure(hwnd, msg, wparam, lparam) : 0;
    });
}

void WINAPI PostQuitMessage(int exit_code) {
    Layer& l = layer();
    {
        std::lock_guard guard(l.lock);
        l.quit_requested = true;
        l.quit_code = exit_code;
    }
    wake_message_loop();
}
