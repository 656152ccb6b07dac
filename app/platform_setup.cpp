#include "app/platform_setup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/display/headless.h"
#include "platform/startup.h"

namespace {

constexpr const char* program_name = "zeta-viewer";
constexpr const char* display_variable = "ZETA_VIEWER_DISPLAY";

}  // namespace

bool set_up_platform() {
    platform::Configuration configuration;
    configuration.program_name = program_name;
    // The in-memory display shows nothing to anybody: a real screen is what the user needs.
    configuration.no_screen_advice = "start an X server, or set DISPLAY to a running one";
    platform::configure(configuration);

    const char* display = std::getenv(display_variable);
    if (display != nullptr && std::strcmp(display, "headless") == 0)
        platform::headless::use_headless_display();

    std::string problem;
    if (!platform::load_font(&problem)) {
        std::fprintf(stderr,
                     "%s: no usable sans-serif font (%s); install the Debian package fonts-dejavu-core\n",
                     program_name, problem.c_str());
        return false;
    }
    return true;
}
