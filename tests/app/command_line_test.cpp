// The viewer's command line as WinMain receives it: blanks separate words, double quotes group them.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "project_version.h"

namespace {

TEST(CommandLine, NothingButBlanksStartsTheViewer) {
    EXPECT_FALSE(answer_command_line(""));
    EXPECT_FALSE(answer_command_line("  \t "));
}

TEST(CommandLine, VersionAndHelpAnswerWithStatusZero) {
    for (const char* line : {"--version", " --version ", "\"--version\"", "--version --version"}) {
        const auto answer = answer_command_line(line);
        ASSERT_TRUE(answer) << line;
        EXPECT_EQ(answer->exit_status, 0);
        EXPECT_EQ(answer->output, std::string("zeta-viewer ") + project_version + "\n") << line;
        EXPECT_EQ(answer->errors, "");
    }
    for (const char* line : {"--help", "-h", "--version --help", "\t-h"}) {
        const auto answer = answer_command_line(line);
        ASSERT_TRUE(answer) << line;
        EXPECT_EQ(answer->exit_status, 0);
        EXPECT_EQ(answer->output.rfind("Usage: zeta-viewer", 0), 0u) << line;
        EXPECT_EQ(answer->errors, "");
    }
}

TEST(CommandLine, AnyOtherWordIsRefusedWithStatusTwo) {
    const struct {
        const char* line;
        const char* shown;
    } cases[] = {
        {"--verbose", "'--verbose'"},
        {"--help stray", "'stray'"},
        {"--version=2", "'--version=2'"},
        {"\"two words\" --help", "'two words'"},  // a quoted word keeps its blank
        {"--HELP", "'--HELP'"},
        {"a\x01z", "'a?z'"},
        {"0123456789012345678901234567890123456789ABCDEF", "'0123456789012345678901234567890123456789...'"},
    };
    for (const auto& c : cases) {
        const auto answer = answer_command_line(c.line);
        ASSERT_TRUE(answer) << c.line;
        EXPECT_EQ(answer->exit_status, 2) << c.line;
        EXPECT_EQ(answer->output, "");
        EXPECT_EQ(answer->errors.rfind(std::string("zeta-viewer: unknown argument ") + c.shown, 0), 0u)
            << answer->errors;
        EXPECT_EQ(answer->errors.back(), '\n');
    }
}

}  // namespace
