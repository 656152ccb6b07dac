// Layout, measuring and painting of the single-line edit control.
#include "platform/user/edit_view.h"

#include <algorithm>
#include <string>

namespace platform::user {
namespace {

// Where the text goes inside the client area: inside the border, with a small margin.
struct Text_Area {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive; the caret may stand at right - 1 at most
    int bottom = 0;  // the client bottom inside the border
    int border = 0;
    int width() const { return std::max(right - left, 1); }
};

Text_Area text_area_of(HWND edit) {
    RECT client{};
    GetClientRect(edit, &client);
    Text_Area area;
    area.border = (GetWindowLongPtrA(edit, GWL_STYLE) & WS_BORDER) ? 1 : 0;
    area.left = client.left + area.border + 2;
    area.top = client.top + area.border + 1;
    area.right = std::max(client.right - area.border - 1, area.left + 1);
    area.bottom = client.bottom - area.border;
    return area;
}

// The text as drawn: control characters would be taken as line breaks or be invisible, so they show as '?'.
// Same length as the text, so positions carry over.
std::string visible_text(const std::string& text) {
    std::string shown = text;
    for (char& c : shown) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) c = '?';
    }
    return shown;
}

// Text widths in one device context; the text's own font is the DC's default one.
class Measure {
public:
    Measure(HDC hdc, const std::string& shown) : hdc_(hdc), shown_(shown) {}

    int width(std::size_t count) const {
        if (count == 0) return 0;
        SIZE size{};
        GetTextExtentPoint32A(hdc_, shown_.data(), static_cast<int>(count), &size);
        return size.cx;
    }

    int line_height() const {
        SIZE size{};
        GetTextExtentPoint32A(hdc_, "Ag", 2, &size);
        return std::max<int>(size.cy, 1);
    }

    // The smallest position whose prefix is at least `pixels` wide (the text's length if none is).
    std::size_t first_reaching(int pixels) const {
        std::size_t low = 0;
        std::size_t high = shown_.size();
        while (low < high) {
            std::size_t middle = low + (high - low) / 2;
            if (width(middle) < pixels) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    }

    std::size_t nearest(int pixels) const {
        std::size_t position = first_reaching(pixels);
        if (position > 0 && pixels - width(position - 1) < width(position) - pixels) --position;
        return position;
    }

private:
    HDC hdc_;
    const std::string& shown_;
};

// A device context for measuring outside of painting.
class Measuring_Dc {
public:
    Measuring_Dc() : hdc_(CreateCompatibleDC(nullptr)) {}
    ~Measuring_Dc() { DeleteDC(hdc_); }
    Measuring_Dc(const Measuring_Dc&) = delete;
    Measuring_Dc& operator=(const Measuring_Dc&) = delete;
    HDC get() const { return hdc_; }

private:
    HDC hdc_;
};

void fill(HDC hdc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    RECT rect{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

void draw_text(HDC hdc, int x, int y, const std::string& shown, std::size_t from, std::size_t to,
               COLORREF colour) {
    if (to <= from) return;
    SetTextColor(hdc, colour);
    TextOutA(hdc, x, y, shown.data() + from, static_cast<int>(to - from));
}

}  // namespace

std::size_t edit_position_at(HWND edit, const Edit_State& state, int x) {
    Text_Area area = text_area_of(edit);
    Measuring_Dc dc;
    std::string shown = visible_text(state.text);
    return Measure(dc.get(), shown).nearest(x - area.left + state.scroll);
}

void edit_scroll_to_caret(HWND edit, Edit_State& state) {
    Text_Area area = text_area_of(edit);
    Measuring_Dc dc;
    std::string shown = visible_text(state.text);
    Measure measure(dc.get(), shown);
    int caret = measure.width(state.caret);
    int last_column = area.width() - 1;
    if (caret < state.scroll) {
        state.scroll = caret;
    } else if (caret - state.scroll > last_column) {
        state.scroll = caret - last_column;
    }
    // Once scrolled, keep the text's end at the right edge rather than leaving the field half empty.
    int total = measure.width(shown.size());
    if (state.scroll > 0 && total - state.scroll < last_column)
        state.scroll = std::max(0, total - last_column);
}

void paint_edit(HWND edit, HDC hdc, const Edit_State& state) {
    RECT client{};
    GetClientRect(edit, &client);
    Text_Area area = text_area_of(edit);
    std::string shown = visible_text(state.text);
    Measure measure(hdc, shown);
    int line_height = measure.line_height();
    int origin = area.left - state.scroll;  // x of the text's first character
    bool focused = GetFocus() == edit;

    fill(hdc, client.left, client.top, client.right, client.bottom, GetSysColor(COLOR_WINDOW));
    SetBkMode(hdc, TRANSPARENT);

    // Only the characters that reach into the visible area are drawn; the clipped rest of a long text is not.
    std::size_t first = measure.first_reaching(state.scroll + 1);
    if (first > 0) --first;
    std::size_t last = std::min(measure.first_reaching(state.scroll + area.width()) + 1, shown.size());
    draw_text(hdc, origin + measure.width(first), area.top, shown, first, last,
              GetSysColor(COLOR_WINDOWTEXT));

    if (focused && state.has_selection()) {
        std::size_t from = std::max(state.selection_start(), first);
        std::size_t to = std::min(state.selection_end(), last);
        if (from < to) {
            int left = origin + measure.width(from);
            fill(hdc, left, area.top, origin + measure.width(to), area.top + line_height,
                 GetSysColor(COLOR_HIGHLIGHT));
            draw_text(hdc, left, area.top, shown, from, to, GetSysColor(COLOR_HIGHLIGHTTEXT));
        }
    }

    // The margins hide whatever of the scrolled text reaches past the text area.
    COLORREF window = GetSysColor(COLOR_WINDOW);
    fill(hdc, client.left + area.border, client.top, area.left, client.bottom, window);
    fill(hdc, area.right, client.top, client.right - area.border, client.bottom, window);

    if (area.border) {
        COLORREF black = RGB(0, 0, 0);
        fill(hdc, client.left, client.top, client.right, client.top + 1, black);
        fill(hdc, client.left, client.bottom - 1, client.right, client.bottom, black);
        fill(hdc, client.left, client.top, client.left + 1, client.bottom, black);
        fill(hdc, client.right - 1, client.top, client.right, client.bottom, black);
    }

    if (focused) {
        int x = origin + measure.width(state.caret);
        if (x >= area.left && x < area.right) {
            fill(hdc, x, area.top, x + 1, std::min(area.top + line_height, area.bottom),
                 GetSysColor(COLOR_WINDOWTEXT));
        }
    }
}

}  // namespace platform::user
