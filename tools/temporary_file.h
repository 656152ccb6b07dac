// The hidden temporary file an output is written to before it is renamed into place. While one exists, SIGINT
// and SIGTERM remove it before they end the program as they otherwise would.
#pragma once

#include <string>

// Creates "dir/.name.XXXXXX" beside `path` ("dir/name") with the permissions a new file gets, and remembers
// it for the signal handlers; one at a time. Returns its descriptor and sets `name`, or returns -1 with errno
// set.
int create_temporary_beside(const std::string& path, std::string& name);

// Renames the remembered temporary file to `path`, or removes it when `keep` is false, and forgets it.
// Returns false with errno set when the rename fails; the file is removed then too.
bool finish_temporary(const std::string& path, bool keep);
