#include "app/application.h"
#ifndef _WIN32
#include "app/platform_setup.h"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifndef _WIN32
    if (!set_up_platform()) return 1;
#endif
    Application application;
    if (!application.start(instance)) return 1;
    return Application::run_message_loop();
}
