// zeta-render's --help and manual page state the image size it writes when no --size is given.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "tests/programs/program_run.h"

namespace programs_test {
namespace {

// Width and height from a PNG's header, or 0 x 0.
std::pair<int, int> png_size(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    if (file.gcount() != sizeof header || header[1] != 'P' || header[12] != 'I') return {0, 0};
    auto number = [&](int at) {
        return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3];
    };
    return {number(16), number(20)};
}

// "NxM" after "default" in the --size entry of a text.
std::string stated_default_size(const std::string& text) {
    std::smatch match;
    const std::regex entry(R"((?:^|\s)--size[^(]*\(default (\d+)x(\d+))");
    return std::regex_search(text, match, entry) ? match[1].str() + "x" + match[2].str() : "";
}

TEST(RenderDefaultSize, HelpAndManualPageStateTheSizeOfTheImageWritten) {
    std::string folder = (std::filesystem::temp_directory_path() / "zeta-size-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::filesystem::path image = std::filesystem::path(folder) / "start-up.png";
    const Program_Run render = run_program(ZETA_RENDER_PATH, {"--quiet", "-o", image.string()});
    const auto [width, height] = png_size(image);
    std::filesystem::remove_all(folder);
    ASSERT_EQ(render.status, 0) << render.errors;
    const std::string written = std::to_string(width) + "x" + std::to_string(height);

    EXPECT_EQ(stated_default_size(run_program(ZETA_RENDER_PATH, {"--help"}).output), written);
    std::ifstream page_file(std::string(ZETA_SOURCE_DIR) + "/data/man/zeta-render.1");
    std::string page((std::istreambuf_iterator<char>(page_file)), std::istreambuf_iterator<char>());
    page = std::regex_replace(page, std::regex(R"(\\-)"), "-");
    page = std::regex_replace(page, std::regex("\n"), " ");
    EXPECT_EQ(stated_default_size(page), written);
}

}  // namespace
}  // namespace programs_test
