// The folder the viewer saves pictures in: the user's pictures folder as the desktop names it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The folder that XDG_PICTURES_DIR names in the text of a user-dirs.dirs file, read as xdg-user-dirs reads
// it: a double-quoted "$HOME/..." (or "$HOME") or absolute path, backslash escaping the next character, the
// last valid line winning. No value when no line names one; relative paths are not valid.
std::optional<std::string> xdg_pictures_dir(std::string_view user_dirs, const std::string& home);

// On Windows the known Pictures folder, else the user's profile folder. Elsewhere the folder that
// $XDG_CONFIG_HOME/user-dirs.dirs (~/.config/user-dirs.dirs by default) names when it exists, else ~/Pictures
// when it exists, else the home folder.
std::filesystem::path pictures_folder();
