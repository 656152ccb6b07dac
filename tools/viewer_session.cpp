#include "tools/viewer_session.h"

#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/display/headless.h"

namespace {

constexpr auto progress_interval = std::chrono::milliseconds(100);

// Dispatches messages until none is queued and no paint is due. A window that never validated itself would
// get WM_PAINT forever; the limit keeps that from hanging the tool.
void pump_until_idle() {
    constexpr int message_limit = 1000000;
    MSG message;
    for (int count = 0; count < message_limit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++count) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

Viewer_Session::Viewer_Session() {
    platform::headless::use_headless_display();
    started_ = application_.start(GetModuleHandleA(nullptr));
    // The start-up plot is not wanted as such; the requested one is started by calculate().
    stop_calculation(application_.viewer.job);
}

Viewer_Session::~Viewer_Session() {
    application_.finish();
}

std::string Viewer_Session::apply(const Render_Options& options) {
    Plot_Job& job = application_.viewer.job;
    job.settings = options.settings;
    if (options.hide_critical_line) job.show_critical_line = 0;
    application_.viewer.show_zeros = options.show_zeros;

    const Point origin =
        options.plot_origin.value_or(Point{application_.plot_rect.left, application_.plot_rect.top});
    const Size size = options.plot_size.value_or(
        Size{static_cast<int32_t>(application_.plot_rect.right - application_.plot_rect.left),
             static_cast<int32_t>(application_.plot_rect.bottom - application_.plot_rect.top)});
    const int64_t right = int64_t{origin.x} + size.width;
    const int64_t bottom = int64_t{origin.y} + size.height;
    if (right > INT32_MAX || bottom > INT32_MAX)
        return "the plot rectangle reaches beyond 32-bit coordinates";
    application_.plot_rect =
        RECT{origin.x, origin.y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    return {};
}

RECT Viewer_Session::plot() const {
    return application_.plot_rect;
}

Size Viewer_Session::window_size() const {
    RECT client = {};
    GetClientRect(application_.main_window, &client);
    return Size{static_cast<int32_t>(client.right - client.left),
                static_cast<int32_t>(client.bottom - client.top)};
}

void Viewer_Session::resize_window(Size size) {
    platform::headless::resize(application_.main_window, size.width, size.height);
    pump_until_idle();
}

bool Viewer_Session::calculate(const std::function<void(double)>& progress) {
    Plot_Job& job = application_.viewer.job;
    application_.viewer.restart_calculation();
    if (progress) {
        const int64_t work = calculation_work(job);
        while (job.running) {
            progress(work > 0 ? static_cast<double>(job.terms_summed) / static_cast<double>(work) : 0.0);
            std::this_thread::sleep_for(progress_interval);
        }
    }
    wait_for_calculation(job);
    application_.viewer.zeros.wait();
    const std::string status = status_text_copy(job);
    return status == finished_message(job.settings.method, job.settings.mode, job.settings.precision) ||
           status == beyond_range_text;
}

std::string Viewer_Session::status_text() const {
    return status_text_copy(application_.viewer.job);
}

const Plot_Job& Viewer_Session::job() const {
    return application_.viewer.job;
}

Image Viewer_Session::capture() {
    pump_until_idle();
    Image image;
    image.pixels = platform::headless::shown_pixels(application_.main_window, &image.width, &image.height);
    return image;
}
