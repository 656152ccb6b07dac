// Internal state of the window layer, shared by its source files. Not part of the Win32 surface.
//
// Threads: InvalidateRect and PostMessageA may run on any thread; everything else runs on the UI thread.
// `Layer::lock` guards what those two touch: the window table, the top-level list, every window's rectangle,
// child list and update state, the posted-message queue and the quit request. The UI thread writes those only
// under the lock and may read them without it; other threads read them only under it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/display.h"
#include "platform/win32.h"

namespace platform::user {

struct Window_Class {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    HICON small_icon = nullptr;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<const Window_Class> window_class;
    WNDPROC procedure = nullptr;
    DWORD style = 0;
    DWORD ex_style = 0;
    HWND parent = nullptr;       // WS_CHILD windows only
    std::vector<HWND> children;  // creation order; the first is on top
    // The client area: for children in the parent's client coordinates, for top-level windows on the screen.
    RECT rect{};
    RECT
        frame{};  // top-level windows: the non-client edges around the client area (left, top, right, bottom)
    bool size_pending = false;  // top-level windows: WM_SIZE and WM_MOVE wait for the first show
    std::string text;
    LONG_PTR id = 0;
    LONG_PTR user_data = 0;
    HINSTANCE instance = nullptr;
    std::thread::id thread;   // the thread that created it, which runs its procedure
    bool destroying = false;  // DestroyWindow has started on it

    // Top-level windows only: the screen's window and the back store that every window of the tree draws
    // into.
    display::Window_Id display_window = 0;
    HBITMAP back_store = nullptr;
    bool present_pending = false;  // painted since the screen was last given the back store

    // Update state (guarded by the lock): a bounding rectangle in client coordinates.
    bool invalid = false;
    bool erase = false;
    RECT update{};
    bool painted_this_cycle = false;  // UI thread only: BeginPaint ran since the last present

    int width() const { return rect.right - rect.left; }
    int height() const { return rect.bottom - rect.top; }
};

// A message that another thread sent to a window of `receiver`: `call` runs on the receiver's thread when it
// retrieves messages, while the sender waits for `done`.
struct Sent_Message {
    std::thread::id receiver;
    std::function<LRESULT()> call;
    LRESULT result = 0;  // guarded by the lock
    bool done = false;   // guarded by the lock
};

// A message made from display input, waiting to be retrieved. A key message also carries the modifier keys
// that the display reported with it: they become the thread's key state (GetKeyState) when it is retrieved.
struct Input_Message {
    MSG msg{};
    unsigned modifiers = 0;
};

struct Layer {
    // Guarded by `lock`.
    std::mutex lock;
    std::map<HWND, std::shared_ptr<Window>> windows;
    std::vector<HWND> top_levels;  // creation order
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<Sent_Message>> sent;  // waiting to be received
    std::condition_variable sent_changed;            // a message was sent or handled
    bool quit_requested = false;
    int quit_code = 0;
    std::uintptr_t next_handle = 0x10000;

    // Wakes a blocked GetMessageA; other threads read it, so it is atomic. Null until the display is open.
    std::atomic<const display::Backend*> display{nullptr};
    // Used by GetMessageA while no display is open.
    std::condition_variable no_display_wake;
    bool no_display_woken = false;  // guarded by `lock`

    // UI thread only.
    bool display_failed = false;
    bool control_classes_registered = false;
    std::vector<std::shared_ptr<Window_Class>> classes;
    ATOM next_atom = 0xC000;
    std::deque<Input_Message> input;  // messages made from display events, waiting to be retrieved
    // A display event other than pointer input, read while input before it still waited; converted once that
    // input is gone.
    std::optional<display::Event> held_event;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;              // the window that gets every pointer message (SetCapture)
    std::vector<HWND> activation_order;  // top-level windows, most recently active first
    HCURSOR cursor = nullptr;
    std::map<HDC, HWND> window_dcs;  // DCs from BeginPaint/GetDC and the top-level window they draw into
    std::vector<HDC> screen_dcs;     // DCs from GetDC(NULL)
    int default_placements = 0;
};

Layer& layer();

// ---- Window table (window_table.cpp)
// The window for a handle, or null for a null, unknown or destroyed handle. Takes the lock.
std::shared_ptr<Window> find_window(HWND handle);
// The same for callers that hold the lock.
Window* find_window_locked(HWND handle);
HWND new_window_handle();  // caller holds the lock
// The top-level window that a window belongs to (itself for a top-level window).
std::shared_ptr<Window> top_level_of(HWND handle);
// The display's window of the window's top-level window; 0 for none.
display::Window_Id display_window_of(HWND handle);
// Where the window's client area starts in its top-level window's client area.
POINT origin_in_top_level(HWND handle);
// The part of the window's client area not cut off by its ancestors, in top-level client coordinates.
RECT visible_area_in_top_level(HWND handle);
bool is_visible_tree(HWND handle);           // the window and all its ancestors have WS_VISIBLE
bool is_in_tree(HWND handle, HWND root);     // handle is root or one of its descendants
std::vector<HWND> children_of(HWND handle);  // a copy, safe against changes while iterating
void set_window_rect(Window& window, const RECT& rect);
// WM_SIZE with the client size, then WM_MOVE with the client area's position (window_properties.cpp).
void send_size_and_move(const Window& window);

// ---- Rectangles
bool rect_empty(const RECT& r);
RECT rect_intersection(const RECT& a, const RECT& b);
RECT rect_union(const RECT& a, const RECT& b);
RECT rect_offset(const RECT& r, int dx, int dy);
bool rect_contains(const RECT& r, int x, int y);

// ---- Display connection (display_connection.cpp)
// Opens the display backend on first use; false when there is no screen.
const display::Backend* open_display();
void wake_message_loop();  // any thread

// ---- Painting (painting.cpp)
void invalidate_locked(Window& window, const RECT* rect, bool erase);
void invalidate(HWND handle, const RECT* rect, bool erase);
// The next visible window with a pending paint in paint order (parents before children), limited to `filter`
// and its descendants when not null.
HWND next_window_to_paint(HWND filter);
void present(Window& top_level);
void present_pending_windows();
// Called before WM_PAINT goes to `handle`: a window painted twice starts a new paint cycle, so the previous
// one is shown first.
void before_paint_message(HWND handle);
void release_window_dcs(HWND top_level);
// Sends WM_ERASEBKGND to a window that is to be erased, on its own thread; the erase is done when the
// procedure says so. Returns the procedure's answer.
LRESULT erase_background_now(HWND handle);

// ---- Activation and focus (activation.cpp)
void activate(HWND top_level, WORD how);
// After `top_level` was hidden or is going away: the next visible top-level window becomes active.
void activate_next_after(HWND top_level);

// ---- Messages (message_queue.cpp)
DWORD message_time();  // milliseconds since the layer started, for MSG.time
// Runs `call` on the thread `receiver`: at once when that is this thread, otherwise when that thread next
// retrieves messages (GetMessageA, PeekMessageA or a send of its own to another thread). Meanwhile this
// thread handles what other threads send to it.
LRESULT call_on_thread(std::thread::id receiver, std::function<LRESULT()> call);
// Handles, on this thread, every message other threads have sent to it.
void receive_sent_messages();
// Ends every waiting send with result 0 (the layer is being reset).
void abandon_sent_messages();

// ---- Timers (timers.cpp), UI thread only
// WM_TIMER for the first timer of a window in `filter`'s tree that is due, as the queue's last resort.
bool take_timer_message(MSG* out, HWND filter, UINT first, UINT last, bool remove);
// Milliseconds until the next timer is due (0 when one is due now), or -1 without timers.
int milliseconds_to_next_timer();

// ---- Input (display_input.cpp)
void convert_display_event(const display::Event& event);
// Pointer moves, presses and releases: events that only queue a message for the window under the pointer.
bool is_pointer_event(const display::Event& event);
// Work done as an input message is retrieved: the key state for a key, activation and focus on a press,
// WM_SETCURSOR.
void before_input_delivery(const Input_Message& input);
void reset_input_state();

// ---- Keyboard (keyboard.cpp)
// WM_KEYDOWN, WM_KEYUP or their WM_SYSKEY forms for the focused window (the active window when none has the
// focus), and typed text as WM_CHAR.
void convert_key(const display::Event& event);
void convert_text(const display::Event& event);
// The key state GetKeyState reports follows the key messages as they are retrieved.
void apply_key_state(const Input_Message& input);
// MK_SHIFT and MK_CONTROL for the keys held now, for pointer messages.
WPARAM modifier_key_flags();
void reset_keyboard_state();

// ---- Icons (icons.cpp)
// An icon's picture for the screen: rows top to bottom, 0xAARRGGBB with straight alpha; false for a bad
// handle.
bool icon_image(HICON icon, std::vector<std::uint32_t>* pixels, int* width, int* height);
// Gives a new top-level window's screen window its class icon.
void show_class_icon(const Window& window);

// ---- Clipboard (clipboard.cpp)
// Forgets who has the clipboard open and the data put on it.
void reset_clipboard();

// ---- Capture (capture.cpp)
// Takes the capture away (WM_CAPTURECHANGED) when `root` or one of its descendants holds it.
void release_capture_in_tree(HWND root);

// ---- Metrics (window_metrics.cpp)
// The thickness of the frame and caption that a style gives a window, as AdjustWindowRectEx adds them.
RECT non_client_frame(DWORD style, DWORD ex_style);

// ---- Classes (window_classes.cpp)
std::shared_ptr<const Window_Class> find_class(LPCSTR name);
void ensure_control_classes();

}  // namespace platform::user
