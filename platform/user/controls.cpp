// Registration of the standard control classes that every program finds without registering them itself.
#include "platform/user/controls.h"

#include "platform/user/button.h"
#include "platform/user/edit.h"
#include "platform/win32.h"

namespace platform::user {
namespace {

void register_class(const char* name, WNDPROC procedure, LPCSTR cursor) {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hCursor = LoadCursorA(nullptr, cursor);
    window_class.lpszClassName = name;
    RegisterClassExA(&window_class);
}

}  // namespace

void register_control_classes() {
    register_class("Button", button_window_procedure, IDC_ARROW);
    register_class("Edit", edit_window_procedure, IDC_IBEAM);
}

}  // namespace platform::user
