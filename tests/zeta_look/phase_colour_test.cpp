// The phase portrait's colours, read back into OKLab with the test's own conversions.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <numbers>

#include "zeta/look/phase_colour.h"

namespace {

constexpr double pi = std::numbers::pi;
constexpr double lightness_rounding = 0.004;  // what 8-bit channels may move OKLab lightness by

struct Lab {
    double lightness, a, b;
    double hue() const { return std::atan2(b, a); }
};

std::array<double, 3> linear_srgb(double lightness, double chroma, double hue) {
    const double a = chroma * std::cos(hue), b = chroma * std::sin(hue);
    const double l = std::pow(lightness + 0.3963377774 * a + 0.2158037573 * b, 3);
    const double m = std::pow(lightness - 0.1055613458 * a - 0.0638541728 * b, 3);
    const double s = std::pow(lightness - 0.0894841775 * a - 1.2914855480 * b, 3);
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

int channel(uint32_t colour, int index) {
    return static_cast<int>(colour >> (8 * index) & 0xFF);
}

int encode(double linear) {
    const double v = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(255.0 * v));
}

Lab oklab(uint32_t colour) {
    std::array<double, 3> rgb;
    for (int i = 0; i < 3; ++i) {
        const double v = channel(colour, i) / 255.0;
        rgb[i] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    }
    const double l = std::cbrt(0.4122214708 * rgb[0] + 0.5363329049 * rgb[1] + 0.0514459929 * rgb[2]);
    const double m = std::cbrt(0.2119034982 * rgb[0] + 0.6806995451 * rgb[1] + 0.1073969566 * rgb[2]);
    const double s = std::cbrt(0.0883024619 * rgb[0] + 0.2817188376 * rgb[1] + 0.6299787005 * rgb[2]);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

double wrapped(double angle) {
    return std::remainder(angle, 2 * pi);
}

uint32_t colour_of(std::complex<double> z) {
    return phase_colour(z.real(), z.imag());
}

// Sum of the hue changes of f's colours once round a circle about z0, counter-clockwise, each change in the
// given direction. |f| is the same all round, so the lightness and chroma must be too.
double hue_turn(const std::function<std::complex<double>(std::complex<double>)>& f, std::complex<double> z0,
                double radius, int direction) {
    const Lab start = oklab(colour_of(f(z0 + radius)));
    double turn = 0.0, previous = start.hue();
    for (int k = 1; k <= 90; ++k) {
        const Lab lab = oklab(colour_of(f(z0 + std::polar(radius, 2 * pi * k / 90))));
        EXPECT_NEAR(lab.lightness, start.lightness, lightness_rounding) << k;
        EXPECT_NEAR(std::hypot(lab.a, lab.b), std::hypot(start.a, start.b), 0.004) << k;
        const double step = wrapped(lab.hue() - previous);
        EXPECT_GT(direction * step, 0.02) << "at step " << k;
        turn += step;
        previous = lab.hue();
    }
    return turn;
}

}  // namespace

TEST(PhaseColour, KnownPhasesMatchTheOklabWheel) {
    // |ζ| = 1 starts a band at the darkest lightness; arg 0 sits at the hue of sRGB red.
    const double lightness = 0.45, chroma = 0.165 * 0.45, red = 29.23 * pi / 180;
    const std::array<std::array<double, 3>, 5> cases{
        {{1, 0, 0}, {-1, 0, pi}, {-1, -0.0, pi}, {0, 1, pi / 2}, {0, -1, -pi / 2}}};
    for (const auto& [re, im, arg] : cases) {
        const uint32_t colour = phase_colour(re, im);
        const auto expected = linear_srgb(lightness, chroma, red + arg);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(channel(colour, i), encode(expected[i]), 1) << re << ", " << im;
        EXPECT_EQ(colour >> 24, 0u);
    }
    EXPECT_EQ(phase_arg(-1, -0.0), pi);
    EXPECT_EQ(phase_oklch(-1, -0.0).hue, phase_oklch(-1, 0.0).hue);
    const uint32_t positive = phase_colour(1, 0);
    EXPECT_GT(channel(positive, 0), channel(positive, 1));
    EXPECT_GT(channel(positive, 0), channel(positive, 2));
}

TEST(PhaseColour, HueRunsOnceRoundTheWheelAtEqualLightness) {
    EXPECT_NEAR(hue_turn([](std::complex<double> z) { return z; }, 0.0, 3.0, 1), 2 * pi, 1e-9);
}

TEST(PhaseColour, LightnessStepsAtPowersOfTwoAndRisesWithinBands) {
    for (int k = -3; k <= 3; ++k) {
        const double below = oklab(phase_colour(std::ldexp(1 - 1e-12, k), 0)).lightness;
        const double at = oklab(phase_colour(std::ldexp(1.0, k), 0)).lightness;
        EXPECT_NEAR(below - at, k == 0 ? 0.40 : 0.30, 2 * lightness_rounding) << k;
        double previous = at;
        for (int j = 1; j < 32; ++j) {
            const double lightness = oklab(phase_colour(std::exp2(k + j / 32.0), 0)).lightness;
            EXPECT_NEAR(lightness - previous, 0.30 / 32, 2 * lightness_rounding) << k << " " << j;
            previous = lightness;
        }
    }
}

TEST(PhaseColour, EveryColourStaysInsideSrgbAndTheLightnessBoundsAndMatchesItsOklch) {
    for (int i = 0; i <= 800; ++i) {
        for (int j = 0; j < 720; ++j) {
            const std::complex<double> z = std::polar(std::exp2(-20 + i * 0.05), 2 * pi * j / 720);
            const Oklch colour = phase_oklch(z.real(), z.imag());
            ASSERT_GE(colour.lightness, 0.45);
            ASSERT_LE(colour.lightness, 0.85);
            for (double v : linear_srgb(colour.lightness, colour.chroma, colour.hue)) {
                ASSERT_GE(v, 0.0) << z;
                ASSERT_LE(v, 1.0) << z;
            }
            const uint32_t pixel = colour_of(z), converted = oklch_colour(colour);
            for (int c = 0; c < 3; ++c)
                ASSERT_NEAR(channel(pixel, c), channel(converted, c), 1) << z;
            const double lightness = oklab(pixel).lightness;
            ASSERT_GE(lightness, 0.45 - lightness_rounding);
            ASSERT_LE(lightness, 0.85 + lightness_rounding);
        }
    }
}

TEST(PhaseColour, GreysTakeTheNearestSrgbCode) {
    for (int k = 0; k <= 20000; ++k) {
        const double lightness = k / 20000.0;
        const int expected = encode(std::pow(lightness, 3));
        EXPECT_EQ(oklch_colour(Oklch{lightness, 0, 0}), static_cast<uint32_t>(expected * 0x010101))
            << lightness;
    }
}

TEST(PhaseColour, NaNZeroAndInfinity) {
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(phase_colour(nan, nan), 0u);
    EXPECT_EQ(phase_colour(nan, 1), 0u);
    EXPECT_EQ(phase_colour(1, nan), 0u);
    const int grey = encode(std::pow(0.65, 3));
    const uint32_t neutral = grey | grey << 8 | grey << 16;
    EXPECT_EQ(phase_colour(0, 0), neutral);
    EXPECT_EQ(phase_colour(-0.0, -0.0), neutral);
    EXPECT_EQ(phase_colour(inf, 1), neutral);
    EXPECT_EQ(phase_colour(-inf, -inf), neutral);
    // A modulus beyond the doubles still has a band: |ζ| ≈ 2^1024.5 lies half way up one.
    const double largest = std::numeric_limits<double>::max();
    EXPECT_NEAR(oklab(phase_colour(largest, -largest)).lightness, 0.60, lightness_rounding);
    EXPECT_NEAR(oklab(phase_colour(5e-324, 0)).lightness, 0.55, lightness_rounding);
}

TEST(PhaseColour, HuesTurnCounterClockwiseRoundAZeroAndClockwiseRoundAPole) {
    const std::complex<double> z0(0.5, 14.134725);
    EXPECT_NEAR(hue_turn([&](std::complex<double> z) { return z - z0; }, z0, 1e-3, 1), 2 * pi, 1e-9);
    EXPECT_NEAR(hue_turn([&](std::complex<double> z) { return 1.0 / (z - z0); }, z0, 1e-3, -1), -2 * pi,
                1e-9);
}

TEST(PhaseColour, LegendRunsFromMinusPiToPiAtOneLightness) {
    EXPECT_EQ(phase_legend_colour(-pi), phase_legend_colour(pi));
    for (int k = 0; k <= 64; ++k) {
        const double arg = -pi + 2 * pi * k / 64;
        const uint32_t colour = phase_legend_colour(arg);
        const auto expected = linear_srgb(0.65, 0.165 * 0.65, 29.23 * pi / 180 + arg);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(channel(colour, i), encode(expected[i]), 1) << arg;
    }
}
