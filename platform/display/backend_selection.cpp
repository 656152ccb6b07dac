// Chooses the display backend: the one set by use_backend, else ZETA_VIEWER_DISPLAY, else sdl.
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/display/display.h"

namespace platform::display {
namespace {
std::atomic<const Backend*> chosen_backend{nullptr};

const Backend& backend_from_environment() {
    const char* name = std::getenv("ZETA_VIEWER_DISPLAY");
    if (name != nullptr && std::strcmp(name, "headless") == 0) return headless_backend();
    return sdl_backend();
}
}  // namespace

const Backend& current_backend() {
    const Backend* backend = chosen_backend.load();
    if (backend == nullptr) {
        const Backend* from_environment = &backend_from_environment();
        // Another thread may have chosen meanwhile; its choice wins.
        if (chosen_backend.compare_exchange_strong(backend, from_environment)) backend = from_environment;
    }
    return *backend;
}

void use_backend(const Backend& backend) {
    chosen_backend.store(&backend);
}

}  // namespace platform::display
