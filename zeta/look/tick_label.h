// Axis tick labels that fit their box and still tell the ticks apart.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// The label of the tick at `value`, ticks being `tick_spacing` apart, for a box `box_width` pixels wide;
// text_width measures a text in pixels.
//
// The "%f" text (six decimals) whenever it fits and its decimals are fine enough for the spacing, so the
// start-up plot's labels stay as they are. Otherwise the first of these that fits, each precise to a tenth
// of the spacing (so within half the spacing of the value, and neighbours differ), with no digit below the
// double's ulp and no trailing zeros after the point:
//   fewer decimals    "11.2"
//   a round base and the offset from it, the base as round as fits   "1e8+5.5", "-1.000001e8-49.5"
//   scientific        "1.0000000055e8"
// When none fits, the narrowest of them. NaN and infinite values, and a spacing that is not a positive
// number (the labels then keep six decimals at most), give sensible texts too.
std::string tick_label(double value, double tick_spacing, int box_width,
                       const std::function<int(std::string_view)>& text_width);
