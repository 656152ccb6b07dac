#include "zeta/export/new_file.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace {

// Enough for anyone's pictures of one plot; past it something else is wrong.
constexpr int last_number = 9999;

enum class Attempt { Created, Taken, Failed };

#ifdef _WIN32

std::string system_message(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

Attempt try_create(const std::filesystem::path& path, void*& handle, std::string& error) {
    handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return Attempt::Created;
    const DWORD code = GetLastError();
    std::error_code ignored;
    // A folder of that name refuses access rather than saying it exists.
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ||
        (code == ERROR_ACCESS_DENIED && std::filesystem::exists(path, ignored)))
        return Attempt::Taken;
    error = system_message(code);
    return Attempt::Failed;
}

#else

Attempt try_create(const std::filesystem::path& path, int& handle, std::string& error) {
    do {
        handle = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (handle == -1 && errno == EINTR);
    if (handle != -1) return Attempt::Created;
    if (errno == EEXIST) return Attempt::Taken;
    error = std::strerror(errno);
    return Attempt::Failed;
}

#endif

}  // namespace

std::string numbered_name(const std::string& name, int number) {
    const size_t dot = name.rfind('.');
    const size_t stem_end = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, stem_end) + " (" + std::to_string(number) + ")" + name.substr(stem_end);
}

New_File New_File::create(const std::filesystem::path& folder, const std::string& name, std::string& error) {
    for (int number = 1; number <= last_number; ++number) {
        const std::filesystem::path path = folder / (number == 1 ? name : numbered_name(name, number));
        Handle handle = closed;
        std::string reason;
        switch (try_create(path, handle, reason)) {
            case Attempt::Created:
                return New_File(handle, path);
            case Attempt::Taken:
                continue;
            case Attempt::Failed:
                error = "cannot create " + path.string() + ": " + reason;
                return New_File();
        }
    }
    error = "cannot create " + (folder / name).string() + ": it and " + std::to_string(last_number - 1) +
            " numbered names are all taken";
    return New_File();
}

New_File::New_File(New_File&& other) noexcept
    : handle_(std::exchange(other.handle_, closed)), path_(std::move(other.path_)) {}

New_File::~New_File() {
    discard();
}

#ifdef _WIN32

bool New_File::write(const void* data, std::size_t size, std::string& error) {
    const char* bytes = static_cast<const char*>(data);
    if (!is_open()) {
        error = "no file is open";
        return false;
    }
    while (size > 0) {
        const DWORD part = size > 1u << 30 ? 1u << 30 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handle_, bytes, part, &written, nullptr) || written == 0) {
            error = "cannot write " + path_.string() + ": " + system_message(GetLastError());
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool New_File::finish(std::string& error) {
    if (!is_open()) {
        error = "no file is open";
        return false;
    }
    const bool closed_well = CloseHandle(handle_) != 0;
    handle_ = closed;
    if (closed_well) return true;
    error = "cannot write " + path_.string() + ": " + system_message(GetLastError());
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    return false;
}

void New_File::discard() {
    if (handle_ == closed) return;
    CloseHandle(handle_);
    handle_ = closed;
    DeleteFileW(path_.c_str());
}

#else

bool New_File::write(const void* data, std::size_t size, std::string& error) {
    const char* bytes = static_cast<const char*>(data);
    if (!is_open()) {
        error = "no file is open";
        return false;
    }
    while (size > 0) {
        const ssize_t written = ::write(handle_, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            error = "cannot write " + path_.string() + ": " + std::strerror(written < 0 ? errno : ENOSPC);
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool New_File::finish(std::string& error) {
    if (!is_open()) {
        error = "no file is open";
        return false;
    }
    // close is not retried on EINTR: on Linux the descriptor is gone either way.
    const bool closed_well = close(handle_) == 0;
    handle_ = closed;
    if (closed_well) return true;
    error = "cannot write " + path_.string() + ": " + std::strerror(errno);
    unlink(path_.c_str());
    return false;
}

void New_File::discard() {
    if (handle_ == closed) return;
    close(handle_);
    handle_ = closed;
    unlink(path_.c_str());
}

#endif
