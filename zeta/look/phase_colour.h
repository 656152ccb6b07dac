// Colours of an enhanced phase portrait of ζ: the hue shows arg ζ on a cyclic OKLCH wheel, the lightness
// steps with ⌊log₂|ζ|⌋ so that the contour lines |ζ| = 2^k show. Colours are COLORREF values 0x00BBGGRR.
//
// Hue: OKLCH hue = 29.23° + arg ζ, so arg 0 (ζ real and positive) takes the OKLab hue of sRGB's pure red, and
// the colours run red → yellow → green → cyan → blue → magenta as arg ζ grows, counter-clockwise around a
// zero and clockwise around a pole.
// Lightness: in the band 2^k ≤ |ζ| < 2^(k+1) the OKLab lightness rises linearly with the fractional part of
// log₂|ζ| by 0.30 and falls back at the next power of 2: from 0.45 to 0.75 where |ζ| ≥ 1 and from 0.55 to
// 0.85 where |ζ| < 1. So the line |ζ| = 1 is where the palest cells meet the darkest (a step of 0.40, the
// other contours 0.30).
// Chroma: the same all around the wheel at a given lightness, the largest that keeps every hue inside sRGB
// with a little to spare (see phase_chroma), so no channel is ever clipped.
// NaN, 0 and ∞: NaN in either part (the pole) is black; ζ = 0 and an infinite modulus, where the phase
// portrait has no band, are the neutral grey of lightness 0.65 (0x008F8F8F).
#pragma once

#include <cstdint>
#include <numbers>

// A colour in OKLCH: OKLab lightness, chroma and hue angle (radians, counter-clockwise from +a).
struct Oklch {
    double lightness = 0.0;
    double chroma = 0.0;
    double hue = 0.0;
};

// The OKLCH hue of arg ζ = 0: 29.23°, the OKLab hue of sRGB red (#FF0000).
inline constexpr double phase_hue_at_zero_arg = 29.23 * std::numbers::pi / 180.0;
inline constexpr double phase_darkest = 0.45;
inline constexpr double phase_palest = 0.85;
inline constexpr double phase_band_rise = 0.30;
inline constexpr double phase_legend_lightness = 0.65;

// arg(re + i im) in (−π, π]: atan2, with −π (from a negative zero imaginary part) taken as π.
double phase_arg(double re, double im);

// OKLab lightness of a cell whose |ζ| = 2^log2_modulus (finite log2_modulus).
double phase_lightness(double log2_modulus);

// The wheel's chroma at OKLab lightness 0.45 ... 0.85: min(0.165 L, 0.098 − 0.55 (L − 0.8)), just inside
// the sRGB boundary of the cyan hues (which bounds the chroma up to L ≈ 0.75) and of the blue ones (above).
double phase_chroma(double lightness);

// The portrait's OKLCH colour of ζ = re + i im, before conversion to sRGB.
Oklch phase_oklch(double re, double im);

// OKLCH to 8-bit sRGB (sRGB transfer function, nearest code) as 0x00BBGGRR. Linear values outside [0, 1]
// are clamped.
uint32_t oklch_colour(const Oklch& colour);

uint32_t phase_colour(double re, double im);

// The legend's colour for arg ∈ [−π, π]: the wheel's hue at the fixed lightness 0.65.
uint32_t phase_legend_colour(double arg);
