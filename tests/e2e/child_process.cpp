#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace e2e {
namespace {

std::string temporary_file(const char* kind) {
    std::string path = std::string("/tmp/zeta-e2e-") + kind + "-XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0) return {};
    close(fd);
    return path;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> environment_with(const Environment_Changes& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry)
        result.emplace_back(*entry);
    for (const std::string& change : changes) {
        bool remove = change[0] == '-';
        std::string name = remove ? change.substr(1) : change.substr(0, change.find('='));
        std::erase_if(result, [&](const std::string& entry) {
            return entry.compare(0, name.size() + 1, name + "=") == 0;
        });
        if (!remove) result.push_back(change);
    }
    return result;
}

std::vector<char*> pointers_to(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

int decode(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

Child_Process::Child_Process(const std::vector<std::string>& command, const Environment_Changes& changes)
    : out_path_(temporary_file("out")), err_path_(temporary_file("err")) {
    if (command.empty() || out_path_.empty() || err_path_.empty()) return;
    // Everything the child needs is prepared before fork: after it only async-signal-safe calls are made.
    std::vector<std::string> arguments = command;
    std::vector<std::string> environment = environment_with(changes);
    std::vector<char*> argv = pointers_to(arguments);
    std::vector<char*> envp = pointers_to(environment);
    int out = open(out_path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    int err = open(err_path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    int null_input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        dup2(null_input, 0);
        dup2(out, 1);
        dup2(err, 2);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(out);
    close(err);
    close(null_input);
}

Child_Process::~Child_Process() {
    stop();
    if (!out_path_.empty()) unlink(out_path_.c_str());
    if (!err_path_.empty()) unlink(err_path_.c_str());
}

void Child_Process::reap(int status) {
    reaped_ = true;
    status_ = decode(status);
}

bool Child_Process::running() {
    if (pid_ <= 0 || reaped_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reap(status);
        return false;
    }
    return true;
}

Exit Child_Process::wait(std::chrono::milliseconds limit) {
    Exit result;
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    result.finished = !running();
    if (!result.finished) stop();
    result.status = status_;
    result.out = read_file(out_path_);
    result.err = read_file(err_path_);
    return result;
}

void Child_Process::stop() {
    if (!running()) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 100 && running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (running()) {
        kill(pid_, SIGKILL);
        int status = 0;
        if (waitpid(pid_, &status, 0) == pid_) reap(status);
    }
}

Exit run(const std::vector<std::string>& command, const Environment_Changes& changes,
         std::chrono::milliseconds limit) {
    Child_Process child(command, changes);
    if (!child.started()) return {};
    return child.wait(limit);
}

}  // namespace e2e
