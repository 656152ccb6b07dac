#include "viewer_process.h"

#include <chrono>
#include <cstdlib>

namespace e2e {

using namespace std::chrono_literals;

Environment_Changes viewer_environment(const std::string& display) {
    std::string leak_options = "suppressions=" E2E_SOURCE_DIR "/lsan_suppressions.txt";
    if (const char* own = std::getenv("LSAN_OPTIONS"); own != nullptr && *own != '\0') {
        leak_options = std::string(own) + ":" + leak_options;
    }
    Environment_Changes changes = {"-ZETA_VIEWER_DISPLAY", "-WAYLAND_DISPLAY",
                                   "LSAN_OPTIONS=" + leak_options};
    changes.push_back(display.empty() ? "-DISPLAY" : "DISPLAY=" + display);
    return changes;
}

Exit xdotool(const std::string& display, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    return run(arguments, {"DISPLAY=" + display}, 20s);
}

std::string find_window(const std::string& display, const std::string& name) {
    Exit search = xdotool(display, {"search", "--sync", "--onlyvisible", "--name", "^" + name + "$"});
    return search.status == 0 ? search.out.substr(0, search.out.find('\n')) : "";
}

}  // namespace e2e
