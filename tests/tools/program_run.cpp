#include "tests/tools/program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace tools_test {

Tool_Run run_program(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& standard_output, const std::function<void(pid_t)>& meanwhile) {
    Tool_Run run;
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return run;
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
    if (!standard_output.empty())
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, standard_output.c_str(), O_WRONLY | O_CREAT,
                                         0644);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    if (spawned == 0) {
        if (meanwhile) meanwhile(child);
        char buffer[4096];
        ssize_t count;
        while ((count = read(pipe_ends[0], buffer, sizeof buffer)) > 0)
            run.errors.append(buffer, static_cast<size_t>(count));
        int status = 0;
        if (waitpid(child, &status, 0) == child && WIFEXITED(status)) run.status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    }
    close(pipe_ends[0]);
    return run;
}

Scratch_Directory::Scratch_Directory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zeta-tool-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

Scratch_Directory::~Scratch_Directory() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> Scratch_Directory::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    return names;
}

}  // namespace tools_test
