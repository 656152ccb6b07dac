// Message boxes and the module handle.
#include <cstdio>

#include "platform/user/window_layer.h"

using namespace platform::user;

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
    // Win32 captions a message box "Error" when no caption is given.
    const char* shown_caption = caption != nullptr ? caption : "Error";
    const char* shown_text = text != nullptr ? text : "";
    // Always on stderr, so the message is seen even where no dialog can be shown.
    std::fprintf(stderr, "%s: %s\n", shown_caption, shown_text);
    std::fflush(stderr);
    const platform::display::Backend* display = open_display();
    // Win32 answers 0 when the box cannot be shown.
    if (display == nullptr || display->message_box == nullptr) return 0;
    return display->message_box(shown_caption, shown_text) ? IDOK : 0;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR module_name) {
    static int program_module;
    if (module_name != nullptr) return nullptr;  // only the program itself is known
    return reinterpret_cast<HMODULE>(&program_module);
}
