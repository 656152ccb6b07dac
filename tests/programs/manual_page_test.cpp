// The manual pages (data/man/) name the same options as the programs' --help: an option added to a program
// without its page, or left on the page after it went, fails here.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/programs/program_run.h"

namespace programs_test {
namespace {

// "-o" and "--real-scale" where they start a word; "red-to-green", "-5" and "1e-10" are no options.
std::set<std::string> options_in(const std::string& text) {
    std::set<std::string> options;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '-') continue;
        if (i > 0 && (std::isalnum(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '-')) continue;
        size_t end = i + 1;
        if (end < text.size() && text[end] == '-') ++end;
        if (end == text.size() || !std::islower(static_cast<unsigned char>(text[end]))) continue;
        while (end < text.size() && (std::islower(static_cast<unsigned char>(text[end])) || text[end] == '-'))
            ++end;
        options.insert(text.substr(i, end - i));
        i = end;
    }
    return options;
}

// The page's source as it reads: roff's "\-" is a minus sign.
std::string manual_page_text(const std::string& program) {
    std::ifstream file(std::string(ZETA_SOURCE_DIR) + "/data/man/" + program + ".1");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '-') continue;
        plain += text[i];
    }
    return plain;
}

TEST(ManualPage, NamesTheOptionsOfTheProgramsHelp) {
    for (const auto& [program, path] :
         {std::pair{"zeta-render", ZETA_RENDER_PATH}, std::pair{"zeta-viewer", ZETA_VIEWER_PATH}}) {
        const Program_Run help = run_program(path, {"--help"});
        ASSERT_EQ(help.status, 0) << program;
        const std::string page = manual_page_text(program);
        ASSERT_FALSE(page.empty()) << program;
        EXPECT_EQ(options_in(page), options_in(help.output)) << program;
    }
}

}  // namespace
}  // namespace programs_test
