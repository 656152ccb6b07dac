// Helpers for the GDI tests: a memory DC with a bitmap, whole-image reads and comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32.h"
#ifdef _WIN32
namespace platform::gdi {
// The process's GDI objects as Windows counts them.
inline int live_object_count() {
    return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}
}  // namespace platform::gdi
#else
#include "platform/gdi/surface.h"
#endif

namespace gdi_test {

// A colour bitmap compatible with the screen (a new memory DC would give a monochrome one).
inline HBITMAP colour_bitmap(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A memory DC with a width x height colour bitmap selected, filled with `fill`; all released at the end.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = colour_bitmap(width, height);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Every pixel through GetPixel, rows top to bottom.
    std::vector<COLORREF> read() const {
        std::vector<COLORREF> out;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                out.push_back(GetPixel(dc_, x, y));
        return out;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// An expected image built by hand: width x height COLORREFs.
struct Image {
    Image(int w, int h, COLORREF fill) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    void set(int x, int y, COLORREF c) {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<std::size_t>(y) * width + x] = c;
    }
    void fill(int left, int top, int right, int bottom, COLORREF c) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                set(x, y, c);
    }
    int width;
    int height;
    std::vector<COLORREF> pixels;
};

inline std::uint64_t fnv1a(const std::vector<COLORREF>& pixels) {
    std::uint64_t hash = 14695981039346656037ull;
    for (COLORREF p : pixels) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (p >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

// Compares whole images by hash; on a difference names the first differing pixel.
inline ::testing::AssertionResult same_image(const std::vector<COLORREF>& actual, const Image& expected) {
    if (actual.size() != expected.pixels.size()) return ::testing::AssertionFailure() << "image sizes differ";
    if (fnv1a(actual) == fnv1a(expected.pixels) && actual == expected.pixels)
        return ::testing::AssertionSuccess();
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected.pixels[i]) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "hash %016llx, expected %016llx; first difference at (%d, %d): %06X, expected %06X",
                          static_cast<unsigned long long>(fnv1a(actual)),
                          static_cast<unsigned long long>(fnv1a(expected.pixels)), int(i % expected.width),
                          int(i / expected.width), unsigned(actual[i]), unsigned(expected.pixels[i]));
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionFailure() << "hash collision";
}

}  // namespace gdi_test
