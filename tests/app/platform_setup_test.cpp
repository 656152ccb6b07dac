// The viewer's own start-up line when the layer has no font: the Debian package to install, and failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/platform_setup.h"

namespace {

void set_up_without_fonts(const std::string& config) {
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    std::exit(set_up_platform() ? 0 : 1);
}

}  // namespace

TEST(PlatformSetupDeathTest, MissingFontNamesThePackageAndFails) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: the font is not loaded yet
    const std::string config = ::testing::TempDir() + "zeta_viewer_no_fonts.conf";
    {
        std::ofstream out(config);
        out << "<?xml version=\"1.0\"?>\n<fontconfig><dir>/nonexistent-zeta-fonts</dir></fontconfig>\n";
    }
    EXPECT_EXIT(
        set_up_without_fonts(config), ::testing::ExitedWithCode(1),
        "zeta-viewer: no usable sans-serif font \\(fontconfig found none\\); install the Debian package "
        "fonts-dejavu-core");
}
