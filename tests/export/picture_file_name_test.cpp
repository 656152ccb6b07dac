// Picture names from the plot settings: the start-up plot's name, rounding to the plot's resolution, and only
// characters every file system takes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "zeta/export/picture_file_name.h"

namespace {

Picture_Name_Values start_up() {
    return {"recip", 0, -5, 0.02, 0.1, 100};
}

TEST(PictureFileName, NamesQuantityCornerScalesAndMethod) {
    EXPECT_EQ(picture_file_name(start_up()), "zeta-recip-re0-im-5-scale0.02x0.1-n100.png");
    EXPECT_EQ(picture_file_name({"abs", 0.5, 1000, 0.02, 0.1, std::nullopt}),
              "zeta-abs-re0.5-im1000-scale0.02x0.1-accurate.png");
}

TEST(PictureFileName, TheCornerIsWrittenToOneDigitBelowACell) {
    const struct {
        double real, imaginary, real_scale, imaginary_scale;
        const char* corner;
    } cases[] = {
        {0.1 + 0.2, -5, 0.02, 0.1, "-re0.3-im-5-"},  // sums of steps lose their noise
        {14.134725141734693, 14.134725141734693, 0.02, 0.001, "-re14.135-im14.1347-"},
        {0.5, 1e8 + 0.25, 5, 0.5, "-re0.5-im100000000.25-"},
        {-0.0, -1e-20, 0.02, 0.1, "-re0-im0-"},          // no "-0"
        {1234.5, 0, 300, 2000, "-re1234-im0-"},          // round half to even
        {0.25, 3, 0, -0.1, "-re0.25-im3-"},              // zero and negative scales
        {2e20, -3e-7, 0.02, 1e-15, "-re2e20-im-3e-7-"},  // out of reach of fixed decimals
        {NAN, INFINITY, 0.02, 0.1, "-renan-iminf-"},
    };
    for (const auto& c : cases) {
        const std::string name =
            picture_file_name({"abs", c.real, c.imaginary, c.real_scale, c.imaginary_scale, 100});
        EXPECT_NE(name.find(c.corner), std::string::npos) << name << " lacks " << c.corner;
    }
}

TEST(PictureFileName, ScalesHaveSixSignificantDigitsAndShortExponents) {
    EXPECT_NE(
        picture_file_name({"re", 0, 0, 0.02 * std::pow(0.8, 20), 1e-7, 100}).find("-scale0.000230584x1e-7-"),
        std::string::npos);
    EXPECT_NE(picture_file_name({"re", 0, 0, 123456789, 1e300, 100}).find("-scale1.23457e8x1e300-"),
              std::string::npos);
}

TEST(PictureFileName, OnlyCharactersEveryFileSystemTakes) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> exponent(-300, 300);
    const double specials[] = {0.0,
                               -0.0,
                               NAN,
                               INFINITY,
                               -INFINITY,
                               std::numeric_limits<double>::denorm_min(),
                               -std::numeric_limits<double>::max()};
    for (int i = 0; i < 2000; ++i) {
        auto any = [&] {
            if (i % 10 == 0) return specials[random() % std::size(specials)];
            return (random() % 2 ? 1 : -1) * std::pow(10.0, exponent(random));
        };
        const std::string name = picture_file_name({"Re ζ/<*>:?", any(), any(), any(), any(),
                                                    i % 3 == 0 ? std::nullopt : std::optional<int64_t>(i)});
        EXPECT_LE(name.size(), 120u) << name;
        EXPECT_EQ(name.rfind("zeta-re-re", 0), 0u) << name;  // the quantity keeps its letters only
        for (const char c : name) {
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.') << name;
        }
        EXPECT_EQ(name.substr(name.size() - 4), ".png");
    }
    EXPECT_EQ(picture_file_name({"", 0, 0, 1, 1, 1}).rfind("zeta-plot-", 0), 0u);
}

}  // namespace
