// Without any font the layer says why to the program that asks, draws no text, and never ends the process.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "gdi_test_util.h"
#include "platform/startup.h"

namespace {

std::string config_without_fonts() {
    const std::string config = ::testing::TempDir() + "zeta_no_fonts.conf";
    std::ofstream out(config);
    out << "<?xml version=\"1.0\"?>\n<fontconfig><dir>/nonexistent-zeta-fonts</dir></fontconfig>\n";
    return config;
}

// Runs in a fresh process (the font is loaded once per process); exits 0 only when every check held.
void load_and_draw_without_fonts(const std::string& config) {
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    std::string problem;
    bool loaded = platform::load_font(&problem);
    std::fprintf(stderr, "problem: %s\n", problem.c_str());
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = gdi_test::colour_bitmap(10, 10);
    SelectObject(dc, bitmap);
    RECT box = {0, 0, 10, 10};
    SetBkMode(dc, TRANSPARENT);
    SetPixel(dc, 2, 2, RGB(1, 2, 3));
    DrawTextA(dc, "x", 1, &box, 0);
    bool untouched = GetPixel(dc, 2, 2) == RGB(1, 2, 3);
    std::exit(!loaded && untouched ? 0 : 3);
}

}  // namespace

TEST(FontMissingDeathTest, LoadingReportsTheProblemAndTextDrawsNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: the font is not loaded yet
    EXPECT_EXIT(load_and_draw_without_fonts(config_without_fonts()), ::testing::ExitedWithCode(0),
                "problem: fontconfig found none");
}
