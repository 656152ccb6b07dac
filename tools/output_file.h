// zeta-render's output files. A plain file - one that does not exist yet, or a symbolic link to one - appears
// whole or not at all: the data goes to a hidden temporary file beside the link's final target, which is
// renamed over that target only when everything was written (the link stays). Standard output ("-"), devices
// and pipes are written directly. Every write or close error is reported.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes the file's contents to an open stream; returns false with a message in `error` when it cannot.
using File_Writer = std::function<bool(std::FILE* file, std::string& error)>;

// Fails early, before a long calculation, when `path` cannot be written: a plain file's directory must accept
// a new file, the path must not be a directory, and "-" needs an open standard output. Leaves nothing behind
// and does not open devices or pipes.
bool check_writable(const std::string& path, std::string& error);

// True when both outputs are the same file: the same text, the same device and inode (symbolic links
// followed,
// "-" being whatever standard output is), or, for files that do not exist yet, the same final path.
bool same_output(const std::string& first, const std::string& second);

// Writes `path` with what `write` puts into it. On any failure `error` says why, and a plain file is left as
// it was.
bool write_file(const std::string& path, const File_Writer& write, std::string& error);
