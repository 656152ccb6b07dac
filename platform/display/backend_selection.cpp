// Chooses the display backend: the one set by use_backend, else sdl.
#include <atomic>

#include "platform/display/display.h"

namespace platform::display {
namespace {
std::atomic<const Backend*> chosen_backend{nullptr};
}  // namespace

const Backend& current_backend() {
    const Backend* backend = chosen_backend.load();
    return backend != nullptr ? *backend : sdl_backend();
}

void use_backend(const Backend& backend) {
    chosen_backend.store(&backend);
}

}  // namespace platform::display
