#include "app/options_window.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/application.h"

const char options_window_class_name[] = "Options";

namespace {

constexpr int settings_buffer_size = 1000;

struct Settings_Row {
    const char* label;
    RECT label_rect;
    int edit_y;
    HWND Options_Window::*edit;
    double Plot_Settings::*value;  // null for the precision row
};

// Screen order, top to bottom.
const Settings_Row rows[] = {
    {"Ceiling value:", {30, 30, 200, 60}, 30, &Options_Window::ceiling_edit, &Plot_Settings::ceiling},
    {"Floor value:", {30, 90, 200, 120}, 90, &Options_Window::floor_edit, &Plot_Settings::floor},
    {"Real part:", {30, 150, 200, 180}, 150, &Options_Window::real_part_edit, &Plot_Settings::real_part},
    {"Imaginary part:",
     {30, 210, 200, 240},
     210,
     &Options_Window::imaginary_part_edit,
     &Plot_Settings::imaginary_part},
    {"Real part Scale:",
     {30, 270, 200, 300},
     270,
     &Options_Window::real_scale_edit,
     &Plot_Settings::real_scale},
    {"Imaginary part Scale:",
     {30, 330, 200, 360},
     330,
     &Options_Window::imaginary_scale_edit,
     &Plot_Settings::imaginary_scale},
    {"Zeta function precision:", {30, 390, 200, 420}, 390, &Options_Window::precision_edit, nullptr},
};

// atoi's result for text whose number does not fit an int is undefined; saturate instead, so that a huge
// precision stays huge.
std::int32_t text_to_precision(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(value);
}

// "%f" where it reads back as the same value, else the shortest text that does: 1e-07, not 0.000000.
void format_setting(std::vector<char>& buffer, double value) {
    std::snprintf(buffer.data(), buffer.size(), "%f", value);
    if (std::atof(buffer.data()) == value || !std::isfinite(value)) return;
    for (int digits = 1; digits < 17; ++digits) {
        std::snprintf(buffer.data(), buffer.size(), "%.*g", digits, value);
        if (std::atof(buffer.data()) == value) return;
    }
    std::snprintf(buffer.data(), buffer.size(), "%.17g", value);
}

void paint_labels(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    for (const Settings_Row& row : rows) {
        RECT box = row.label_rect;
        DrawTextA(dc, row.label, static_cast<int>(std::strlen(row.label)), &box, 0);
    }
    EndPaint(window, &paint);
}

void apply_settings(Application& application) {
    On_Screen_Object_Ostrelin_Zeta_Function_Viewer& viewer = application.viewer;
    Plot_Settings wanted = viewer.job.settings;
    if (!application.options.read_settings(wanted)) return;
    viewer.change_view(wanted);
}

// The row's text as EM_GETLINE gives it, cut to the buffer.
void read_row(HWND edit, std::vector<char>& buffer) {
    // The first word tells the edit how many characters fit, leaving room for the terminating zero.
    const WORD capacity = settings_buffer_size - 1;
    std::memcpy(buffer.data(), &capacity, sizeof capacity);
    LRESULT copied = SendMessageA(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer.data()));
    if (copied < 0 || copied > capacity) copied = 0;
    buffer[static_cast<std::size_t>(copied)] = '\0';
}

}  // namespace

void Options_Window::fill_edits(const Plot_Settings& settings) {
    std::vector<char> buffer(settings_buffer_size);
    for (const Settings_Row& row : rows) {
        if (row.value != nullptr) {
            format_setting(buffer, settings.*row.value);
        } else {
            std::snprintf(buffer.data(), buffer.size(), "%i", settings.precision);
        }
        SendMessageA(this->*row.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
    }
}

void Options_Window::show_settings_again(const Plot_Settings& settings) {
    if (IsWindowVisible(window)) fill_edits(settings);
}

void Options_Window::create(HINSTANCE instance, Application* application) {
    keep_typed_text = false;
    window = CreateWindowExA(0, options_window_class_name, "Options", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 400, 550, nullptr, nullptr, instance, nullptr);
    if (window != nullptr) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(application));
    // Tab moves through the controls in the order they are made: the fields top to bottom, then the button.
    constexpr DWORD control_style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
    for (const Settings_Row& row : rows) {
        this->*row.edit = CreateWindowExA(0, "Edit", "", control_style, 200, row.edit_y, 100, 30, window,
                                          nullptr, instance, nullptr);
    }
    apply_button =
        CreateWindowExA(0, "Button", "Apply values", control_style, 200, 460, 100, 40, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(apply_button_id)), instance, nullptr);
}

bool Options_Window::read_settings(Plot_Settings& settings) {
    std::vector<char> buffer(settings_buffer_size);
    double values[std::size(rows)] = {};
    std::int32_t precision = 0;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        read_row(this->*rows[i].edit, buffer);
        if (rows[i].value == nullptr) {
            precision = text_to_precision(buffer.data());
            continue;
        }
        values[i] = std::atof(buffer.data());
        // "inf", "nan" and 1e999 would make a plot of nothing but NaN.
        if (!std::isfinite(values[i])) {
            std::string field(rows[i].label);
            if (!field.empty() && field.back() == ':') field.pop_back();
            const std::string text = field + " must be a finite number. No value was changed.";
            keep_typed_text = true;
            MessageBoxA(window, text.c_str(), "Error", MB_OK);
            return false;
        }
    }
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (rows[i].value != nullptr) settings.*rows[i].value = values[i];
    }
    settings.precision = precision;
    return true;
}

LRESULT CALLBACK Options_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // The settings are the application's; before it is attached (while the window is created) and after it
    // has finished, there are none to show or apply.
    Application* application = Application::of(window);
    switch (message) {
        case WM_ACTIVATE:
            if (application == nullptr) return 0;
            if (!application->options.keep_typed_text) {
                application->options.fill_edits(application->viewer.job.settings);
            } else if (LOWORD(wparam) != WA_INACTIVE) {
                application->options.keep_typed_text = false;
            }
            return 0;
        case WM_PAINT:
            paint_labels(window);
            return 0;
        case WM_CLOSE:
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_COMMAND:
            if (application != nullptr && LOWORD(wparam) == apply_button_id) apply_settings(*application);
            return 0;
        case DM_GETDEFID:
            // Enter applies the values.
            return MAKELRESULT(apply_button_id, DC_HASDEFID);
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}
