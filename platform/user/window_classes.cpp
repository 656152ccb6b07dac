// Window classes: registered by name (compared without regard to case, as in Win32) and found by name or
// atom.
#include <strings.h>

#include <algorithm>

#include "platform/user/controls.h"
#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

bool same_name(const std::string& a, LPCSTR b) {
    return strcasecmp(a.c_str(), b) == 0;
}

std::vector<std::shared_ptr<Window_Class>>::iterator find_registered(LPCSTR name) {
    auto& classes = layer().classes;
    if (name == nullptr) return classes.end();
    if (IS_INTRESOURCE(name)) {
        ATOM atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name));
        return std::find_if(classes.begin(), classes.end(),
                            [atom](const auto& c) { return c->atom == atom; });
    }
    return std::find_if(classes.begin(), classes.end(),
                        [name](const auto& c) { return same_name(c->name, name); });
}

}  // namespace

std::shared_ptr<const Window_Class> find_class(LPCSTR name) {
    auto found = find_registered(name);
    return found != layer().classes.end() ? *found : nullptr;
}

void ensure_control_classes() {
    Layer& l = layer();
    if (l.control_classes_registered) return;
    l.control_classes_registered = true;
    register_control_classes();
}

}  // namespace platform::user

using namespace platform::user;

// A class without a window procedure registers, as in Windows; CreateWindowEx refuses to make windows of it.
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEXA) || wc->lpszClassName == nullptr ||
        IS_INTRESOURCE(wc->lpszClassName) || wc->lpszClassName[0] == '\0') {
        return 0;
    }
    Layer& l = layer();
    if (find_registered(wc->lpszClassName) != l.classes.end()) return 0;
    auto window_class = std::make_shared<Window_Class>();
    window_class->name = wc->lpszClassName;
    window_class->atom = l.next_atom++;
    window_class->style = wc->style;
    window_class->procedure = wc->lpfnWndProc;
    window_class->instance = wc->hInstance;
    window_class->cursor = wc->hCursor;
    window_class->background = wc->hbrBackground;
    window_class->icon = wc->hIcon;
    window_class->small_icon = wc->hIconSm;
    l.classes.push_back(window_class);
    return window_class->atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR class_name, HINSTANCE) {
    Layer& l = layer();
    auto found = find_registered(class_name);
    if (found == l.classes.end()) return FALSE;
    // As in Win32, a class cannot go while windows of it exist.
    std::lock_guard guard(l.lock);
    for (const auto& [handle, window] : l.windows) {
        if (window->window_class == *found) return FALSE;
    }
    l.classes.erase(found);
    return TRUE;
}
