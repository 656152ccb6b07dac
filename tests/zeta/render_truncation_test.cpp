#include "zeta/viewer/truncation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TruncateTowardZero, CutsTheFractionTowardZero) {
    EXPECT_EQ(truncate_toward_zero(3.99), 3);
    EXPECT_EQ(truncate_toward_zero(-3.99), -3);
    EXPECT_EQ(truncate_toward_zero(-0.5), 0);
    EXPECT_EQ(truncate_toward_zero(2147483647.9), 2147483647);
    EXPECT_EQ(truncate_toward_zero(-2147483648.9), -2147483647 - 1);
}

TEST(TruncateTowardZero, GivesZeroWhereNoIntegerResultExists) {
    EXPECT_EQ(truncate_toward_zero(std::nan("")), 0);
    EXPECT_EQ(truncate_toward_zero(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(truncate_toward_zero(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(truncate_toward_zero(2147483648.0), 0);
    EXPECT_EQ(truncate_toward_zero(-2147483649.0), 0);
    EXPECT_EQ(truncate_toward_zero(1e300), 0);
}

TEST(ColourChannel, KeepsTheLowEightBitsOfTheTwosComplementValue) {
    EXPECT_EQ(colour_channel(255.9), 255u);
    EXPECT_EQ(colour_channel(300.0), 44u);
    EXPECT_EQ(colour_channel(-45.0), 211u);
    EXPECT_EQ(colour_channel(-1.0), 255u);
    EXPECT_EQ(colour_channel(256.0), 0u);
    EXPECT_EQ(colour_channel(std::nan("")), 0u);
    EXPECT_EQ(colour_channel(-1e10), 0u);
}
