// Output files that appear whole or not at all: the data goes to a temporary file in the same directory,
// which is renamed to the final name only when everything was written.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes the file's contents to an open stream; returns false with a message in `error` when it cannot.
using File_Writer = std::function<bool(std::FILE* file, std::string& error)>;

// Fails early, before a long calculation, when `path` cannot be written: its directory must accept a new file
// and the path must not be a directory. Leaves nothing behind.
bool check_writable(const std::string& path, std::string& error);

// Creates `path` (replacing an existing file) with what `write` puts into it. On any failure nothing is left
// behind and `error` says why.
bool write_file(const std::string& path, const File_Writer& write, std::string& error);
