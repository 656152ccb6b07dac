#include "tests/zeta/render_probe.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Not a colour that text on blue can produce, so it marks what the text left untouched.
constexpr COLORREF untouched = 0x00010203;

}  // namespace

Canvas::Canvas(int canvas_width, int canvas_height, COLORREF fill)
    : width(canvas_width), height(canvas_height) {
    dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);  // colour, as the screen's bitmaps are; a new memory DC's are monochrome
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    previous_bitmap_ = SelectObject(dc, bitmap_);
    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas() {
    SelectObject(dc, previous_bitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc);
}

::testing::AssertionResult shows_text(const Pixel_Source& source, std::string_view text, RECT box,
                                      UINT format, COLORREF text_colour,
                                      const std::vector<POINT>& drawn_over) {
    const int box_width = box.right - box.left;
    const int box_height = box.bottom - box.top;
    Canvas reference(box_width, box_height, untouched);
    SetBkColor(reference.dc, Blue_Text_Background);
    SetTextColor(reference.dc, text_colour);
    RECT local{0, 0, box_width, box_height};
    DrawTextA(reference.dc, text.data(), static_cast<int>(text.size()), &local, format);

    int drawn = 0;
    for (int y = 0; y < box_height; ++y) {
        for (int x = 0; x < box_width; ++x) {
            const COLORREF expected = reference.at(x, y);
            if (expected == untouched) continue;
            ++drawn;
            const auto here = [&](POINT p) { return p.x == box.left + x && p.y == box.top + y; };
            if (std::any_of(drawn_over.begin(), drawn_over.end(), here)) continue;
            const COLORREF actual = source(box.left + x, box.top + y);
            if (actual != expected) {
                char message[160];
                std::snprintf(message, sizeof message, "pixel (%d, %d) is 0x%08X, the text gives 0x%08X",
                              static_cast<int>(box.left + x), static_cast<int>(box.top + y), actual,
                              expected);
                return ::testing::AssertionFailure() << "\"" << std::string(text) << "\": " << message;
            }
        }
    }
    if (drawn == 0) return ::testing::AssertionFailure() << "\"" << std::string(text) << "\" draws nothing";
    return ::testing::AssertionSuccess();
}
