// Translation of SDL's input and window events into the window layer's display events.
#include <cstring>

#include "platform/display/sdl_internal.h"
#include "platform/win32.h"

namespace platform::display::sdl {
namespace {

unsigned modifiers_of(Uint16 state) {
    unsigned modifiers = 0;
    if (state & KMOD_SHIFT) modifiers |= Modifier_Shift;
    if (state & KMOD_CTRL) modifiers |= Modifier_Control;
    if (state & KMOD_ALT) modifiers |= Modifier_Alt;
    return modifiers;
}

int button_of(Uint8 sdl_button) {
    switch (sdl_button) {
        case SDL_BUTTON_LEFT:
            return Button_Left;
        case SDL_BUTTON_RIGHT:
            return Button_Right;
        case SDL_BUTTON_MIDDLE:
            return Button_Middle;
        default:
            return 0;
    }
}

// The window that holds the pointer (0: none): the window layer's capture.
Window_Id captured = 0;

// Without capture, pointer events count only inside the client area, so a drag that leaves the window is not
// followed (X11 still reports such positions while a button is held).
bool inside_client_area(Uint32 window_id, int x, int y) {
    SDL_Window* window = SDL_GetWindowFromID(window_id);
    if (window == nullptr) return false;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return x >= 0 && y >= 0 && x < width && y < height;
}

// With capture, every pointer event goes to the capture window, in its client coordinates: SDL reports it
// for the window that it grabbed the pointer for, which is the one with the keyboard focus, or for no window
// once the pointer has left them all.
bool place_pointer(Uint32 window_id, int x, int y, Event* out) {
    if (captured == 0) {
        if (!inside_client_area(window_id, x, y)) return false;
        out->window = window_id;
        out->x = x;
        out->y = y;
        return true;
    }
    SDL_Window* target = SDL_GetWindowFromID(captured);
    if (target == nullptr) return false;
    int target_x = 0;
    int target_y = 0;
    SDL_GetWindowPosition(target, &target_x, &target_y);
    SDL_Window* source = SDL_GetWindowFromID(window_id);
    if (source == nullptr) {
        SDL_GetGlobalMouseState(&x, &y);
    } else {
        int source_x = 0;
        int source_y = 0;
        SDL_GetWindowPosition(source, &source_x, &source_y);
        x += source_x;
        y += source_y;
    }
    out->window = captured;
    out->x = x - target_x;
    out->y = y - target_y;
    return true;
}

// Whether the pointer has left the capture window since the capture began.
bool pointer_left_capture_window = false;

// SDL grabs the pointer for the window with the keyboard focus; it is asked to only while that is the capture
// window itself (again when the press that asked for the capture brings the focus only later), and only once
// the pointer has left it: inside, the X server's own grab during a press already delivers everything, and a
// grab held for every click would outlive quick clicks. Without a grab, the X server still reports the
// pointer outside while a button is held, but SDL drops it.
void grab_for_capture() {
    SDL_Window* target = captured != 0 ? SDL_GetWindowFromID(captured) : nullptr;
    const bool grab = target != nullptr && pointer_left_capture_window && SDL_GetKeyboardFocus() == target;
    SDL_CaptureMouse(grab ? SDL_TRUE : SDL_FALSE);
}

bool translate_window_event(const SDL_WindowEvent& in, Event* out) {
    out->window = in.windowID;
    switch (in.event) {
        case SDL_WINDOWEVENT_CLOSE:
            out->type = Event_Type::Close_Request;
            return true;
        case SDL_WINDOWEVENT_LEAVE:
            if (captured != 0 && in.windowID == captured && !pointer_left_capture_window) {
                pointer_left_capture_window = true;
                grab_for_capture();
            }
            return false;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (captured != 0) grab_for_capture();
            out->type = Event_Type::Focus_Gained;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            out->type = Event_Type::Focus_Lost;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            out->type = Event_Type::Exposed;
            return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            out->type = Event_Type::Resized;
            out->width = in.data1;
            out->height = in.data2;
            return true;
        default:
            return false;
    }
}

// Whole notches, positive away from the user. Wheels that report fractions of a notch add up until a whole
// one is reached.
bool translate_wheel_event(const SDL_MouseWheelEvent& in, Event* out) {
    static float pending = 0.0f;
    const float sign = in.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
    pending += sign * in.preciseY;
    const auto notches = static_cast<int>(pending);
    pending -= static_cast<float>(notches);
    if (notches == 0) return false;
    out->type = Event_Type::Wheel;
    out->window = in.windowID;
    out->wheel = notches;
#if SDL_VERSION_ATLEAST(2, 26, 0)
    out->x = in.mouseX;
    out->y = in.mouseY;
#else
    SDL_GetMouseState(&out->x, &out->y);
#endif
    out->modifiers = modifiers_of(SDL_GetModState());
    return true;
}

bool translate_key_event(const SDL_KeyboardEvent& in, Event* out) {
    int key = virtual_key_for(in.keysym.sym);
    if (key == 0) return false;
    out->type = in.type == SDL_KEYDOWN ? Event_Type::Key_Down : Event_Type::Key_Up;
    out->window = in.windowID;
    out->virtual_key = key;
    out->modifiers = modifiers_of(in.keysym.mod);
    return true;
}

}  // namespace

void set_capture(Window_Id window) {
    if (window != captured) pointer_left_capture_window = false;
    captured = window;
    if (is_open()) grab_for_capture();
}

int virtual_key_for(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    switch (key) {
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_END:
            return VK_END;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_SPACE:
            return VK_SPACE;
        // The main keyboard's "=+" key (a "+" key of its own on some layouts) and "-" key, and the keypad's.
        case SDLK_EQUALS:
        case SDLK_PLUS:
            return VK_OEM_PLUS;
        case SDLK_MINUS:
            return VK_OEM_MINUS;
        case SDLK_KP_PLUS:
            return VK_ADD;
        case SDLK_KP_MINUS:
            return VK_SUBTRACT;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU;
        default:
            return 0;
    }
}

bool translate_event(const SDL_Event& in, Event* out) {
    *out = Event{};
    switch (in.type) {
        case SDL_MOUSEMOTION:
            if (!place_pointer(in.motion.windowID, in.motion.x, in.motion.y, out)) return false;
            out->type = Event_Type::Mouse_Move;
            out->modifiers = modifiers_of(SDL_GetModState());
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (button_of(in.button.button) == 0) return false;
            if (!place_pointer(in.button.windowID, in.button.x, in.button.y, out)) return false;
            out->type = in.type == SDL_MOUSEBUTTONDOWN ? Event_Type::Button_Down : Event_Type::Button_Up;
            out->button = button_of(in.button.button);
            out->modifiers = modifiers_of(SDL_GetModState());
            return true;
        case SDL_MOUSEWHEEL:
            return translate_wheel_event(in.wheel, out);
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return translate_key_event(in.key, out);
        case SDL_TEXTINPUT:
            out->type = Event_Type::Text;
            out->window = in.text.windowID;
            std::memcpy(out->text, in.text.text, strnlen(in.text.text, sizeof out->text - 1));
            out->modifiers = modifiers_of(SDL_GetModState());
            return out->text[0] != '\0';
        case SDL_WINDOWEVENT:
            return translate_window_event(in.window, out);
        default:
            return false;
    }
}

}  // namespace platform::display::sdl
