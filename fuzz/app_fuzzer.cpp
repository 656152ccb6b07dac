// libFuzzer target: the viewer started once in-process on the headless display, every input played as user
// input from the start-up state (see app_input.h). Built and run by scripts/fuzz.sh.
#include <cstdio>
#include <cstdlib>

#include "fuzz/app_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!app_fuzz::start_application_once()) {
        std::fprintf(stderr, "app_fuzzer: the viewer did not start\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    app_fuzz::reset_to_start_up();
    app_fuzz::play(data, size);
    return 0;
}
