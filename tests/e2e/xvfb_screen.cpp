#include "xvfb_screen.h"

#include <sys/stat.h>

#include <fstream>
#include <thread>

namespace e2e {
namespace {

bool exists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

bool display_in_use(int number) {
    std::string n = std::to_string(number);
    return exists("/tmp/.X" + n + "-lock") || exists("/tmp/.X11-unix/X" + n);
}

// The X server that holds the display's lock file writes its process id into it.
pid_t lock_owner(int number) {
    std::ifstream lock("/tmp/.X" + std::to_string(number) + "-lock");
    long pid = -1;
    lock >> pid;
    return lock ? static_cast<pid_t>(pid) : -1;
}

bool answers(const std::string& display) {
    return run({"xdpyinfo", "-display", display}, {}, std::chrono::seconds(5)).status == 0;
}

}  // namespace

Xvfb_Screen::Xvfb_Screen(int width, int height, const std::vector<std::string>& options) {
    std::string geometry = std::to_string(width) + "x" + std::to_string(height) + "x24";
    for (int number = 90; number < 140; ++number) {
        if (display_in_use(number)) continue;
        std::string display = ":" + std::to_string(number);
        std::vector<std::string> command = {"Xvfb",   display,     "-screen", "0",
                                            geometry, "-nolisten", "tcp",     "-nocursor"};
        command.insert(command.end(), options.begin(), options.end());
        auto server = std::make_unique<Child_Process>(command);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        bool up = false;
        while (!up && server->running() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            // Another server may have won the race for this number and be the one that answers: ours must
            // hold the lock.
            up = answers(display) && server->running() && lock_owner(number) == server->pid();
        }
        if (up) {
            server_ = std::move(server);
            display_ = display;
            return;
        }
        Exit exit = server->wait(std::chrono::seconds(1));
        if (exit.status == 127) {
            failure_ = "Xvfb is not installed";
            return;
        }
        failure_ = "Xvfb did not start on " + display + ": " + exit.err;
    }
}

Xvfb_Screen::~Xvfb_Screen() {
    if (server_) server_->stop();
}

}  // namespace e2e
