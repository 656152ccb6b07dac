#include "tools/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string system_error(const std::string& path) {
    return "cannot write " + path + ": " + std::strerror(errno);
}

// "dir/.name.XXXXXX" next to "dir/name", in the form mkstemp wants.
std::vector<char> temporary_name_template(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string pattern = directory + "." + name + ".XXXXXX";
    return std::vector<char>(pattern.c_str(), pattern.c_str() + pattern.size() + 1);
}

// mkstemp makes the file private; give it the permissions a newly created file would get.
void set_default_permissions(int descriptor) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

bool is_directory(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

bool check_writable(const std::string& path, std::string& error) {
    if (is_directory(path)) {
        error = "cannot write " + path + ": it is a directory";
        return false;
    }
    std::vector<char> name = temporary_name_template(path);
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        error = system_error(path);
        return false;
    }
    close(descriptor);
    unlink(name.data());
    return true;
}

bool write_file(const std::string& path, const File_Writer& write, std::string& error) {
    std::vector<char> name = temporary_name_template(path);
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        error = system_error(path);
        return false;
    }
    set_default_permissions(descriptor);
    std::FILE* file = fdopen(descriptor, "wb");
    if (file == nullptr) {
        error = system_error(path);
        close(descriptor);
        unlink(name.data());
        return false;
    }
    bool written = write(file, error);
    if (!written) error = "cannot write " + path + ": " + error;
    if (written && (std::fflush(file) != 0 || std::ferror(file))) {
        error = system_error(path);
        written = false;
    }
    if (std::fclose(file) != 0 && written) {
        error = system_error(path);
        written = false;
    }
    if (written && std::rename(name.data(), path.c_str()) != 0) {
        error = system_error(path);
        written = false;
    }
    if (!written) unlink(name.data());
    return written;
}
