// --version and --help are answered on standard output with status 0 and never open a display; the viewer
// refuses any other argument with status 2.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/programs/program_paths.h"
#include "tests/programs/program_run.h"

namespace programs_test {
namespace {

// With none of these the viewer reaches no screen: had it tried to open one, it would have failed with
// status 1 and a message.
const std::vector<std::string> no_screen = {"DISPLAY", "WAYLAND_DISPLAY", "ZETA_VIEWER_DISPLAY"};

TEST(Version, EveryProgramPrintsItsNameAndTheProjectVersion) {
    for (const Program& program : built_programs()) {
        const Program_Run run = run_program(program.path, {"--version"}, no_screen);
        EXPECT_EQ(run.status, 0) << program.name;
        EXPECT_EQ(run.output, program.name + " " + ZETA_PROJECT_VERSION + "\n");
        EXPECT_EQ(run.errors, "") << program.name;
    }
}

TEST(ViewerCommandLine, HelpIsOneShortParagraphNamingBothOptions) {
    const Program_Run run = run_program(ZETA_VIEWER_PATH, {"--help"}, no_screen);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.output.rfind("Usage: zeta-viewer", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("--version"), std::string::npos);
    std::istringstream lines(run.output);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_FALSE(line.empty()) << "a blank line in the help";
        EXPECT_LE(line.size(), 79u) << line;
    }
    EXPECT_LE(count, 8);
}

TEST(ViewerCommandLine, UnknownArgumentsAreRefusedWithoutOpeningADisplay) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"plot.png"}, {"--version", "-x"}}) {
        const Program_Run run = run_program(ZETA_VIEWER_PATH, arguments, no_screen);
        EXPECT_EQ(run.status, 2) << arguments.back();
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors.rfind("zeta-viewer: unknown argument '" + arguments.back() + "'", 0), 0u)
            << run.errors;
    }
}

TEST(ViewerCommandLine, WithoutArgumentsItStartsAndFailsForWantOfAScreen) {
    // The counterpart of the tests above: with the same environment the viewer does try to open a window.
    const Program_Run run = run_program(ZETA_VIEWER_PATH, {}, no_screen);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("no screen"), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace programs_test
