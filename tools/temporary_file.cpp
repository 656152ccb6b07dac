#include "tools/temporary_file.h"

#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Read by the signal handler: the name is complete whenever `pending` is set.
char pending_name[PATH_MAX];
volatile sig_atomic_t pending = 0;

extern "C" void remove_pending_and_end(int signal_number) {
    if (pending) unlink(pending_name);
    // SA_RESETHAND has put the default action back: the signal, delivered again when this handler returns,
    // ends the program as if there had been no handler.
    raise(signal_number);
}

sigset_t ending_signals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

void install_handlers_once() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (int signal_number : {SIGINT, SIGTERM}) {
        struct sigaction current {};
        sigaction(signal_number, nullptr, &current);
        if (current.sa_handler == SIG_IGN) continue;  // whoever started the program wants it ignored
        struct sigaction action {};
        action.sa_handler = remove_pending_and_end;
        action.sa_mask = ending_signals();
        action.sa_flags = SA_RESETHAND;
        sigaction(signal_number, &action, nullptr);
    }
}

// SIGINT and SIGTERM wait while the remembered name changes.
class Ending_Signals_Held {
public:
    Ending_Signals_Held() {
        const sigset_t signals = ending_signals();
        pthread_sigmask(SIG_BLOCK, &signals, &previous_);
    }
    ~Ending_Signals_Held() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    Ending_Signals_Held(const Ending_Signals_Held&) = delete;
    Ending_Signals_Held& operator=(const Ending_Signals_Held&) = delete;

private:
    sigset_t previous_;
};

}  // namespace

int create_temporary_beside(const std::string& path, std::string& name) {
    const size_t slash = path.rfind('/');
    const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    name = path.substr(0, name_start) + "." + path.substr(name_start) + ".XXXXXX";
    if (name.size() >= sizeof pending_name) {
        errno = ENAMETOOLONG;
        return -1;
    }
    install_handlers_once();
    Ending_Signals_Held held;
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) return -1;
    std::memcpy(pending_name, name.c_str(), name.size() + 1);
    pending = 1;
    // mkstemp makes the file private; give it the permissions a newly created file would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    return descriptor;
}

bool finish_temporary(const std::string& path, bool keep) {
    Ending_Signals_Held held;
    bool renamed = keep && std::rename(pending_name, path.c_str()) == 0;
    const int rename_error = errno;
    if (!renamed) unlink(pending_name);
    pending = 0;
    errno = rename_error;
    return renamed || !keep;
}
