// Window classes, creation and destruction: results and message order as in Win32.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"

using test_support::message_log;
using test_support::register_logging_class;
using Strings = std::vector<std::string>;

namespace {

class Window_Lifecycle : public test_support::Headless_Window_Test {};

LRESULT CALLBACK plain_procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(hwnd, msg, wparam, lparam);
}

TEST_F(Window_Lifecycle, RegisterClassExRejectsDuplicateAndIncompleteClassesAndWindowsWithoutAProcedure) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = plain_procedure;
    wc.lpszClassName = "Lifecycle";
    ATOM atom = RegisterClassExA(&wc);
    EXPECT_NE(atom, 0);
    EXPECT_EQ(RegisterClassExA(&wc), 0) << "duplicate name";
    wc.lpszClassName = "LIFECYCLE";
    EXPECT_EQ(RegisterClassExA(&wc), 0) << "class names ignore case";

    WNDCLASSEXA no_procedure = wc;
    no_procedure.lpszClassName = "No procedure";
    no_procedure.lpfnWndProc = nullptr;
    EXPECT_NE(RegisterClassExA(&no_procedure), 0) << "registers, but makes no windows";
    EXPECT_EQ(CreateWindowExA(0, "No procedure", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    EXPECT_TRUE(UnregisterClassA("No procedure", nullptr));
    WNDCLASSEXA wrong_size = wc;
    wrong_size.lpszClassName = "Wrong size";
    wrong_size.cbSize = sizeof(wc) - 4;
    EXPECT_EQ(RegisterClassExA(&wrong_size), 0);

    EXPECT_TRUE(UnregisterClassA("Lifecycle", nullptr));
    EXPECT_FALSE(UnregisterClassA("Lifecycle", nullptr));
    wc.lpszClassName = "Lifecycle";
    EXPECT_NE(RegisterClassExA(&wc), 0) << "the name is free again";

    // Last: under Wine a class without a name leaves the class table odd (a later UnregisterClassA of a name
    // gone already succeeds).
    WNDCLASSEXA no_name = wc;
    no_name.lpszClassName = nullptr;
    EXPECT_EQ(RegisterClassExA(&no_name), 0);
}

TEST_F(Window_Lifecycle, UnregisterClassFailsWhileWindowsOfItExist) {
    ASSERT_NE(register_logging_class("Busy"), 0);
    HWND window = create_top_level("Busy", 10, 10, 100, 100);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(UnregisterClassA("Busy", nullptr));
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("Busy", nullptr));
}

TEST_F(Window_Lifecycle, CreateWindowWithUnknownClassFails) {
    EXPECT_EQ(create_top_level("No such class", 0, 0, 10, 10), nullptr);
    EXPECT_EQ(create_child("Static", nullptr, 0, 0, 10, 10), nullptr);
}

TEST_F(Window_Lifecycle, CreateShowPaintDestroySequence) {
    ASSERT_NE(register_logging_class("Seq"), 0);
    HWND window = create_top_level("Seq", 10, 20, 200, 100);
    ASSERT_NE(window, nullptr);
    message_log().name_window(window, "w");
    // A top-level window hears its size and place at its first show, after the erase.
    EXPECT_EQ(message_log().sequence(), (Strings{"w WM_NCCREATE", "w WM_CREATE"}));

    message_log().clear();
    EXPECT_FALSE(ShowWindow(window, SW_SHOW)) << "was hidden";
    // (Drawing the caption may read the window's text meanwhile: WM_GETTEXT is left out.)
    EXPECT_EQ(message_log().sequence({WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_ERASEBKGND, WM_SIZE,
                                      WM_MOVE, WM_PAINT, WM_KILLFOCUS}),
              (Strings{"w WM_SHOWWINDOW", "w WM_ACTIVATE", "w WM_SETFOCUS", "w WM_ERASEBKGND", "w WM_SIZE",
                       "w WM_MOVE"}));
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(GetFocus(), window);
    EXPECT_TRUE(ShowWindow(window, SW_SHOW)) << "was visible";

    message_log().clear();
    test_support::pump_until_idle();
    EXPECT_EQ(message_log().sequence(), (Strings{"w WM_PAINT"}));

    message_log().clear();
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(message_log().sequence({WM_ACTIVATE, WM_KILLFOCUS, WM_DESTROY, WM_NCDESTROY}),
              (Strings{"w WM_ACTIVATE", "w WM_KILLFOCUS", "w WM_DESTROY", "w WM_NCDESTROY"}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Window_Lifecycle, CreateStructCarriesTheCreationArguments) {
    ASSERT_NE(register_logging_class("Args"), 0);
    int parameter = 0;
    CREATESTRUCTA seen{};
    message_log().handler = [&](HWND, UINT msg, WPARAM, LPARAM lparam) -> std::optional<LRESULT> {
        if (msg == WM_CREATE) seen = *reinterpret_cast<CREATESTRUCTA*>(lparam);
        return std::nullopt;
    };
    HWND window = CreateWindowExA(0, "Args", "Title", WS_OVERLAPPEDWINDOW, 30, 40, 300, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), &parameter);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(seen.lpCreateParams, &parameter);
    EXPECT_EQ(seen.x, 30);
    EXPECT_EQ(seen.y, 40);
    EXPECT_EQ(seen.cx, 300);
    EXPECT_EQ(seen.cy, 200);
    EXPECT_EQ(static_cast<DWORD>(seen.style), static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    EXPECT_STREQ(seen.lpszName, "Title");
    char text[16];
    EXPECT_EQ(GetWindowTextA(window, text, sizeof(text)), 5) << "DefWindowProc's WM_NCCREATE sets the text";
    EXPECT_STREQ(text, "Title");
}

TEST_F(Window_Lifecycle, CreateFailsWhenWmCreateReturnsMinusOne) {
    ASSERT_NE(register_logging_class("Refuses"), 0);
    message_log().handler = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_CREATE) return -1;
        return std::nullopt;
    };
    EXPECT_EQ(create_top_level("Refuses", 0, 0, 100, 100), nullptr);
    EXPECT_EQ(message_log().sequence(), (Strings{"? WM_NCCREATE", "? WM_CREATE", "? WM_NCDESTROY"}));
    EXPECT_FALSE(IsWindow(message_log().entries().front().window));
}

TEST_F(Window_Lifecycle, DefaultSizeIsThreeQuartersOfTheScreen) {
    ASSERT_NE(register_logging_class("Default"), 0);
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(screen_width, 0);
    // The main window's form: x CW_USEDEFAULT, y 0, width CW_USEDEFAULT, height 0.
    HWND window = CreateWindowExA(0, "Default", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.right - placed.left, screen_width * 3 / 4);
    EXPECT_EQ(placed.bottom - placed.top, screen_height * 3 / 4);
    EXPECT_GE(placed.left, 0);
    EXPECT_LE(placed.right, screen_width);
    EXPECT_LE(placed.bottom, screen_height);
}

TEST_F(Window_Lifecycle, DefaultPositionsCascade) {
    ASSERT_NE(register_logging_class("Cascade"), 0);
    RECT first{}, second{};
    for (RECT* placed : {&first, &second}) {
        HWND window = CreateWindowExA(0, "Cascade", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                      400, 550, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        GetWindowRect(window, placed);
    }
    EXPECT_EQ(first.right - first.left, 400);
    EXPECT_EQ(first.bottom - first.top, 550);
    EXPECT_NE(second.left, first.left);
}

TEST_F(Window_Lifecycle, SizesGivenAreWindowSizesAroundAFramedClientArea) {
    ASSERT_NE(register_logging_class("Framed"), 0);
    RECT frame{0, 0, 0, 0};
    ASSERT_TRUE(AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0));
    EXPECT_EQ(-frame.left, GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(-frame.top, GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(frame.right, GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(frame.bottom, GetSystemMetrics(SM_CYFRAME));
    RECT popup{0, 0, 10, 10};
    AdjustWindowRectEx(&popup, WS_POPUP, FALSE, 0);
    EXPECT_EQ(popup.right - popup.left, 10) << "no frame without a border style";

    HWND window = CreateWindowExA(0, "Framed", "", WS_OVERLAPPEDWINDOW, 10, 20, 960, 768, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    RECT client, placed;
    GetClientRect(window, &client);
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.top, 20);
    EXPECT_EQ(placed.right, 970);
    EXPECT_EQ(placed.bottom, 788);
    EXPECT_EQ(client.right, 960 - frame.right + frame.left);
    EXPECT_EQ(client.bottom, 768 - frame.bottom + frame.top);

    message_log().name_window(window, "w");
    ShowWindow(window, SW_SHOW);
    std::vector<test_support::Logged_Message> size = message_log().of(WM_SIZE);
    std::vector<test_support::Logged_Message> move = message_log().of(WM_MOVE);
    ASSERT_EQ(size.size(), 1u);
    ASSERT_EQ(move.size(), 1u);
    EXPECT_EQ(size[0].lparam, MAKELPARAM(client.right, client.bottom));
    EXPECT_EQ(move[0].lparam, MAKELPARAM(10 - frame.left, 20 - frame.top))
        << "WM_MOVE gives the client's place";

    message_log().clear();
    EXPECT_TRUE(MoveWindow(window, 30, 40, 500, 400, FALSE));
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 500 - frame.right + frame.left);
    EXPECT_EQ(client.bottom, 400 - frame.bottom + frame.top);
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, 30);
    EXPECT_EQ(placed.bottom, 440);
}

TEST_F(Window_Lifecycle, ChildWindowsArePlacedAsGivenInTheParentsClientArea) {
    ASSERT_NE(register_logging_class("Parent"), 0);
    HWND parent = create_top_level("Parent", 100, 50, 400, 300);
    HWND child = create_child("Parent", parent, 20, 30, 60, 40, 77);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetParent(parent), nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), 77);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_ID), 77);
    RECT client;
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 60);
    EXPECT_EQ(client.bottom, 40);
    RECT on_screen;
    GetWindowRect(child, &on_screen);
    EXPECT_EQ(on_screen.left, 120);
    EXPECT_EQ(on_screen.top, 80);
    EXPECT_FALSE(IsWindowVisible(child)) << "the parent is hidden";
    ShowWindow(parent, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(child));

    EXPECT_EQ(create_child("Parent", nullptr, 0, 0, 10, 10), nullptr) << "WS_CHILD needs a parent";
}

TEST_F(Window_Lifecycle, DestroyingAParentDestroysItsChildren) {
    ASSERT_NE(register_logging_class("Tree"), 0);
    HWND parent = create_top_level("Tree", 0, 0, 400, 300);
    HWND child = create_child("Tree", parent, 0, 0, 50, 50);
    HWND grandchild = create_child("Tree", child, 0, 0, 10, 10);
    message_log().clear();
    message_log().name_window(parent, "parent");
    message_log().name_window(child, "child");
    message_log().name_window(grandchild, "grandchild");
    bool children_alive_in_wm_destroy = false;
    message_log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_DESTROY && hwnd == parent)
            children_alive_in_wm_destroy = IsWindow(child) && IsWindow(grandchild);
        return std::nullopt;
    };
    EXPECT_TRUE(DestroyWindow(parent));
    EXPECT_EQ(message_log().sequence({WM_DESTROY, WM_NCDESTROY}),
              (Strings{"parent WM_DESTROY", "child WM_DESTROY", "grandchild WM_DESTROY",
                       "grandchild WM_NCDESTROY", "child WM_NCDESTROY", "parent WM_NCDESTROY"}));
    EXPECT_TRUE(children_alive_in_wm_destroy);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(Window_Lifecycle, WindowDestroyedInsideItsOwnMessage) {
    ASSERT_NE(register_logging_class("SelfDestroy"), 0);
    HWND window = create_top_level("SelfDestroy", 0, 0, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    test_support::pump_until_idle();
    BOOL second_destroy = TRUE;
    message_log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_USER) {
            EXPECT_TRUE(DestroyWindow(hwnd));
            second_destroy = DestroyWindow(hwnd);
            // Still inside the destroyed window's own message: nothing here may touch it.
            EXPECT_EQ(SendMessageA(hwnd, WM_USER + 1, 0, 0), 0);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 5;
        }
        if (msg == WM_DESTROY) DestroyWindow(hwnd);  // re-entrant destruction is ignored
        return std::nullopt;
    };
    PostMessageA(window, WM_USER, 0, 0);
    PostMessageA(window, WM_USER + 2, 0, 0);  // dropped: its window is gone when it comes up
    message_log().clear();
    message_log().name_window(window, "w");
    EXPECT_FALSE(test_support::pump_until_idle().has_value());
    EXPECT_FALSE(second_destroy);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(message_log().sequence({WM_USER, WM_USER + 1, WM_USER + 2, WM_DESTROY, WM_NCDESTROY}),
              (Strings{"w 0x0400", "w WM_DESTROY", "w WM_NCDESTROY"}));
}

TEST_F(Window_Lifecycle, BadHandlesGiveTheFailureValue) {
    ASSERT_NE(register_logging_class("Gone"), 0);
    HWND gone = create_top_level("Gone", 0, 0, 100, 100);
    DestroyWindow(gone);
    for (HWND bad : {static_cast<HWND>(nullptr), gone, reinterpret_cast<HWND>(0x1234)}) {
        RECT rect{1, 2, 3, 4};
        PAINTSTRUCT paint{};
        char text[8] = "x";
        EXPECT_FALSE(IsWindow(bad));
        EXPECT_FALSE(DestroyWindow(bad));
        EXPECT_FALSE(ShowWindow(bad, SW_SHOW));
        EXPECT_FALSE(GetClientRect(bad, &rect));
        EXPECT_FALSE(GetWindowRect(bad, &rect));
        EXPECT_FALSE(MoveWindow(bad, 0, 0, 10, 10, TRUE));
        EXPECT_FALSE(UpdateWindow(bad));
        EXPECT_EQ(BeginPaint(bad, &paint), nullptr);
        EXPECT_EQ(SendMessageA(bad, WM_USER, 0, 0), 0);
        EXPECT_FALSE(IsWindowVisible(bad));
        EXPECT_EQ(GetParent(bad), nullptr);
        EXPECT_EQ(GetDlgCtrlID(bad), 0);
        EXPECT_EQ(GetWindowLongPtrA(bad, GWLP_USERDATA), 0);
        EXPECT_EQ(SetWindowLongPtrA(bad, GWLP_USERDATA, 5), 0);
        EXPECT_FALSE(SetWindowTextA(bad, "text"));
        EXPECT_EQ(GetWindowTextA(bad, text, sizeof(text)), 0);
        EXPECT_STREQ(text, "");
        if (bad != nullptr) {
            EXPECT_FALSE(InvalidateRect(bad, nullptr, TRUE));
            EXPECT_FALSE(ValidateRect(bad, nullptr));
            EXPECT_FALSE(PostMessageA(bad, WM_USER, 0, 0));
            EXPECT_EQ(GetDC(bad), nullptr);
            EXPECT_EQ(SetFocus(bad), nullptr);
        }
    }
    MSG msg{};
    msg.hwnd = gone;
    msg.message = WM_USER;
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_EQ(GetMessageA(&msg, gone, 0, 0), -1);
}

TEST_F(Window_Lifecycle, WindowLongsAndText) {
    ASSERT_NE(register_logging_class("Longs"), 0);
    HWND window = create_top_level("Longs", 0, 0, 100, 100);
    EXPECT_EQ(SetWindowLongPtrA(window, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 1234);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(test_support::logging_window_procedure));
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);

    LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(plain_procedure));
    EXPECT_EQ(previous, reinterpret_cast<LONG_PTR>(test_support::logging_window_procedure));
    message_log().clear();
    SendMessageA(window, WM_USER, 0, 0);
    EXPECT_TRUE(message_log().entries().empty()) << "the new procedure gets the messages";

    EXPECT_TRUE(SetWindowTextA(window, "A longer title"));
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 14);
    char small[5];
    EXPECT_EQ(GetWindowTextA(window, small, sizeof(small)), 4) << "cut to the buffer, zero-terminated";
    EXPECT_STREQ(small, "A lo");
}

}  // namespace
