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

HWND options_window = nullptr;
HWND apply_button = nullptr;
HWND ceiling_edit = nullptr;
HWND floor_edit = nullptr;
HWND real_part_edit = nullptr;
HWND imaginary_part_edit = nullptr;
HWND real_scale_edit = nullptr;
HWND imaginary_scale_edit = nullptr;
HWND precision_edit = nullptr;

namespace {

constexpr int settings_buffer_size = 1000;

struct Settings_Row {
    const char* label;
    RECT label_rect;
    int edit_y;
    HWND* edit;
    double Plot_Job::*value;  // null for the precision row
};

// Screen order, top to bottom.
const Settings_Row rows[] = {
    {"Ceiling value:", {30, 30, 200, 60}, 30, &ceiling_edit, &Plot_Job::ceiling},
    {"Floor value:", {30, 90, 200, 120}, 90, &floor_edit, &Plot_Job::floor},
    {"Real part:", {30, 150, 200, 180}, 150, &real_part_edit, &Plot_Job::real_part},
    {"Imaginary part:", {30, 210, 200, 240}, 210, &imaginary_part_edit, &Plot_Job::imaginary_part},
    {"Real part Scale:", {30, 270, 200, 300}, 270, &real_scale_edit, &Plot_Job::real_scale},
    {"Imaginary part Scale:", {30, 330, 200, 360}, 330, &imaginary_scale_edit, &Plot_Job::imaginary_scale},
    {"Zeta function precision:", {30, 390, 200, 420}, 390, &precision_edit, nullptr},
};

// atoi's result for text whose number does not fit an int is undefined; saturate instead, so that a huge
// precision stays huge.
std::int32_t text_to_precision(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(value);
}

// After "Apply values" refused a field, the texts stay until the window has been activated again, so that the
// activation changes around the message box do not replace them.
bool keep_typed_text = false;

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

// Shows the current settings; text typed but not applied is replaced.
void fill_edits() {
    std::vector<char> buffer(settings_buffer_size);
    for (const Settings_Row& row : rows) {
        if (row.value != nullptr) {
            format_setting(buffer, viewer.job.*row.value);
        } else {
            std::snprintf(buffer.data(), buffer.size(), "%i", viewer.job.precision);
        }
        SendMessageA(*row.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
    }
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

void apply_settings() {
    const Plot_View before = view_of(viewer.job);
    if (!read_settings()) return;
    viewer.note_view_change(before);
    viewer.job.status_text = "Calculating values...";
    start_calculation(viewer.job);
}

// The row's text as EM_GETLINE gives it, cut to the buffer.
void read_row(const Settings_Row& row, std::vector<char>& buffer) {
    // The first word tells the edit how many characters fit, leaving room for the terminating zero.
    const WORD capacity = settings_buffer_size - 1;
    std::memcpy(buffer.data(), &capacity, sizeof capacity);
    LRESULT copied = SendMessageA(*row.edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer.data()));
    if (copied < 0 || copied > capacity) copied = 0;
    buffer[static_cast<std::size_t>(copied)] = '\0';
}

void refuse(const Settings_Row& row) {
    std::string field(row.label);
    if (!field.empty() && field.back() == ':') field.pop_back();
    const std::string text = field + " must be a finite number. No value was changed.";
    keep_typed_text = true;
    MessageBoxA(options_window, text.c_str(), "Error", MB_OK);
}

}  // namespace

void show_settings_again() {
    if (IsWindowVisible(options_window)) fill_edits();
}

void create_options_window(HINSTANCE instance) {
    keep_typed_text = false;
    options_window =
        CreateWindowExA(0, options_window_class_name, "Options", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 400, 550, nullptr, nullptr, instance, nullptr);
    apply_button = CreateWindowExA(
        0, "Button", "Apply values", WS_CHILD | WS_VISIBLE | WS_BORDER, 200, 460, 100, 40, options_window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(apply_button_id)), instance, nullptr);
    for (const Settings_Row& row : rows) {
        *row.edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 200, row.edit_y, 100,
                                    30, options_window, nullptr, instance, nullptr);
    }
}

bool read_settings() {
    std::vector<char> buffer(settings_buffer_size);
    double values[std::size(rows)] = {};
    std::int32_t precision = 0;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        read_row(rows[i], buffer);
        if (rows[i].value == nullptr) {
            precision = text_to_precision(buffer.data());
            continue;
        }
        values[i] = std::atof(buffer.data());
        // "inf", "nan" and 1e999 would make a plot of nothing but NaN.
        if (!std::isfinite(values[i])) {
            refuse(rows[i]);
            return false;
        }
    }
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (rows[i].value != nullptr) viewer.job.*rows[i].value = values[i];
    }
    viewer.job.precision = precision;
    return true;
}

LRESULT CALLBACK Options_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ACTIVATE:
            if (!keep_typed_text) {
                fill_edits();
            } else if (LOWORD(wparam) != WA_INACTIVE) {
                keep_typed_text = false;
            }
            return 0;
        case WM_PAINT:
            paint_labels(window);
            return 0;
        case WM_CLOSE:
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wparam) == apply_button_id) apply_settings();
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}
