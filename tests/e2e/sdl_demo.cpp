// A small program on the window layer for the end-to-end tests: a window painted with known solid rectangles,
// an "Edit" and a "Button", with a class icon. When the window is closed it prints what the edit holds, how
// many times the button was clicked and the keys and characters the window itself received, then exits with
// status 0. The first click also starts a thread that recolours one area and invalidates the window from that
// thread; a right click shows a message box, and the report says what the last one returned; Ctrl+C copies a
// line of text to the clipboard.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "demo_layout.h"
#include "platform/startup.h"
#include "platform/win32.h"

namespace {

HWND edit_control = nullptr;
int button_clicks = 0;
int message_boxes = 0;
int message_box_answer = -1;  // what the last MessageBoxA returned
std::thread recolouring;
std::atomic<bool> recoloured{false};
std::string keys_seen;        // virtual keys of WM_KEYDOWN, in hex
std::string characters_seen;  // WM_CHAR codes, in hex

void note(std::string& log, WPARAM code) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%02X", log.empty() ? "" : " ", static_cast<unsigned>(code));
    log += text;
}

void copy_to_clipboard(HWND window, const char* text) {
    if (!OpenClipboard(window)) return;
    const std::size_t size = std::strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (void* bytes = GlobalLock(memory)) {
        std::memcpy(bytes, text, size);
        GlobalUnlock(memory);
        EmptyClipboard();
        if (SetClipboardData(CF_TEXT, memory) == nullptr) GlobalFree(memory);
    } else {
        GlobalFree(memory);
    }
    CloseClipboard();
}

HICON make_icon() {
    std::vector<BYTE> colour;
    for (int i = 0; i < demo::icon_size * demo::icon_size; ++i) {
        for (int shift : {0, 8, 16, 24})
            colour.push_back(static_cast<BYTE>(demo::icon_colour >> shift));  // B, G, R, A
    }
    std::vector<BYTE> mask(static_cast<std::size_t>((demo::icon_size + 15) / 16 * 2 * demo::icon_size), 0);
    return CreateIcon(nullptr, demo::icon_size, demo::icon_size, 1, 32, mask.data(), colour.data());
}

void start_recolouring(HWND window) {
    if (recolouring.joinable()) return;
    recolouring = std::thread([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        recoloured = true;
        InvalidateRect(window, nullptr, FALSE);
    });
}

void fill(HDC hdc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

COLORREF colour_ref(demo::Colour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

void paint(HWND window) {
    PAINTSTRUCT paint_struct{};
    HDC hdc = BeginPaint(window, &paint_struct);
    RECT client{};
    GetClientRect(window, &client);
    fill(hdc, client, colour_ref(demo::background));
    for (int i = 0; i < static_cast<int>(std::size(demo::areas)); ++i) {
        const demo::Area& area = demo::areas[i];
        bool changed = i == demo::recoloured_area && recoloured;
        fill(hdc, {area.left, area.top, area.right, area.bottom},
             colour_ref(changed ? demo::recoloured : area.colour));
    }
    EndPaint(window, &paint_struct);
}

// Prints the edit's text as the Options window reads it: EM_GETLINE into a 1000-byte buffer.
void report() {
    char buffer[1000] = {};
    WORD size = sizeof buffer - 1;
    std::memcpy(buffer, &size, sizeof size);
    auto count = SendMessageA(edit_control, EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer));
    buffer[count] = '\0';
    std::printf("edit: %s\nclicks: %d\nmessage boxes: %d\nmessage box answer: %d\nkeys: %s\ncharacters: %s\n",
                buffer, button_clicks, message_boxes, message_box_answer, keys_seen.c_str(),
                characters_seen.c_str());
    std::fflush(stdout);
}

LRESULT CALLBACK demo_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wparam) == demo::button_id && HIWORD(wparam) == BN_CLICKED) {
                ++button_clicks;
                start_recolouring(window);
            }
            return 0;
        case WM_KEYDOWN:
            note(keys_seen, wparam);
            if (wparam == 'C' && GetKeyState(VK_CONTROL) < 0) copy_to_clipboard(window, demo::copied_text);
            return 0;
        case WM_CHAR:
            note(characters_seen, wparam);
            return 0;
        case WM_RBUTTONUP:
            message_box_answer = MessageBoxA(window, demo::message_text, demo::message_caption, MB_OK);
            ++message_boxes;
            return 0;
        case WM_CLOSE:
            report();
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            if (recolouring.joinable()) recolouring.join();
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    platform::Configuration configuration;
    configuration.program_name = "sdl_demo";
    configuration.no_screen_advice = "run it on a desktop or under Xvfb";
    platform::configure(configuration);
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = demo_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = "Sdl Demo";
    HICON icon = make_icon();
    window_class.hIcon = icon;
    if (RegisterClassExA(&window_class) == 0) {
        MessageBoxA(nullptr, "Window failed to register", "Error", MB_OK);
        return 2;
    }
    RECT frame = {0, 0, demo::width, demo::height};  // the client area the demo's layout needs
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND window =
        CreateWindowExA(0, "Sdl Demo", demo::title, WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        MessageBoxA(nullptr, "Failed to create window", "Error", MB_OK);
        return 1;
    }
    edit_control = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, demo::edit.left,
                                   demo::edit.top, demo::edit.right - demo::edit.left,
                                   demo::edit.bottom - demo::edit.top, window, nullptr, instance, nullptr);
    CreateWindowExA(0, "Button", "Apply values", WS_CHILD | WS_VISIBLE | WS_BORDER, demo::button.left,
                    demo::button.top, demo::button.right - demo::button.left,
                    demo::button.bottom - demo::button.top, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(demo::button_id)), instance, nullptr);
    ShowWindow(window, show_command);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UnregisterClassA("Sdl Demo", instance);
    DestroyIcon(icon);
    return static_cast<int>(message.wParam);
}
