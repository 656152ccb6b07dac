// Where zeta-render's outputs go: devices and pipes written in place, standard output, plain files reached
// through symbolic links, two outputs that are one file, and signals while a file is written. Device nodes
// (mknod) and pipes (mkfifo) are made in a scratch directory.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/render_tool.h"

namespace tools_test {
namespace {

using Strings = std::vector<std::string>;

const Strings small_plot = {"-q", "--plot-size", "40x40", "--size", "300x300"};

Strings with_small_plot(Strings arguments) {
    arguments.insert(arguments.end(), small_plot.begin(), small_plot.end());
    return arguments;
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void write_text(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// What the small plot's PNG ("-o") or CSV ("--csv") is when written to a plain file.
std::string plain_output(const std::string& option) {
    Scratch_Directory directory;
    const Tool_Run run = run_zeta_render(with_small_plot({option, directory.file("plain")}));
    EXPECT_EQ(run.status, 0) << run.errors;
    return contents(directory.file("plain"));
}

bool is_character_device(const std::string& path, unsigned major_number, unsigned minor_number) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode) &&
           status.st_rdev == makedev(major_number, minor_number);
}

void expect_one_line_failure(const Tool_Run& run, const std::string& part, const std::string& context) {
    EXPECT_EQ(run.status, 2) << context;
    EXPECT_TRUE(run.errors.starts_with("zeta-render: ")) << context << ": " << run.errors;
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << context << ": " << run.errors;
    EXPECT_NE(run.errors.find(part), std::string::npos) << context << ": " << run.errors;
}

TEST(OutputDevices, AreWrittenInPlaceAndAFullOneIsAnError) {
    Scratch_Directory directory;
    const std::string null_device = directory.file("null");
    const std::string full_device = directory.file("full");
    ASSERT_EQ(mknod(null_device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(mknod(full_device.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    for (const std::string option : {"-o", "--csv"}) {
        const Tool_Run taken = run_zeta_render(with_small_plot({option, null_device}));
        EXPECT_EQ(taken.status, 0) << option << ": " << taken.errors;
        expect_one_line_failure(run_zeta_render(with_small_plot({option, full_device})),
                                "No space left on device", option + " full");
        expect_one_line_failure(run_zeta_render(with_small_plot({option, "-"}), full_device),
                                "No space left on device", option + " - on full");
    }
    EXPECT_TRUE(is_character_device(null_device, 1, 3));
    EXPECT_TRUE(is_character_device(full_device, 1, 7));
    EXPECT_EQ(directory.entries().size(), 2u);  // no file beside them
}

// Reads the pipe to its end on a thread of its own, or closes it at once.
class Pipe_Reader {
public:
    Pipe_Reader(const std::string& path, bool read)
        : thread_([this, path, read] {
              std::ifstream pipe(path, std::ios::binary);
              if (read) received_.assign(std::istreambuf_iterator<char>(pipe), {});
          }) {}
    std::string received() {
        thread_.join();
        return received_;
    }

private:
    std::string received_;
    std::thread thread_;
};

TEST(OutputPipes, GetWhatAPlainFileGetsAndAReaderThatLeavesIsAnError) {
    Scratch_Directory directory;
    const std::string pipe = directory.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string option : {"-o", "--csv"}) {
        Pipe_Reader reader(pipe, true);
        const Tool_Run run = run_zeta_render(with_small_plot({option, pipe}));
        EXPECT_EQ(run.status, 0) << option << ": " << run.errors;
        EXPECT_EQ(reader.received(), plain_output(option)) << option;
    }
    // The start-up plot's values are far more than a pipe holds, so the writer meets the closed end.
    Pipe_Reader leaving(pipe, false);
    expect_one_line_failure(run_zeta_render({"-q", "--csv", pipe}), "Broken pipe", "closed pipe");
    leaving.received();
    struct stat status {};
    EXPECT_TRUE(stat(pipe.c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
    EXPECT_EQ(directory.entries(), Strings{"pipe"});
}

TEST(OutputStandard, DashWritesToStandardOutput) {
    for (const std::string option : {"-o", "--csv"}) {
        Scratch_Directory directory;
        const Tool_Run run = run_zeta_render(with_small_plot({option, "-"}), directory.file("out"));
        EXPECT_EQ(run.status, 0) << option << ": " << run.errors;
        EXPECT_EQ(contents(directory.file("out")), plain_output(option)) << option;
    }
}

TEST(OutputLinks, AreFollowedToTheirTargetWhichIsReplacedWhole) {
    Scratch_Directory directory;
    ASSERT_EQ(mkdir(directory.file("sub").c_str(), 0755), 0);
    write_text(directory.file("sub/old.png"), "old contents");
    ASSERT_EQ(symlink("sub/old.png", directory.file("to-old").c_str()), 0);
    ASSERT_EQ(symlink("to-old", directory.file("to-link").c_str()), 0);
    ASSERT_EQ(symlink("sub/new.csv", directory.file("to-new").c_str()), 0);  // dangling until written
    const Tool_Run run = run_zeta_render(
        with_small_plot({"-o", directory.file("to-link"), "--csv", directory.file("to-new")}));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(contents(directory.file("sub/old.png")), plain_output("-o"));
    EXPECT_EQ(contents(directory.file("sub/new.csv")), plain_output("--csv"));
    for (const std::string link : {"to-old", "to-link", "to-new"}) {
        struct stat status {};
        EXPECT_TRUE(lstat(directory.file(link).c_str(), &status) == 0 && S_ISLNK(status.st_mode)) << link;
    }
    EXPECT_EQ(directory.entries().size(), 4u);  // sub and the three links: no temporary file left
    const auto in_sub = std::filesystem::directory_iterator(directory.file("sub"));
    EXPECT_EQ(std::distance(in_sub, std::filesystem::directory_iterator()), 2);
}

TEST(OutputSameFile, IsRefusedByDeviceAndInodeBeforeAnythingIsWritten) {
    Scratch_Directory directory;
    const std::string file = directory.file("plot");
    write_text(file, "kept");
    ASSERT_EQ(link(file.c_str(), directory.file("hard").c_str()), 0);
    ASSERT_EQ(symlink("plot", directory.file("soft").c_str()), 0);
    const std::vector<Strings> same = {
        {"-o", directory.file("new"), "--csv", directory.path() + "/./new"},
        {"-o", file, "--csv", directory.file("hard")},
        {"-o", directory.file("soft"), "--csv", file},
        {"-o", "-", "--csv", "-"},
    };
    for (const Strings& arguments : same)
        expect_one_line_failure(run_zeta_render(with_small_plot(arguments)), "same file", arguments[1]);
    // Standard output already going to the file that --csv names.
    expect_one_line_failure(run_zeta_render(with_small_plot({"-o", "-", "--csv", file}), file), "same file",
                            "standard output");
    EXPECT_EQ(contents(file), "kept");
    EXPECT_EQ(directory.entries().size(), 3u);
}

// True once the directory holds a file with data in it: the values are being written.
bool writing_started(const Scratch_Directory& directory) {
    for (const std::string& name : directory.entries()) {
        struct stat status {};
        if (stat(directory.file(name).c_str(), &status) == 0 && status.st_size > 0) return true;
    }
    return false;
}

// A plot whose values take a while to write, so that a signal can arrive while the temporary file exists.
TEST(OutputSignals, EndTheProgramAndRemoveTheTemporaryFile) {
    for (const int signal_number : {SIGTERM, SIGINT}) {
        Scratch_Directory directory;
        const Tool_Run run = run_zeta_render_while(
            {"-q", "--csv", directory.file("values.csv"), "--plot-size", "1500x1500", "--terms", "2"},
            [&](pid_t program) {
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
                while (!writing_started(directory) && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                kill(program, signal_number);
            });
        EXPECT_EQ(run.signal, signal_number) << run.errors;
        EXPECT_EQ(directory.entries(), Strings{}) << signal_number;
    }
}

}  // namespace
}  // namespace tools_test
