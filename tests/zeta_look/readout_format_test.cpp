// The readout's digits: enough to tell neighbouring cells apart, never more than the double holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "zeta/look/readout_format.h"

namespace {

// Decimal places of a plain fixed text; digits after the point.
int decimals(const std::string& text) {
    const std::size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

}  // namespace

TEST(FormatCoordinate, NeighbouringCellsReadDifferentlyWithinTheDoublesDigits) {
    for (double value : {14.134725141734693, 0.5, -3.25, 100000000.123456789, 1e12 + 0.3, 9.5e15, 2.5e-5}) {
        for (double step : {0.1, 1e-3, 1e-4, 1e-7, 1e-9, 1e-12}) {
            const std::string text = format_coordinate(value, step);
            SCOPED_TRACE(text + " for " + std::to_string(value) + " step " + std::to_string(step));
            const double next = value + step;
            if (next != value) {
                EXPECT_NE(format_coordinate(next, step), text);
            }
            const double read = std::strtod(text.c_str(), nullptr);
            // Ten significant digits at least, or as far as the double goes.
            const double ulp = std::nextafter(std::fabs(value), 1e300) - std::fabs(value);
            EXPECT_LE(std::fabs(read - value), std::max(5e-10 * std::fabs(value), ulp));
            EXPECT_LE(std::fabs(read - value), std::max(step / 2, ulp));
            if (text.find('e') == std::string::npos) {
                EXPECT_LE(decimals(text), -std::floor(std::log10(ulp)));
            } else {
                const std::size_t digits = text.find('e') - (text.find('.') == std::string::npos ? 1 : 2);
                EXPECT_LE(digits, 17u);
            }
        }
    }
}

// Cells i · step + start as the plot computes them, at heights and steps chosen at random.
TEST(FormatCoordinate, NeighbouringCellsOfRandomPlotsReadDifferently) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> height(-3, 13), step_size(-12, 3);
    for (int k = 0; k < 20000; ++k) {
        const double start = std::pow(10.0, height(random)), step = std::pow(10.0, step_size(random));
        const double cell = 7 * step + start, next = 8 * step + start;
        if (cell == next) continue;
        EXPECT_NE(format_coordinate(cell, step), format_coordinate(next, step)) << cell << " " << step;
    }
}

TEST(FormatCoordinate, ReadsLikeTheNumbersPeopleWrite) {
    EXPECT_EQ(format_coordinate(14.134725141734693, 1e-3), "14.13472514");
    EXPECT_EQ(format_coordinate(14.134725141734693, 1e-12), "14.1347251417347");
    EXPECT_EQ(format_coordinate(0.5, 0.01), "0.5");
    EXPECT_EQ(format_coordinate(1e12 + 1e-4, 1e-12), "1000000000000.0001");
    EXPECT_EQ(format_coordinate(1e8, 1e-12), "100000000");
    EXPECT_EQ(format_coordinate(1e-17, 0.1), "1e-17");
    EXPECT_EQ(format_coordinate(3 * 0.1 - 0.3, 0.1), "5.551115123e-17");  // a cell meant to be at 0
    EXPECT_EQ(format_coordinate(-0.0, 0.1), "0");
    EXPECT_EQ(format_coordinate(std::numeric_limits<double>::quiet_NaN(), 0.1), "nan");
    EXPECT_EQ(format_coordinate(2.0 / 3.0, std::numeric_limits<double>::quiet_NaN()), "0.6666666667");
}

TEST(ReadoutLine, ValuesInGStyleAndTheSignsWrittenOut) {
    EXPECT_EQ(format_value(3.2e-9), "3.2e-09");
    EXPECT_EQ(format_value(0.027463172), "0.027463172");
    EXPECT_EQ(format_value(-1234567.891234), "-1234567.891");
    EXPECT_EQ(readout_line({0.5, 14.134725141734693}, {3.2e-9, -1.1e-8}, 0.01, 1e-3),
              "s = 0.5 + 14.13472514i   \u03b6(s) = 3.2e-09 - 1.1e-08i   |\u03b6(s)| = 1.145600279e-08");
    EXPECT_EQ(readout_line({-2, -3.5}, 0.01, 0.01), "s = -2 - 3.5i");
    EXPECT_EQ(readout_line({1, 0}, {std::nan(""), std::nan("")}, 0.01, 0.01),
              "s = 1 + 0i   \u03b6(s) = nan + nani   |\u03b6(s)| = nan");
}

TEST(ReadoutLine, SeriesSuffixOnlyWhereTheSeriesIsVisiblyOff) {
    EXPECT_EQ(series_error_suffix({1.021, 0}, {1, 0}), "   series off by 2.1e-02");
    EXPECT_EQ(series_error_suffix({1, 5e-7}, {1, 0}), "");
    EXPECT_EQ(series_error_suffix({100, 5e-5}, {100, 0}), "");  // within 10⁻⁶ |ζ|
    EXPECT_EQ(series_error_suffix({100, 2e-4}, {100, 0}), "   series off by 2.0e-04");
    EXPECT_EQ(series_error_suffix({std::nan(""), 0}, {std::nan(""), 0}), "");
}
