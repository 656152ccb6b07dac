// A file that this program has just made, never one that existed: it is created exclusively (O_EXCL,
// CREATE_NEW), so an existing file, or a link in its place, is never opened or replaced.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

class New_File {
public:
    // Creates `name` in `folder`, or when that name is taken the first free one of "stem (2).ext",
    // "stem (3).ext" ... On failure the result is not open and `error` says why.
    static New_File create(const std::filesystem::path& folder, const std::string& name, std::string& error);

    New_File(New_File&& other) noexcept;
    New_File& operator=(New_File&&) = delete;
    New_File(const New_File&) = delete;
    New_File& operator=(const New_File&) = delete;
    // A file neither finished nor discarded is discarded: nothing half-written stays behind.
    ~New_File();

    bool is_open() const { return handle_ != closed; }
    const std::filesystem::path& path() const { return path_; }

    // Appends `size` bytes; false with a message in `error` when they cannot be written.
    bool write(const void* data, std::size_t size, std::string& error);
    // Closes the file and keeps it; false with a message when the data could not be written out, and the file
    // is then deleted.
    bool finish(std::string& error);
    // Closes the file and deletes it.
    void discard();

private:
#ifdef _WIN32
    using Handle = void*;
    static inline Handle const closed = reinterpret_cast<Handle>(-1);
#else
    using Handle = int;
    static constexpr Handle closed = -1;
#endif
    New_File() = default;
    New_File(Handle handle, std::filesystem::path path) : handle_(handle), path_(std::move(path)) {}

    Handle handle_ = closed;
    std::filesystem::path path_;
};

// "name (n).ext" for "name.ext" (the extension being what follows the last dot), "name (n)" without one.
std::string numbered_name(const std::string& name, int number);
