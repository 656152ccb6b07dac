#include "tools/output_target.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "tools/argument_text.h"

namespace {

constexpr int most_links_followed = 40;  // as the kernel allows

std::string directory_part(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows the last component's symbolic links; a path that does not exist (yet) is its own end.
bool follow_links(std::string& path, std::string& error) {
    for (int followed = 0; followed <= most_links_followed; ++followed) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
        std::vector<char> link(PATH_MAX + 1);
        const ssize_t length = readlink(path.c_str(), link.data(), link.size() - 1);
        if (length < 0) {
            error = std::strerror(errno);
            return false;
        }
        const std::string destination(link.data(), static_cast<size_t>(length));
        path = destination.starts_with('/') ? destination : directory_part(path) + destination;
    }
    error = std::strerror(ELOOP);
    return false;
}

}  // namespace

bool find_output_target(const std::string& path, Output_Target& target, std::string& error) {
    target = Output_Target{};
    target.path = path;
    std::string reason;
    if (path == "-") {
        target.kind = Output_Target::Standard_Output;
        target.exists = fstat(STDOUT_FILENO, &target.status) == 0;
        if (!target.exists) reason = "standard output is closed";
    } else if (follow_links(target.path, reason)) {
        target.exists = stat(target.path.c_str(), &target.status) == 0;
        if (target.exists && S_ISDIR(target.status.st_mode)) {
            reason = "it is a directory";
        } else if (target.exists && !S_ISREG(target.status.st_mode)) {
            target.kind = Output_Target::Stream;
            target.path = path;
        }
    }
    if (reason.empty()) return true;
    error = "cannot write " + shown_path(path) + ": " + reason;
    return false;
}
