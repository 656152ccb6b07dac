// Running one of the built programs as a child process with a chosen environment, and what it printed.
#pragma once

#include <string>
#include <vector>

namespace programs_test {

struct Program_Run {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string output;
    std::string errors;
};

// Runs `path` with `arguments`, in our environment less the variables named in `removed`.
Program_Run run_program(const std::string& path, const std::vector<std::string>& arguments,
                        const std::vector<std::string>& removed = {});

}  // namespace programs_test
