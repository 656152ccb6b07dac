// Tick labels against the viewer's boxes (69 px on the real axis, 70 px on the imaginary one).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "zeta/look/tick_label.h"

namespace {

// The advances of the window layer's font: digits 8 px, '.' and '-' 4, '+' 10, 'e' 7.
int platform_font(std::string_view text) {
    int width = 0;
    for (char c : text)
        width += c == '.' || c == '-' ? 4 : c == '+' ? 10 : c == 'e' ? 7 : 8;
    return width;
}

// A larger font, in which "11.200000" no longer fits 69 px.
int wide_font(std::string_view text) {
    int width = 0;
    for (char c : text)
        width += c == '.' ? 3 : 9;
    return width;
}

// The value a label stands for: a number, or a base with the offset from it ("1e8+5.5").
double evaluate(const std::string& label) {
    char* rest = nullptr;
    const double base = std::strtod(label.c_str(), &rest);
    return *rest == '\0' ? base : base + std::strtod(rest, nullptr);
}

// Labels of 25 ticks (a 768-pixel plot's imaginary axis) first, first + spacing, ...: each fits, stands for
// its value within half the spacing and differs from the one before.
void expect_fitting_labels(double first, double spacing, int box, int (*width)(std::string_view)) {
    std::string previous;
    for (int k = 0; k < 25; ++k) {
        const double value = first + k * spacing;
        const std::string label = tick_label(value, spacing, box, width);
        SCOPED_TRACE(label);
        EXPECT_LE(width(label), box);
        EXPECT_LE(std::fabs(evaluate(label) - value), spacing / 2);
        EXPECT_NE(label, previous);
        previous = label;
    }
}

}  // namespace

TEST(TickLabel, StartUpLabelsStayAsTheyAre) {
    EXPECT_EQ(tick_label(-5.0, 2.1, 69, platform_font), "-5.000000");
    EXPECT_EQ(tick_label(0.7, 2.1, 69, platform_font), "0.700000");
    EXPECT_EQ(tick_label(14.1, 0.3, 70, platform_font), "14.100000");
}

TEST(TickLabel, FewerDecimalsWhereTheyTellTicksApart) {
    EXPECT_EQ(tick_label(11.2, 1.4, 69, wide_font), "11.2");
    EXPECT_EQ(tick_label(12.6, 1.4, 69, wide_font), "12.6");
    EXPECT_EQ(tick_label(14.0, 1.4, 69, wide_font), "14");
    expect_fitting_labels(11.2, 1.4, 69, wide_font);
    // %f fits but cannot tell ticks 10⁻⁸ apart.
    EXPECT_EQ(tick_label(14.13472514, 1e-8, 100, platform_font), "14.13472514");
}

TEST(TickLabel, HighUpARoundBaseAndTheOffset) {
    EXPECT_EQ(tick_label(100000005.5, 3.0, 70, platform_font), "1e8+5.5");
    EXPECT_EQ(tick_label(-100000005.5, 3.0, 70, platform_font), "-1e8-5.5");
    EXPECT_EQ(tick_label(99999998.5, 3.0, 70, platform_font), "1e8-1.5");
    expect_fitting_labels(100000005.5, 3.0, 70, platform_font);
    expect_fitting_labels(-100000005.5, 3.0, 70, platform_font);
    expect_fitting_labels(1e12 + 0.25, 0.3, 70, platform_font);
    expect_fitting_labels(1e12 + 0.25, 30.0, 70, platform_font);
}

// Spacings from about the double's ulp at the value to a thousandth of it, where the digits run short.
TEST(TickLabel, RandomAxesTellTicksApartAndStayTrue) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> height(-3, 13), relative_spacing(-16.5, -3);
    for (int k = 0; k < 5000; ++k) {
        const double value = std::pow(10.0, height(random)) * (k % 2 ? -1 : 1);
        const double spacing = std::fabs(value) * std::pow(10.0, relative_spacing(random)),
                     next = value + spacing;
        const std::string label = tick_label(value, spacing, 70, platform_font);
        const double ulp = std::nextafter(std::fabs(value), 1e300) - std::fabs(value);
        EXPECT_LE(std::fabs(evaluate(label) - value), std::max(spacing / 2, ulp)) << label << " " << spacing;
        if (next != value) {
            EXPECT_NE(label, tick_label(next, spacing, 70, platform_font)) << label;
        }
    }
}

TEST(TickLabel, BestEffortWhenNothingFits) {
    // Ticks 10⁻⁶ apart at 10⁸ need fifteen digits: the narrowest text, still true to its tick.
    for (int k = 0; k < 10; ++k) {
        const double value = 100000005.5 + k * 1e-6;
        const std::string label = tick_label(value, 1e-6, 70, platform_font);
        EXPECT_NE(label, tick_label(value + 1e-6, 1e-6, 70, platform_font));
        EXPECT_LE(std::fabs(evaluate(label) - value), 0.5e-6) << label;
        EXPECT_LE(platform_font(label), platform_font("100000005.500001")) << label;
    }
    EXPECT_EQ(tick_label(123456789.5, 3.0, 10, platform_font), "123456789.5");
}

TEST(TickLabel, SpacingOfZeroOrNaNAndOddValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(tick_label(100000005.5, 0.0, 70, platform_font), "1e8+5.5");
    EXPECT_EQ(tick_label(100000005.5, nan, 70, platform_font), "1e8+5.5");
    EXPECT_EQ(tick_label(2.5, nan, 70, platform_font), "2.500000");
    EXPECT_EQ(tick_label(1e20, -1.0, 70, platform_font), "1e20");
    EXPECT_EQ(tick_label(0.3 - 3 * 0.1, 0.1, 10, platform_font), "0");  // a tick meant to be at 0
    // Ticks closer than the double's ulp (1.2e-4 at 10¹²) get no digits it does not hold.
    EXPECT_EQ(tick_label(1e12 + 0.3, 1e-9, 200, platform_font), "1000000000000.3");
    EXPECT_EQ(tick_label(nan, 1.0, 70, platform_font), "nan");
    EXPECT_EQ(tick_label(-std::numeric_limits<double>::infinity(), 1.0, 70, platform_font), "-inf");
}
