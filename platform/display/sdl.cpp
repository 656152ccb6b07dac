// Placeholder until the SDL2 backend lands: no screen is ever found.
#include <cstdio>

#include "platform/display/display.h"

namespace platform::display {
namespace {
bool open_none() {
    std::fputs("zeta-viewer: no screen support built yet; set ZETA_VIEWER_DISPLAY=headless\n", stderr);
    return false;
}
}  // namespace

const Backend& sdl_backend() {
    static const Backend backend = {"sdl", open_none, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return backend;
}
}  // namespace platform::display
