// Pixel probes for plot pictures: a memory canvas to render into, and a check that a text was drawn at a box
// as DrawTextA draws it there on the plot's blue text background.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <vector>

#include "platform/win32.h"

constexpr COLORREF Blue_Text_Background = 0x00FF0000;
constexpr COLORREF Cyan_Critical_Line = 0x00FFFF63;
constexpr COLORREF Black = 0x00000000;

// A memory DC with a full-colour bitmap of the given size, filled with `fill`.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }

    HDC dc = nullptr;
    int width;
    int height;

private:
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_bitmap_ = nullptr;
};

using Pixel_Source = std::function<COLORREF(int x, int y)>;

// Success when the pixels of `source` covered by `text`, drawn into `box` with `format`, the blue opaque
// background and `text_colour`, are exactly those DrawTextA makes. `drawn_over` lists pixels that something
// drawn after the text covers.
::testing::AssertionResult shows_text(const Pixel_Source& source, std::string_view text, RECT box,
                                      UINT format = 0, COLORREF text_colour = Black,
                                      const std::vector<POINT>& drawn_over = {});
