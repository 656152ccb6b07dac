#include "zeta/look/phase_colour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double unbanded_lightness = 0.65;  // ζ = 0 or |ζ| = ∞: no band to step

// The nearest 8-bit sRGB code of a linear value without a pow: levels[i] is the linear value of code
// i + 0.5, where the code goes up, and first_codes[k] the code at k / bins. Neighbouring levels lie further
// apart than 1 / bins (the closest, at the dark end, 1 / (255 · 12.92)), so a bin holds at most one of them.
class Srgb_Encoder {
public:
    Srgb_Encoder() {
        for (int i = 0; i < 255; ++i) {
            const double encoded = (i + 0.5) / 255.0;
            levels_[i] = encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
        }
        for (int k = 0; k <= bins; ++k) {
            const double start = static_cast<double>(k) / bins;
            first_codes_[k] = static_cast<uint8_t>(std::upper_bound(levels_.begin(), levels_.end(), start) -
                                                   levels_.begin());
        }
    }

    uint32_t code(double linear) const {
        if (!(linear > 0.0)) return 0;
        if (linear >= 1.0) return 255;
        const uint32_t code = first_codes_[static_cast<int>(linear * bins)];
        return code < 255 && linear >= levels_[code] ? code + 1 : code;
    }

private:
    static constexpr int bins = 4096;
    std::array<double, 255> levels_{};
    std::array<uint8_t, bins + 1> first_codes_{};
};

// Built on first use, so that colours are right even from another file's static initialisation.
const Srgb_Encoder& srgb() {
    static const Srgb_Encoder encoder;
    return encoder;
}

// A finite ζ ≠ 0 as log₂|ζ| and the direction ζ / |ζ|. ζ is first scaled by a power of 2 where its squared
// modulus would overflow or lose digits.
struct Polar {
    double log2_modulus;
    double cos_arg;
    double sin_arg;
};

Polar polar(double re, double im) {
    double size = re * re + im * im;
    int exponent = 0;
    if (!(size >= std::numeric_limits<double>::min() && size <= std::numeric_limits<double>::max())) {
        exponent = std::ilogb(std::max(std::fabs(re), std::fabs(im)));
        re = std::scalbn(re, -exponent);
        im = std::scalbn(im, -exponent);
        size = re * re + im * im;
    }
    const double modulus = std::sqrt(size);
    return {0.5 * std::log2(size) + exponent, re / modulus, im / modulus};
}

bool banded(double re, double im) {
    return std::isfinite(re) && std::isfinite(im) && (re != 0.0 || im != 0.0);
}

struct Lab {
    double lightness;
    double a;
    double b;
};

// OKLab to linear sRGB (Björn Ottosson's matrices), then to 8-bit sRGB.
uint32_t lab_colour(const Lab& lab) {
    const double l_root = lab.lightness + 0.3963377774 * lab.a + 0.2158037573 * lab.b;
    const double m_root = lab.lightness - 0.1055613458 * lab.a - 0.0638541728 * lab.b;
    const double s_root = lab.lightness - 0.0894841775 * lab.a - 1.2914855480 * lab.b;
    const double l = l_root * l_root * l_root;
    const double m = m_root * m_root * m_root;
    const double s = s_root * s_root * s_root;
    const double red = 4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s;
    const double green = -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s;
    const double blue = -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s;
    const Srgb_Encoder& encoder = srgb();
    return encoder.code(red) | encoder.code(green) << 8 | encoder.code(blue) << 16;
}

// cos and sin of phase_hue_at_zero_arg (29.23°).
constexpr double zero_arg_cos = 0.8726665149030235;
constexpr double zero_arg_sin = 0.48831665317395334;

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
    if (!banded(re, im)) return Oklch{unbanded_lightness, 0.0, hue};
    const double lightness = phase_lightness(polar(re, im).log2_modulus);
    return Oklch{lightness, phase_chroma(lightness), hue};
}

uint32_t oklch_colour(const Oklch& colour) {
    return lab_colour(
        Lab{colour.lightness, colour.chroma * std::cos(colour.hue), colour.chroma * std::sin(colour.hue)});
}

// As oklch_colour(phase_oklch(re, im)), with the hue turned from ζ's direction instead of through its angle.
uint32_t phase_colour(double re, double im) {
    if (std::isnan(re) || std::isnan(im)) return 0;
    if (!banded(re, im)) return lab_colour(Lab{unbanded_lightness, 0.0, 0.0});
    const Polar z = polar(re, im);
    const double lightness = phase_lightness(z.log2_modulus);
    const double chroma = phase_chroma(lightness);
    return lab_colour(Lab{lightness, chroma * (zero_arg_cos * z.cos_arg - zero_arg_sin * z.sin_arg),
                          chroma * (zero_arg_sin * z.cos_arg + zero_arg_cos * z.sin_arg)});
}

uint32_t phase_legend_colour(double arg) {
    return oklch_colour(
        Oklch{phase_legend_lightness, phase_chroma(phase_legend_lightness), phase_hue_at_zero_arg + arg});
}
