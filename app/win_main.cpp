#include "app/application.h"
#include "app/command_line.h"
#ifndef _WIN32
#include "app/platform_setup.h"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    if (const auto answer = answer_command_line(command_line != nullptr ? command_line : "")) {
        return give_answer(*answer);
    }
#ifndef _WIN32
    if (!set_up_platform()) return 1;
#endif
    Application application;
    if (!application.start(instance)) return 1;
    return application.run_message_loop();
}
