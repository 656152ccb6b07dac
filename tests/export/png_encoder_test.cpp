// The PNG encoder's files decoded by libpng give back every pixel; saving never replaces a file.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "tests/export/scratch_folder.h"
#include "tests/tools/png_reading.h"
#include "zeta/export/picture_saving.h"
#include "zeta/export/png_encoder.h"

namespace export_test {
namespace {

// Bands in which each of the encoder's row filters wins: across-ramps (Sub), rows that repeat the one above
// with a shift (Up), then noise on white (None). The top byte, not part of a pixel, holds noise too.
std::vector<std::uint32_t> test_image(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint32_t> pattern(static_cast<size_t>(width));
    for (std::uint32_t& value : pattern)
        value = random() & 0x00ffffff;
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = 0x00ffffff;
            if (3 * y < height) {
                pixel = (static_cast<std::uint32_t>(7 * x + y) & 0xffu) * 0x010101u;
            } else if (3 * y < 2 * height) {
                pixel = pattern[static_cast<size_t>(x)] + static_cast<std::uint32_t>(y) * 0x010203u;
            } else if (x % 5 == 4) {
                pixel = random();
            }
            pixels.push_back((pixel & 0x00ffffff) | (random() & 0xff000000u));
        }
    }
    return pixels;
}

std::vector<std::uint32_t> without_top_byte(std::vector<std::uint32_t> pixels) {
    for (std::uint32_t& pixel : pixels)
        pixel &= 0x00ffffff;
    return pixels;
}

tools_test::Decoded_Png decode(const std::filesystem::path& path) {
    return tools_test::read_png(path.string());
}

TEST(PngEncoder, LibpngDecodesEveryPixel) {
    Scratch_Folder scratch;
    const struct { int width, height; } sizes[] = {{1, 1}, {1, 9}, {9, 1}, {3, 2}, {257, 5}, {952, 741}};
    for (const auto size : sizes) {
        const std::vector<std::uint32_t> pixels = test_image(size.width, size.height, 7);
        std::vector<std::uint8_t> png;
        std::string error;
        ASSERT_TRUE(encode_png(size.width, size.height, pixels, png, error)) << error;
        const auto path = scratch.path() / "image.png";
        write_text(path, std::string(png.begin(), png.end()));
        const tools_test::Decoded_Png decoded = decode(path);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.width, size.width);
        EXPECT_EQ(decoded.height, size.height);
        EXPECT_EQ(decoded.pixels, without_top_byte(pixels)) << size.width << "x" << size.height;
    }
}

TEST(PngEncoder, ManyIdatChunksMakeOneImage) {
    // Noise does not compress: over a MiB of data, so more than one IDAT chunk.
    constexpr int width = 1000, height = 400;
    std::mt19937 random(3);
    std::vector<std::uint32_t> pixels(width * height);
    for (std::uint32_t& pixel : pixels)
        pixel = random() & 0x00ffffff;
    std::vector<std::uint8_t> png;
    std::string error;
    ASSERT_TRUE(encode_png(width, height, pixels, png, error)) << error;
    ASSERT_GT(png.size(), size_t{1} << 20);
    Scratch_Folder scratch;
    write_text(scratch.path() / "noise.png", std::string(png.begin(), png.end()));
    const tools_test::Decoded_Png decoded = decode(scratch.path() / "noise.png");
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.pixels, pixels);
}

TEST(PngEncoder, SizesThatDoNotMatchThePixelsAreRefused) {
    const std::vector<std::uint32_t> pixels(6);
    std::vector<std::uint8_t> png;
    std::string error;
    EXPECT_FALSE(encode_png(0, 6, pixels, png, error));
    EXPECT_FALSE(encode_png(3, -2, pixels, png, error));
    EXPECT_FALSE(encode_png(4, 2, pixels, png, error));
    EXPECT_NE(error.find("4x2"), std::string::npos) << error;
    EXPECT_TRUE(png.empty());
}

TEST(SavePngPicture, WritesANewFileEachTime) {
    Scratch_Folder scratch;
    const std::vector<std::uint32_t> first = test_image(40, 30, 1), second = test_image(40, 30, 2);
    const Saved_Picture a = save_png_picture(scratch.path(), "zeta-abs.png", 40, 30, first);
    const Saved_Picture b = save_png_picture(scratch.path(), "zeta-abs.png", 40, 30, second);
    ASSERT_EQ(a.error, "");
    ASSERT_EQ(b.error, "");
    EXPECT_EQ(a.path, scratch.path() / "zeta-abs.png");
    EXPECT_EQ(b.path, scratch.path() / "zeta-abs (2).png");
    EXPECT_EQ(decode(a.path).pixels, without_top_byte(first));
    EXPECT_EQ(decode(b.path).pixels, without_top_byte(second));
}

TEST(SavePngPicture, AFailureLeavesNothingBehind) {
    Scratch_Folder scratch;
    const std::vector<std::uint32_t> pixels = test_image(4, 4, 1);
    const Saved_Picture wrong_size = save_png_picture(scratch.path(), "plot.png", 5, 4, pixels);
    EXPECT_TRUE(wrong_size.path.empty());
    EXPECT_NE(wrong_size.error, "");
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));

    const Saved_Picture no_folder = save_png_picture(scratch.path() / "gone", "plot.png", 4, 4, pixels);
    EXPECT_TRUE(no_folder.path.empty());
    EXPECT_NE(no_folder.error.find("gone"), std::string::npos) << no_folder.error;
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

}  // namespace
}  // namespace export_test
