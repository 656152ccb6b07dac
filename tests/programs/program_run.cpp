#include "tests/programs/program_run.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

extern char** environ;

namespace programs_test {

namespace {

bool is_removed(const char* entry, const std::vector<std::string>& removed) {
    return std::any_of(removed.begin(), removed.end(), [entry](const std::string& name) {
        return std::strncmp(entry, name.c_str(), name.size()) == 0 && entry[name.size()] == '=';
    });
}

// Reads both pipes to their ends, whichever the child fills first.
void read_both(int output_pipe, int error_pipe, std::string& output, std::string& errors) {
    pollfd ends[2] = {{output_pipe, POLLIN, 0}, {error_pipe, POLLIN, 0}};
    std::string* texts[2] = {&output, &errors};
    int open_ends = 2;
    while (open_ends > 0 && poll(ends, 2, -1) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (ends[i].fd < 0 || ends[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t count = read(ends[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                texts[i]->append(buffer, static_cast<size_t>(count));
            } else {
                ends[i].fd = -1;
                --open_ends;
            }
        }
    }
}

}  // namespace

Program_Run run_program(const std::string& path, const std::vector<std::string>& arguments,
                        const std::vector<std::string>& removed) {
    Program_Run run;
    int output_pipe[2];
    int error_pipe[2];
    if (pipe2(output_pipe, O_CLOEXEC) != 0) return run;
    if (pipe2(error_pipe, O_CLOEXEC) != 0) {
        close(output_pipe[0]);
        close(output_pipe[1]);
        return run;
    }
    std::vector<std::string> words = {path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!is_removed(*entry, removed)) environment.push_back(*entry);
    }
    environment.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output_pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, error_pipe[1], STDERR_FILENO);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(output_pipe[1]);
    close(error_pipe[1]);
    if (spawned == 0) {
        read_both(output_pipe[0], error_pipe[0], run.output, run.errors);
        int status = 0;
        if (waitpid(child, &status, 0) == child && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    }
    close(output_pipe[0]);
    close(error_pipe[0]);
    return run;
}

}  // namespace programs_test
