#include "zeta/look/phase_colour.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double unbanded_lightness = 0.65;  // ζ = 0 or |ζ| = ∞: no band to step

// Linear sRGB levels at which the 8-bit code goes up: level[i] decodes (i + 0.5) / 255, so the number of
// levels at or below a linear value is its nearest 8-bit code. Searching them replaces a pow per channel.
const std::array<double, 255>& code_thresholds() {
    static const std::array<double, 255> thresholds = [] {
        std::array<double, 255> levels{};
        for (int i = 0; i < 255; ++i) {
            const double encoded = (i + 0.5) / 255.0;
            levels[i] = encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
        }
        return levels;
    }();
    return thresholds;
}

uint32_t srgb_code(double linear) {
    const auto& levels = code_thresholds();
    return static_cast<uint32_t>(std::upper_bound(levels.begin(), levels.end(), linear) - levels.begin());
}

// log₂ √(re² + im²), also where the modulus itself would overflow; −∞ for 0, +∞ for an infinite part.
double log2_modulus(double re, double im) {
    const double modulus = std::hypot(re, im);
    if (std::isinf(modulus) && std::isfinite(re) && std::isfinite(im))
        return std::log2(std::hypot(re / 4.0, im / 4.0)) + 2.0;
    return std::log2(modulus);
}

}  // namespace

double phase_arg(double re, double im) {
    const double arg = std::atan2(im, re);
    return arg == -pi ? pi : arg;
}

double phase_lightness(double log2_modulus) {
    const double band = std::floor(log2_modulus);
    const double rise = phase_band_rise * (log2_modulus - band);
    return (band < 0.0 ? phase_palest - phase_band_rise : phase_darkest) + rise;
}

double phase_chroma(double lightness) {
    return std::min(0.165 * lightness, 0.098 - 0.55 * (lightness - 0.8));
}

Oklch phase_oklch(double re, double im) {
    if (std::isnan(re) || std::isnan(im)) return Oklch{};
    const double hue = phase_hue_at_zero_arg + phase_arg(re, im);
    const double log2_size = log2_modulus(re, im);
    if (std::isinf(log2_size)) return Oklch{unbanded_lightness, 0.0, hue};
    const double lightness = phase_lightness(log2_size);
    return Oklch{lightness, phase_chroma(lightness), hue};
}

uint32_t oklch_colour(const Oklch& colour) {
    // OKLab to linear sRGB (Björn Ottosson's matrices).
    const double a = colour.chroma * std::cos(colour.hue);
    const double b = colour.chroma * std::sin(colour.hue);
    const double l_root = colour.lightness + 0.3963377774 * a + 0.2158037573 * b;
    const double m_root = colour.lightness - 0.1055613458 * a - 0.0638541728 * b;
    const double s_root = colour.lightness - 0.0894841775 * a - 1.2914855480 * b;
    const double l = l_root * l_root * l_root;
    const double m = m_root * m_root * m_root;
    const double s = s_root * s_root * s_root;
    const double red = 4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s;
    const double green = -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s;
    const double blue = -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s;
    return srgb_code(red) | srgb_code(green) << 8 | srgb_code(blue) << 16;
}

uint32_t phase_colour(double re, double im) {
    return oklch_colour(phase_oklch(re, im));
}

uint32_t phase_legend_colour(double arg) {
    return oklch_colour(
        Oklch{phase_legend_lightness, phase_chroma(phase_legend_lightness), phase_hue_at_zero_arg + arg});
}
