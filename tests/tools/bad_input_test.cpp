// Bad arguments: exit status 2, one line on stderr, and no file (not even a temporary one) left behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/render_tool.h"

namespace tools_test {
namespace {

struct Bad_Input {
    std::vector<std::string> arguments;  // "@" at the start of an argument stands for the scratch directory
    std::string message_part;            // what the message must mention
};

const std::vector<Bad_Input> bad_inputs = {
    {{"--bogus", "-o", "@/plot.png"}, "'--bogus'"},
    {{"-o", "@/plot.png", "-x"}, "'-x'"},
    {{"-o", "@/plot.png", "--ceiling"}, "'--ceiling'"},
    {{"-o", "@/plot.png", "stray"}, "'stray'"},
    {{}, "-o"},
    {{"-o", "@/plot.png", "--ceiling", "1.5x"}, "'1.5x'"},
    {{"-o", "@/plot.png", "--floor", " 2"}, "' 2'"},
    {{"-o", "@/plot.png", "--real", ""}, "--real"},
    {{"-o", "@/plot.png", "--ceiling", "inf"}, "--ceiling"},
    {{"-o", "@/plot.png", "--floor", "nan"}, "--floor"},
    {{"-o", "@/plot.png", "--real", "-infinity"}, "--real"},
    {{"-o", "@/plot.png", "--imaginary", "NaN"}, "--imaginary"},
    {{"-o", "@/plot.png", "--real-scale", "1e999"}, "--real-scale"},
    {{"-o", "@/plot.png", "--imaginary-scale", "inf"}, "--imaginary-scale"},
    {{"-o", "@/plot.png", "--terms", "-1"}, "'-1'"},
    {{"-o", "@/plot.png", "--terms", "2147483648"}, "'2147483648'"},
    {{"-o", "@/plot.png", "--terms", "1.5"}, "'1.5'"},
    {{"-o", "@/plot.png", "--mode", "sqrt"}, "'sqrt'"},
    {{"-o", "@/plot.png", "--method", "exact"}, "'exact'"},
    {{"-o", "@/plot.png", "--plot-size", "0x520"}, "'0x520'"},
    {{"-o", "@/plot.png", "--plot-size", "80x-1"}, "'80x-1'"},
    {{"-o", "@/plot.png", "--plot-size", "80"}, "'80'"},
    {{"-o", "@/plot.png", "--size", "16385x100"}, "'16385x100'"},
    {{"-o", "@/plot.png", "--size", "8193x8193"}, "'8193x8193'"},
    // The plot with its labels must fit: 70 pixels left, 20 above, 130 below, the right edge inside.
    {{"-o", "@/plot.png", "--plot-origin", "69,60"}, "left"},
    {{"-o", "@/plot.png", "--plot-origin", "100,19"}, "top"},
    {{"-o", "@/plot.png", "--size", "179x710"}, "right"},
    {{"-o", "@/plot.png", "--size", "180x709"}, "bottom"},
    {{"-o", "@/missing/plot.png"}, "missing/plot.png"},
    {{"-o", "@"}, "directory"},
    {{"-o", "@/same", "--csv", "@/same"}, "same file"},
    {{"-o", "@/same", "--csv", "@/./same"}, "same file"},
    {{"--csv", "@/values.csv", "--plot-size", "70000x70000"}, "Not enough memory for a plot of this size"},
};

TEST(BadInput, EndsWithStatusTwoAOneLineMessageAndNoFile) {
    for (const Bad_Input& input : bad_inputs) {
        Scratch_Directory directory;
        std::vector<std::string> arguments = input.arguments;
        std::string shown;
        for (std::string& argument : arguments) {
            if (argument.starts_with("@")) argument.replace(0, 1, directory.path());
            shown += " " + argument;
        }
        const Tool_Run run = run_zeta_render(arguments);
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_TRUE(run.errors.starts_with("zeta-render: ")) << shown << ": " << run.errors;
        EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << shown << ": " << run.errors;
        EXPECT_NE(run.errors.find(input.message_part), std::string::npos) << shown << ": " << run.errors;
        EXPECT_EQ(directory.entries(), std::vector<std::string>{}) << shown;
    }
}

// An echoed argument is cut to a readable length, a path keeping its end, and control characters are escaped.
TEST(BadInput, EchoedArgumentIsShortAndPrintable) {
    Scratch_Directory directory;
    const std::string long_name(150, 'd');
    const std::string missing = directory.file(long_name + "/" + long_name + "/plot.png");
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{"--csv", directory.file("v.csv"), "--mode", std::string(500, 'm')}, {"'mmm", "mmm...'"}},
        {{"--csv", directory.file("v.csv"), "--mode", "\x1b[2Jred\n"}, {"'\\x1b[2Jred\\x0a'"}},
        {{"--csv", missing}, {"write ...ddd", "ddd/plot.png: No such file or directory"}},
    };
    for (const auto& [arguments, parts] : cases) {
        const Tool_Run run = run_zeta_render(arguments);
        EXPECT_EQ(run.status, 2) << run.errors;
        for (const std::string& part : parts)
            EXPECT_NE(run.errors.find(part), std::string::npos) << run.errors;
        EXPECT_LT(run.errors.size(), 130u) << run.errors;
        for (const char c : run.errors.substr(0, run.errors.size() - 1))
            EXPECT_GE(static_cast<unsigned char>(c), 0x20) << run.errors;
    }
    EXPECT_EQ(directory.entries(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tools_test
