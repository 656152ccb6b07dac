#include "zeta/export/pictures_folder.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
// After windows.h:
#include <knownfolders.h>
#include <shlobj.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

constexpr std::string_view key = "XDG_PICTURES_DIR";

bool is_folder(const std::filesystem::path& path) {
    std::error_code ignored;
    return !path.empty() && std::filesystem::is_directory(path, ignored);
}

void skip_blanks(std::string_view line, size_t& i) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
}

// The folder one line names, if it is an XDG_PICTURES_DIR line with a valid value.
std::optional<std::string> folder_of_line(std::string_view line, const std::string& home) {
    size_t i = 0;
    skip_blanks(line, i);
    if (line.substr(i, key.size()) != key) return std::nullopt;
    i += key.size();
    skip_blanks(line, i);
    if (i == line.size() || line[i] != '=') return std::nullopt;
    ++i;
    skip_blanks(line, i);
    if (i == line.size() || line[i] != '"') return std::nullopt;
    ++i;
    std::string folder;
    constexpr std::string_view home_variable = "$HOME";
    if (line.substr(i, home_variable.size()) == home_variable) {
        i += home_variable.size();
        if (i == line.size() || (line[i] != '/' && line[i] != '"')) return std::nullopt;
        folder = home;
    } else if (i == line.size() || line[i] != '/') {
        return std::nullopt;
    }
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        folder += line[i];
    }
    if (i == line.size()) return std::nullopt;  // no closing quote
    return folder;
}

#ifndef _WIN32
std::string home_folder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    const passwd* user = getpwuid(getuid());
    if (user != nullptr && user->pw_dir != nullptr && *user->pw_dir != '\0') return user->pw_dir;
    return ".";
}

// user-dirs.dirs is a few lines; a larger file is not one.
std::string read_small_file(const std::filesystem::path& path) {
    constexpr std::streamsize largest = 1 << 16;
    std::ifstream file(path, std::ios::binary);
    std::string text(largest, '\0');
    file.read(text.data(), largest);
    text.resize(static_cast<size_t>(file.gcount()));
    return text;
}
#endif

}  // namespace

std::optional<std::string> xdg_pictures_dir(std::string_view user_dirs, const std::string& home) {
    std::optional<std::string> folder;
    while (!user_dirs.empty()) {
        const size_t end = user_dirs.find('\n');
        std::string_view line = user_dirs.substr(0, end);
        user_dirs = end == std::string_view::npos ? std::string_view() : user_dirs.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (auto named = folder_of_line(line, home)) folder = std::move(named);
    }
    return folder;
}

#ifdef _WIN32

std::filesystem::path pictures_folder() {
    PWSTR known = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &known))) folder = known;
    CoTaskMemFree(known);  // also after a failure, as the documentation asks
    if (is_folder(folder)) return folder;
    const wchar_t* profile = _wgetenv(L"USERPROFILE");
    if (profile != nullptr && is_folder(profile)) return profile;
    return ".";
}

#else

std::filesystem::path pictures_folder() {
    const std::string home = home_folder();
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    const std::filesystem::path config = config_home != nullptr && config_home[0] == '/'
                                             ? std::filesystem::path(config_home)
                                             : std::filesystem::path(home) / ".config";
    const std::optional<std::string> named =
        xdg_pictures_dir(read_small_file(config / "user-dirs.dirs"), home);
    if (named && is_folder(*named)) return *named;
    const std::filesystem::path pictures = std::filesystem::path(home) / "Pictures";
    if (is_folder(pictures)) return pictures;
    return home;
}

#endif
