// The pictures folder: user-dirs.dirs as xdg-user-dirs writes and reads it, then the fallbacks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "tests/export/scratch_folder.h"
#include "zeta/export/pictures_folder.h"

namespace export_test {
namespace {

const std::string home = "/home/ada";

TEST(XdgPicturesDir, ReadsTheValueAsXdgUserDirsWritesIt) {
    const struct {
        const char* text;
        std::optional<std::string> folder;
    } cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Pictures\"\n", "/home/ada/Pictures"},
        {"XDG_PICTURES_DIR=\"/srv/pictures\"", "/srv/pictures"},
        {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\r\n", "/home/ada/Bilder"},  // CRLF
        {"XDG_PICTURES_DIR=\"$HOME\"\n", "/home/ada"},
        {"XDG_PICTURES_DIR=\"$HOME/\"\n", "/home/ada/"},  // how xdg-user-dirs writes "the home folder"
        {"  XDG_PICTURES_DIR \t=  \"/a b\"  # trailing words\n", "/a b"},
        {"XDG_PICTURES_DIR=\"$HOME/My \\\"best\\\" \\$shots\\\\\"\n", "/home/ada/My \"best\" $shots\\"},
        {"XDG_PICTURES_DIR=\"$HOME/Фото\"\n", "/home/ada/Фото"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(xdg_pictures_dir(c.text, home), c.folder) << c.text;
}

TEST(XdgPicturesDir, IgnoresLinesThatAreNotAValidValue) {
    for (const char* text : {
             "",
             "XDG_PICTURES_DIR=\"Pictures\"\n",            // relative: xdg-user-dirs ignores it
             "XDG_PICTURES_DIR=\"./Pictures\"\n",          // relative too
             "XDG_PICTURES_DIR=\"~/Pictures\"\n",          // no tilde expansion in this file
             "XDG_PICTURES_DIR=$HOME/Pictures\n",          // not quoted
             "XDG_PICTURES_DIR=\"$HOMEWARD/Pictures\"\n",  // another variable
             "XDG_PICTURES_DIR=\"/no/closing/quote\n",
             "# XDG_PICTURES_DIR=\"/commented\"\n",
             "XDG_PICTURES_DIRS=\"/other/key\"\n",
             "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n",
             "xdg_pictures_dir=\"/lower/case\"\n",
             "XDG_PICTURES_DIR\"/no/equals\"\n",
         }) {
        EXPECT_EQ(xdg_pictures_dir(text, home), std::nullopt) << text;
    }
}

TEST(XdgPicturesDir, TheLastValidLineWins) {
    EXPECT_EQ(xdg_pictures_dir("XDG_PICTURES_DIR=\"/first\"\nXDG_PICTURES_DIR=\"/second\"\n", home),
              "/second");
    EXPECT_EQ(xdg_pictures_dir("XDG_PICTURES_DIR=\"/first\"\nXDG_PICTURES_DIR=\"relative\"\n", home),
              "/first");
    EXPECT_EQ(xdg_pictures_dir("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME/P\"\n"
                               "XDG_MUSIC_DIR=\"$HOME/Music\"",
                               home),
              "/home/ada/P");
}

// Sets HOME and XDG_CONFIG_HOME for one test and puts back what they were.
class Environment_Guard {
public:
    Environment_Guard() : home_(saved("HOME")), config_(saved("XDG_CONFIG_HOME")) {}
    ~Environment_Guard() {
        restore("HOME", home_);
        restore("XDG_CONFIG_HOME", config_);
    }
    Environment_Guard(const Environment_Guard&) = delete;
    Environment_Guard& operator=(const Environment_Guard&) = delete;

private:
    static std::optional<std::string> saved(const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    static void restore(const char* name, const std::optional<std::string>& value) {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    std::optional<std::string> home_, config_;
};

class PicturesFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch_.path().empty());
        home_ = scratch_.path() / "home";
        std::filesystem::create_directories(home_ / ".config");
        setenv("HOME", home_.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    void write_user_dirs(const std::filesystem::path& config, const std::string& pictures) {
        std::filesystem::create_directories(config);
        write_text(config / "user-dirs.dirs",
                   "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"" + pictures + "\"\n");
    }

    Environment_Guard environment_;
    Scratch_Folder scratch_;
    std::filesystem::path home_;
};

TEST_F(PicturesFolder, TheFolderThatUserDirsNamesWhenItExists) {
    write_user_dirs(home_ / ".config", "$HOME/Bilder");
    std::filesystem::create_directory(home_ / "Bilder");
    std::filesystem::create_directory(home_ / "Pictures");
    EXPECT_EQ(pictures_folder(), home_ / "Bilder");
}

TEST_F(PicturesFolder, XdgConfigHomeSaysWhereUserDirsIs) {
    write_user_dirs(home_ / ".config", "$HOME/Wrong");
    std::filesystem::create_directory(home_ / "Wrong");
    write_user_dirs(scratch_.path() / "config", scratch_.path().string() + "/elsewhere");
    std::filesystem::create_directory(scratch_.path() / "elsewhere");
    setenv("XDG_CONFIG_HOME", (scratch_.path() / "config").c_str(), 1);
    EXPECT_EQ(pictures_folder(), scratch_.path() / "elsewhere");
    // A relative XDG_CONFIG_HOME is not valid: ~/.config again.
    setenv("XDG_CONFIG_HOME", "config", 1);
    EXPECT_EQ(pictures_folder(), home_ / "Wrong");
}

TEST_F(PicturesFolder, PicturesInTheHomeFolderWhenTheNamedOneIsMissing) {
    write_user_dirs(home_ / ".config", "$HOME/Bilder");  // not made
    std::filesystem::create_directory(home_ / "Pictures");
    EXPECT_EQ(pictures_folder(), home_ / "Pictures");
    std::filesystem::remove(home_ / ".config" / "user-dirs.dirs");
    EXPECT_EQ(pictures_folder(), home_ / "Pictures");
}

TEST_F(PicturesFolder, TheHomeFolderWhenThereIsNoPicturesFolder) {
    EXPECT_EQ(pictures_folder(), home_);
    write_text(home_ / "Pictures", "a file, not a folder");
    EXPECT_EQ(pictures_folder(), home_);
}

}  // namespace
}  // namespace export_test
