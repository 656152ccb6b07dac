// New files are created exclusively: whatever already has the name - a file, a folder, a link, even one to a
// file that does not exist yet - is left as it was and the next numbered name is taken.
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "tests/export/scratch_folder.h"
#include "zeta/export/new_file.h"

namespace export_test {
namespace {

std::filesystem::path create_and_finish(const std::filesystem::path& folder, const std::string& name,
                                        const std::string& contents) {
    std::string error;
    New_File file = New_File::create(folder, name, error);
    EXPECT_TRUE(file.is_open()) << error;
    EXPECT_TRUE(file.write(contents.data(), contents.size(), error)) << error;
    const std::filesystem::path path = file.path();
    EXPECT_TRUE(file.finish(error)) << error;
    return path;
}

TEST(NumberedName, GoesBeforeTheLastExtension) {
    EXPECT_EQ(numbered_name("plot.png", 2), "plot (2).png");
    EXPECT_EQ(numbered_name("zeta-re0.5-im14.1.png", 3), "zeta-re0.5-im14.1 (3).png");
    EXPECT_EQ(numbered_name("plot", 12), "plot (12)");
    EXPECT_EQ(numbered_name(".png", 2), ".png (2)");
}

TEST(NewFile, TakenNamesAreNumberedAndNeverOverwritten) {
    Scratch_Folder scratch;
    const auto& folder = scratch.path();
    EXPECT_EQ(create_and_finish(folder, "plot.png", "first"), folder / "plot.png");
    EXPECT_EQ(create_and_finish(folder, "plot.png", "second"), folder / "plot (2).png");
    std::filesystem::create_directory(folder / "plot (3).png");
    std::filesystem::create_symlink(folder / "missing-target", folder / "plot (4).png");
    EXPECT_EQ(create_and_finish(folder, "plot.png", "third"), folder / "plot (5).png");

    EXPECT_EQ(read_text(folder / "plot.png"), "first");
    EXPECT_EQ(read_text(folder / "plot (2).png"), "second");
    EXPECT_EQ(read_text(folder / "plot (5).png"), "third");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "plot (3).png"));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing-target")) << "a link was followed";
}

TEST(NewFile, ThreadsSavingAtOnceGetFilesOfTheirOwn) {
    Scratch_Folder scratch;
    constexpr int count = 8;
    std::vector<std::filesystem::path> paths(count);
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i) {
        threads.emplace_back([&, i] {
            std::string error;
            New_File file = New_File::create(scratch.path(), "plot.png", error);
            const std::string contents = std::to_string(i);
            if (file.is_open() && file.write(contents.data(), contents.size(), error) && file.finish(error))
                paths[static_cast<size_t>(i)] = file.path();
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::set<std::filesystem::path> distinct;
    for (int i = 0; i < count; ++i) {
        ASSERT_FALSE(paths[static_cast<size_t>(i)].empty());
        EXPECT_EQ(read_text(paths[static_cast<size_t>(i)]), std::to_string(i));
        distinct.insert(paths[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(count));
}

TEST(NewFile, AFileNotFinishedIsRemoved) {
    Scratch_Folder scratch;
    std::filesystem::path path;
    {
        std::string error;
        New_File file = New_File::create(scratch.path(), "plot.png", error);
        ASSERT_TRUE(file.is_open()) << error;
        ASSERT_TRUE(file.write("half", 4, error));
        path = file.path();
        New_File moved = std::move(file);  // the moved-from file owns nothing any more
        EXPECT_FALSE(file.is_open());
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));

    std::string error;
    New_File discarded = New_File::create(scratch.path(), "plot.png", error);
    ASSERT_TRUE(discarded.is_open()) << error;
    discarded.discard();
    EXPECT_FALSE(discarded.is_open());
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

TEST(NewFile, AMissingFolderIsAnErrorNamingThePath) {
    Scratch_Folder scratch;
    std::string error;
    const New_File file = New_File::create(scratch.path() / "missing", "plot.png", error);
    EXPECT_FALSE(file.is_open());
    EXPECT_NE(error.find((scratch.path() / "missing" / "plot.png").string()), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / "missing"));
}

}  // namespace
}  // namespace export_test
