// Without any font the first text call says which Debian package is missing and ends the process with 1.
#include <cstdlib>
#include <fstream>
#include <string>

#include "gdi_test_util.h"

namespace {

void draw_text_without_fonts(const std::string& config) {
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    HDC dc = CreateCompatibleDC(nullptr);
    RECT box = {0, 0, 10, 10};
    DrawTextA(dc, "x", 1, &box, 0);
}

}  // namespace

TEST(FontMissingDeathTest, FirstTextUseNamesThePackageAndExits) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: the font is not loaded yet
    const std::string config = ::testing::TempDir() + "zeta_no_fonts.conf";
    {
        std::ofstream out(config);
        out << "<?xml version=\"1.0\"?>\n<fontconfig><dir>/nonexistent-zeta-fonts</dir></fontconfig>\n";
    }
    EXPECT_EXIT(draw_text_without_fonts(config), ::testing::ExitedWithCode(1), "fonts-dejavu-core");
}
