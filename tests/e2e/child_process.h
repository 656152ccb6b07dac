// Programs started by the end-to-end tests: output kept in files, a time limit on every wait, and no child
// left behind (each gets SIGTERM if the test program dies first).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace e2e {

// Changes to the test's own environment for a child: "NAME=value" sets, "-NAME" removes.
using Environment_Changes = std::vector<std::string>;

struct Exit {
    bool finished = false;  // false: still running when the limit passed (it was killed)
    int status = -1;        // exit status, or 128 + signal number
    std::string out;
    std::string err;
};

class Child_Process {
public:
    Child_Process(const std::vector<std::string>& command, const Environment_Changes& changes = {});
    ~Child_Process();
    Child_Process(const Child_Process&) = delete;
    Child_Process& operator=(const Child_Process&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    bool running();
    // Waits up to `limit` for the child to end; kills it if it has not.
    Exit wait(std::chrono::milliseconds limit);
    // SIGTERM, then SIGKILL if it lingers.
    void stop();

private:
    void reap(int status);

    pid_t pid_ = -1;
    bool reaped_ = false;
    int status_ = -1;
    std::string out_path_;
    std::string err_path_;
};

// Runs a command to its end, killed after `limit`.
Exit run(const std::vector<std::string>& command, const Environment_Changes& changes,
         std::chrono::milliseconds limit = std::chrono::seconds(20));

}  // namespace e2e
