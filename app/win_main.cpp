#include "app/application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!start_application(instance)) {
        finish_application();
        return 1;
    }
    const int exit_code = run_message_loop();
    finish_application();
    return exit_code;
}
