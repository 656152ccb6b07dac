#include "tools/output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/argument_text.h"
#include "tools/output_target.h"
#include "tools/temporary_file.h"

namespace {

std::string system_error(const std::string& path, int error_number) {
    return "cannot write " + shown_path(path) + ": " + std::strerror(error_number);
}

// Where a file that does not exist yet would be, as an absolute path; empty when its directory is missing.
std::string absolute_new_path(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    char resolved[PATH_MAX];
    if (realpath(directory.c_str(), resolved) == nullptr) return {};
    return std::string(resolved) + "/" + path.substr(slash == std::string::npos ? 0 : slash + 1);
}

// Opens where the data goes: standard output (through a descriptor of its own, so that closing it reports
// errors without closing standard output), the device or pipe itself, or a temporary file beside the target.
int open_output(const Output_Target& target, std::string& temporary) {
    switch (target.kind) {
        case Output_Target::Standard_Output:
            return fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        case Output_Target::Stream:
            return open(target.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        case Output_Target::Plain_File:
        default:
            return create_temporary_beside(target.path, temporary);
    }
}

// Runs the writer, then flushes and closes, keeping the first failure.
bool write_and_close(std::FILE* file, const File_Writer& write, const std::string& path, std::string& error) {
    errno = 0;
    bool written = write(file, error);
    int error_number = errno;
    if (!written) {
        // A failed write of the stream says more than the writer's own words.
        error = std::ferror(file) && error_number != 0 ? system_error(path, error_number)
                                                       : "cannot write " + shown_path(path) + ": " + error;
    }
    if (written && (std::fflush(file) != 0 || std::ferror(file))) {
        error = system_error(path, errno != 0 ? errno : EIO);
        written = false;
    }
    error_number = 0;
    if (std::fclose(file) != 0) error_number = errno;
    if (written && error_number != 0) {
        error = system_error(path, error_number);
        written = false;
    }
    return written;
}

}  // namespace

bool check_writable(const std::string& path, std::string& error) {
    Output_Target target;
    if (!find_output_target(path, target, error)) return false;
    if (target.kind != Output_Target::Plain_File) return true;
    std::string temporary;
    const int descriptor = create_temporary_beside(target.path, temporary);
    if (descriptor < 0) {
        error = system_error(path, errno);
        return false;
    }
    close(descriptor);
    finish_temporary(target.path, false);
    return true;
}

bool same_output(const std::string& first, const std::string& second) {
    if (first == second) return true;
    Output_Target one;
    Output_Target other;
    std::string ignored;
    if (!find_output_target(first, one, ignored) || !find_output_target(second, other, ignored)) return false;
    if (one.exists && other.exists)
        return one.status.st_dev == other.status.st_dev && one.status.st_ino == other.status.st_ino;
    if (one.exists || other.exists) return false;
    const std::string one_path = absolute_new_path(one.path);
    return !one_path.empty() && one_path == absolute_new_path(other.path);
}

bool write_file(const std::string& path, const File_Writer& write, std::string& error) {
    Output_Target target;
    if (!find_output_target(path, target, error)) return false;
    std::string temporary;
    const int descriptor = open_output(target, temporary);
    if (descriptor < 0) {
        error = system_error(path, errno);
        return false;
    }
    std::FILE* file = fdopen(descriptor, "wb");
    if (file == nullptr) {
        error = system_error(path, errno);
        close(descriptor);
        if (target.kind == Output_Target::Plain_File) finish_temporary(target.path, false);
        return false;
    }
    bool written = write_and_close(file, write, path, error);
    if (target.kind == Output_Target::Plain_File && !finish_temporary(target.path, written)) {
        error = system_error(path, errno);
        written = false;
    }
    return written;
}
