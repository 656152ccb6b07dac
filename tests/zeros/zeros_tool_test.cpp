// zeta-zeros as a child process: its output format (the same zeros as find_zeros, to the bit), standard
// output and files, outputs it must refuse or report, bad arguments (status 2, one line, no file left).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/program_run.h"
#include "zeta/plot/zeros_search.h"

namespace {

using tools_test::run_program;
using tools_test::Scratch_Directory;
using tools_test::Tool_Run;
using Strings = std::vector<std::string>;

Tool_Run run_zeta_zeros(const Strings& arguments, const std::string& standard_output = {}) {
    return run_program(ZETA_ZEROS_PATH, arguments, standard_output);
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

void expect_one_line_failure(const Tool_Run& run, const std::string& part, const std::string& context) {
    EXPECT_EQ(run.status, 2) << context;
    EXPECT_TRUE(run.errors.starts_with("zeta-zeros: ")) << context << ": " << run.errors;
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << context << ": " << run.errors;
    EXPECT_NE(run.errors.find(part), std::string::npos) << context << ": " << run.errors;
}

TEST(ZerosTool, WritesAHeaderAndTheZerosOfFindZeros) {
    Scratch_Directory directory;
    const std::string file = directory.file("zeros.csv");
    const Tool_Run run = run_zeta_zeros({"-q", "-o", file, "7000", "7020.5"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    const std::vector<std::string> lines = lines_of(contents(file));
    const Zero_Search search = find_zeros(7000.0, 7020.5, 1);
    ASSERT_EQ(lines.size(), search.zeros.size() + 1);
    char header[200];
    std::snprintf(header, sizeof header,
                  "# zeta-zeros T1=7000 T2=7020.5 found=%lld N(T2)-N(T1)=%lld verified=yes",
                  static_cast<long long>(search.found), static_cast<long long>(search.expected));
    EXPECT_EQ(lines[0], header);
    for (size_t i = 0; i < search.zeros.size(); ++i) {
        long long n = 0;
        double gamma = 0.0;
        ASSERT_EQ(std::sscanf(lines[i + 1].c_str(), "%lld,%lf", &n, &gamma), 2) << lines[i + 1];
        EXPECT_EQ(n, search.zeros[i].n);
        EXPECT_EQ(gamma, search.zeros[i].gamma) << lines[i + 1];  // %.17g reads back to the same double
    }
    EXPECT_EQ(directory.entries(), Strings{"zeros.csv"});  // no temporary file left
}

TEST(ZerosTool, WritesToStandardOutputAndReplacesAFileWhole) {
    Scratch_Directory directory;
    const std::string file = directory.file("zeros.csv");
    std::ofstream(file) << "old contents, longer than the new ones will be, so that truncation shows "
                        << std::string(4000, 'x');
    ASSERT_EQ(run_zeta_zeros({"-q", "-o", file, "14", "50"}).status, 0);
    const Tool_Run to_standard_output = run_zeta_zeros({"14", "50"}, directory.file("out"));
    ASSERT_EQ(to_standard_output.status, 0) << to_standard_output.errors;
    EXPECT_EQ(contents(directory.file("out")), contents(file));
    EXPECT_TRUE(
        contents(file).starts_with("# zeta-zeros T1=14 T2=50 found=10 N(T2)-N(T1)=10 verified=yes\n"));
    EXPECT_EQ(lines_of(contents(file)).size(), 11u);
}

TEST(ZerosTool, ReportsOutputsItCannotWrite) {
    Scratch_Directory directory;
    const std::string null_device = directory.file("null");
    const std::string full_device = directory.file("full");
    ASSERT_EQ(mknod(null_device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(mknod(full_device.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    EXPECT_EQ(run_zeta_zeros({"-o", null_device, "0", "100"}).status, 0);
    expect_one_line_failure(run_zeta_zeros({"-o", full_device, "0", "100"}), "No space left on device",
                            "full");
    expect_one_line_failure(run_zeta_zeros({"0", "100"}, full_device), "No space left on device",
                            "- on full");
    expect_one_line_failure(run_zeta_zeros({"-o", directory.path(), "0", "100"}), "directory", "directory");
    expect_one_line_failure(run_zeta_zeros({"-o", directory.file("missing/z.csv"), "0", "100"}),
                            "No such file or directory", "missing directory");
    EXPECT_EQ(directory.entries().size(), 2u);  // the two devices, nothing beside them
}

TEST(ZerosTool, BadArgumentsEndWithStatusTwoAndAOneLineMessage) {
    const std::vector<std::pair<Strings, std::string>> bad = {
        {{}, "T1 T2"},
        {{"100"}, "T1 T2"},
        {{"1", "2", "3"}, "'3'"},
        {{"one", "2"}, "'one'"},
        {{"1", "2x"}, "'2x'"},
        {{" 1", "2"}, "' 1'"},
        {{"-1", "5"}, "'-1'"},
        {{"5", "1"}, "T1 must not be above T2"},
        {{"0", "2e13"}, "'2e13'"},
        {{"0", "nan"}, "'nan'"},
        {{"0", "inf"}, "'inf'"},
        {{"--bogus", "0", "1"}, "'--bogus'"},
        {{"-x", "0", "1"}, "'-x'"},
        {{"0", "1", "-o"}, "'-o'"},
        {{"-o", "", "0", "1"}, "file name"},
    };
    for (const auto& [arguments, part] : bad) {
        Scratch_Directory directory;
        std::string shown;
        for (const std::string& argument : arguments)
            shown += " " + argument;
        expect_one_line_failure(run_zeta_zeros(arguments, directory.file("out")), part, shown);
        EXPECT_EQ(contents(directory.file("out")), "") << shown;
        EXPECT_EQ(directory.entries(), Strings{"out"}) << shown;
    }
}

TEST(ZerosTool, HelpDescribesTheOutput) {
    Scratch_Directory directory;
    const Tool_Run run = run_zeta_zeros({"--help"}, directory.file("out"));
    EXPECT_EQ(run.status, 0);
    const std::string help = contents(directory.file("out"));
    EXPECT_TRUE(help.starts_with("Usage: zeta-zeros")) << help;
    EXPECT_NE(help.find("verified=yes"), std::string::npos);
}

}  // namespace
