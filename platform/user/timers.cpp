// Timers: SetTimer, KillTimer and the WM_TIMER messages they make. As in Win32, WM_TIMER is made only when no
// other message is waiting, a timer has at most one WM_TIMER pending (a slow loop gets fewer, not a backlog),
// and the next period starts when its message is retrieved. A thread timer (no window) reaches only the
// thread that set it, through a retrieval without a window filter.
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

using Clock = std::chrono::steady_clock;

struct Timer {
    HWND window = nullptr;  // null for a thread timer
    std::thread::id thread;
    UINT_PTR id = 0;
    std::chrono::milliseconds period{0};
    TIMERPROC procedure = nullptr;
    Clock::time_point due;
};

std::vector<Timer>& timers() {
    static std::vector<Timer> list;
    return list;
}

void forget_timers_of_gone_windows() {
    std::erase_if(timers(),
                  [](const Timer& timer) { return timer.window != nullptr && !IsWindow(timer.window); });
}

bool for_this_retrieval(const Timer& timer, HWND filter) {
    if (timer.window == nullptr) return filter == nullptr && timer.thread == std::this_thread::get_id();
    return filter == nullptr || is_in_tree(timer.window, filter);
}

// Thread timers get ids of their own, never those of a window timer's caller.
UINT_PTR next_thread_timer_id() {
    static UINT_PTR next = 0x7F00;
    for (;;) {
        next = next == 0xFFFF ? 0x7F00 : next + 1;
        const bool taken = std::any_of(timers().begin(), timers().end(),
                                       [](const Timer& t) { return t.window == nullptr && t.id == next; });
        if (!taken) return next;
    }
}

}  // namespace

bool take_timer_message(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
    if (first != 0 || last != 0) {
        if (WM_TIMER < first || WM_TIMER > last) return false;
    }
    forget_timers_of_gone_windows();
    const Clock::time_point now = Clock::now();
    for (Timer& timer : timers()) {
        if (timer.due > now || !for_this_retrieval(timer, filter)) continue;
        *out = MSG{timer.window,   WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure),
                   message_time(), POINT{}};
        if (remove) timer.due = now + timer.period;
        return true;
    }
    return false;
}

int milliseconds_to_next_timer() {
    forget_timers_of_gone_windows();
    if (timers().empty()) return -1;
    const Clock::time_point now = Clock::now();
    auto soonest = std::min_element(timers().begin(), timers().end(),
                                    [](const Timer& a, const Timer& b) { return a.due < b.due; });
    if (soonest->due <= now) return 0;
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(soonest->due - now);
    return static_cast<int>(std::min<std::chrono::milliseconds::rep>(wait.count(), USER_TIMER_MAXIMUM));
}

}  // namespace platform::user

using namespace platform::user;

// Without a window, an id that names none of this thread's timers is ignored and a new one is returned.
UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse_ms, TIMERPROC procedure) {
    if (hwnd != nullptr && !IsWindow(hwnd)) return 0;
    const std::thread::id thread = std::this_thread::get_id();
    if (hwnd == nullptr) {
        const bool existing = std::any_of(timers().begin(), timers().end(), [&](const Timer& t) {
            return t.window == nullptr && t.id == id && t.thread == thread;
        });
        if (!existing) id = next_thread_timer_id();
    }
    const UINT period = std::clamp<UINT>(elapse_ms, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    Timer timer{hwnd,      thread,
                id,        std::chrono::milliseconds(period),
                procedure, Clock::now() + std::chrono::milliseconds(period)};
    auto same = std::find_if(timers().begin(), timers().end(), [&](const Timer& t) {
        return t.window == hwnd && t.id == id && t.thread == thread;
    });
    if (same != timers().end()) {
        *same = timer;  // an existing timer is replaced and starts its period again
    } else {
        timers().push_back(timer);
    }
    return id != 0 ? id : 1;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
    auto removed = std::erase_if(timers(), [&](const Timer& t) {
        return t.window == hwnd && t.id == id && (hwnd != nullptr || t.thread == std::this_thread::get_id());
    });
    return removed != 0 ? TRUE : FALSE;
}
