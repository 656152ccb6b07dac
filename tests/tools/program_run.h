// Running a program as a child process and reading what it writes to stderr, and a private directory for
// the files it writes.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace tools_test {

struct Tool_Run {
    int status = -1;     // exit status; -1 when the program did not exit normally
    int signal = 0;      // the signal that ended it, if one did
    std::string errors;  // everything it wrote to stderr
};

// Runs `program` with the arguments. Standard output goes to `standard_output` when one is named (opened for
// writing, created when missing, not truncated), else where ours goes; `meanwhile`, when given, is called
// with the program's process id once it has started.
Tool_Run run_program(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& standard_output = {},
                     const std::function<void(pid_t)>& meanwhile = {});

// A new empty directory, removed with its contents at the end of the scope.
class Scratch_Directory {
public:
    Scratch_Directory();
    ~Scratch_Directory();
    Scratch_Directory(const Scratch_Directory&) = delete;
    Scratch_Directory& operator=(const Scratch_Directory&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names of everything in the directory, hidden files included.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

}  // namespace tools_test
