// Saving the main window's picture: the start-up window (952 x 741 on the headless display) encoded by the
// zlib-only PNG encoder that the viewer uses on Linux and Windows, against libpng's default encoding as
// zeta-render writes it. The counter "bytes" is the size of the file each makes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/application.h"
#include "platform/display/headless.h"
#include "platform/win32.h"
#include "tools/png_file.h"
#include "zeta/export/png_encoder.h"

namespace {

Image window_image;

void dispatch_waiting_messages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void zlib_encoder(benchmark::State& state) {
    std::vector<std::uint8_t> png;
    std::string error;
    for (auto _ : state) {
        if (!encode_png(window_image.width, window_image.height, window_image.pixels, png, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(png.data());
    }
    state.counters["bytes"] = static_cast<double>(png.size());
}

void libpng_encoder(benchmark::State& state) {
    char* data = nullptr;
    size_t size = 0;
    std::string error;
    for (auto _ : state) {
        std::FILE* memory = open_memstream(&data, &size);
        const bool written = memory != nullptr && write_png(memory, window_image, error);
        if (memory != nullptr) std::fclose(memory);
        if (!written) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(data);
        std::free(data);
        data = nullptr;
    }
    state.counters["bytes"] = static_cast<double>(size);
}

}  // namespace

int main(int argc, char** argv) {
    platform::headless::use_headless_display();
    Application application;
    if (!application.start(GetModuleHandleA(nullptr))) return 1;
    wait_for_calculation(application.viewer.job);
    dispatch_waiting_messages();
    InvalidateRect(application.main_window, nullptr, TRUE);
    UpdateWindow(application.main_window);
    window_image.pixels = platform::headless::shown_pixels(application.main_window, &window_image.width,
                                                           &window_image.height);

    benchmark::RegisterBenchmark("start_up_window/zlib_encoder", zlib_encoder)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("start_up_window/libpng", libpng_encoder)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
