// The clipboard, kept in step with the display's clipboard (UTF-8 text).
//
// As in Win32: only the thread that opened it may empty, set, read or close it; memory given to
// SetClipboardData belongs to the clipboard from then on, which frees it when the data is replaced or
// emptied; CF_TEXT (Latin-1 here) and CF_UNICODETEXT are made from each other when only one was put there.
// Text that another program copied arrives in both formats. What it holds is taken from the display when it
// is opened and stays as it is until it is closed, so no handle it gave out goes away meanwhile.
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

#include "platform/user/text_encoding.h"
#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

struct Entry {
    HGLOBAL memory = nullptr;
    bool converted = false;  // made here from the other text format or the display's text
};

struct Clipboard {
    std::mutex lock;
    bool open = false;
    std::thread::id thread;
    HWND opener = nullptr;
    // EmptyClipboard after OpenClipboard(NULL) leaves the clipboard without an owner, and Win32 documents
    // that SetClipboardData then fails.
    bool emptied_without_owner = false;
    std::map<UINT, Entry> entries;
    std::string display_text;  // the display's text when the entries last matched it
};

Clipboard& clipboard() {
    static Clipboard state;
    return state;
}

bool is_text_format(UINT format) {
    return format == CF_TEXT || format == CF_UNICODETEXT;
}

bool is_open_here(const Clipboard& c) {
    return c.open && c.thread == std::this_thread::get_id();
}

void free_entries(Clipboard& c, bool converted_text_only) {
    for (auto it = c.entries.begin(); it != c.entries.end();) {
        if (converted_text_only && !(it->second.converted && is_text_format(it->first))) {
            ++it;
            continue;
        }
        GlobalFree(it->second.memory);
        it = c.entries.erase(it);
    }
}

std::optional<std::string> display_text() {
    const display::Backend* display = open_display();
    if (display == nullptr || display->get_clipboard == nullptr) return std::nullopt;
    return display->get_clipboard();
}

void show_on_display(const std::string& text) {
    const display::Backend* display = open_display();
    if (display != nullptr && display->set_clipboard != nullptr) display->set_clipboard(text);
}

// Text that another program put on the display's clipboard replaces what this program left there.
void follow_display(Clipboard& c) {
    std::optional<std::string> text = display_text();
    if (!text || *text == c.display_text) return;
    free_entries(c, false);
    c.display_text = std::move(*text);
}

// The text of a CF_TEXT or CF_UNICODETEXT block as UTF-8: up to its first zero or its end.
std::string text_of(UINT format, HGLOBAL memory) {
    const SIZE_T size = GlobalSize(memory);
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    if (bytes == nullptr) return {};
    std::string text;
    if (format == CF_TEXT) {
        text = utf8_from_latin1(std::string_view(bytes, strnlen(bytes, size)));
    } else {
        std::u16string wide(size / sizeof(char16_t), u'\0');
        std::memcpy(wide.data(), bytes, wide.size() * sizeof(char16_t));
        const std::size_t end = wide.find(u'\0');
        if (end != std::u16string::npos) wide.resize(end);
        text = utf8_from_utf16(wide);
    }
    GlobalUnlock(memory);
    return text;
}

HGLOBAL text_block(UINT format, const std::string& utf8) {
    std::string narrow;
    std::u16string wide;
    const void* source = nullptr;
    SIZE_T bytes = 0;
    if (format == CF_TEXT) {
        narrow = latin1_from_utf8(utf8);
        source = narrow.c_str();
        bytes = narrow.size() + 1;
    } else {
        wide = utf16_from_utf8(utf8);
        source = wide.c_str();
        bytes = (wide.size() + 1) * sizeof(char16_t);
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, source, bytes);
    GlobalUnlock(memory);
    return memory;
}

bool has_text(const Clipboard& c) {
    return !c.display_text.empty() || c.entries.contains(CF_TEXT) || c.entries.contains(CF_UNICODETEXT);
}

}  // namespace

void reset_clipboard() {
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    free_entries(c, false);
    c.open = false;
    c.thread = {};
    c.opener = nullptr;
    c.emptied_without_owner = false;
    c.display_text.clear();
}

}  // namespace platform::user

using namespace platform::user;

// Fails while another thread or window has it open, unless that window is gone.
BOOL WINAPI OpenClipboard(HWND owner) {
    if (owner != nullptr && !IsWindow(owner)) return FALSE;
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (c.open) {
        const bool opener_gone = c.opener != nullptr && !IsWindow(c.opener);
        const bool same_opener = c.thread == std::this_thread::get_id() && c.opener == owner;
        if (!opener_gone && !same_opener) return FALSE;
    } else {
        follow_display(c);
    }
    c.open = true;
    c.thread = std::this_thread::get_id();
    c.opener = owner;
    c.emptied_without_owner = false;
    return TRUE;
}

BOOL WINAPI CloseClipboard(void) {
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (!is_open_here(c)) return FALSE;
    c.open = false;
    c.opener = nullptr;
    return TRUE;
}

BOOL WINAPI EmptyClipboard(void) {
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (!is_open_here(c)) return FALSE;
    free_entries(c, false);
    c.display_text.clear();
    show_on_display(c.display_text);
    c.emptied_without_owner = c.opener == nullptr;
    return TRUE;
}

// Null memory (delayed rendering) is not supported and fails.
HANDLE WINAPI SetClipboardData(UINT format, HANDLE memory) {
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (!is_open_here(c) || c.emptied_without_owner || memory == nullptr) return nullptr;
    if (GlobalLock(memory) == nullptr) return nullptr;  // no global memory block with bytes in it
    GlobalUnlock(memory);
    if (is_text_format(format)) {
        free_entries(c, true);
        c.display_text = text_of(format, memory);
        show_on_display(c.display_text);
    }
    auto found = c.entries.find(format);
    if (found != c.entries.end() && found->second.memory != memory) GlobalFree(found->second.memory);
    c.entries[format] = Entry{memory, false};
    return memory;
}

HANDLE WINAPI GetClipboardData(UINT format) {
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (!is_open_here(c)) return nullptr;
    auto found = c.entries.find(format);
    if (found != c.entries.end()) return found->second.memory;
    if (!is_text_format(format) || !has_text(c)) return nullptr;
    HGLOBAL memory = text_block(format, c.display_text);
    if (memory != nullptr) c.entries[format] = Entry{memory, true};
    return memory;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (!c.open) follow_display(c);
    if (c.entries.contains(format)) return TRUE;
    return is_text_format(format) && has_text(c) ? TRUE : FALSE;
}
