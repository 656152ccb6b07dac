#include "zeta/plot_job.h"

#include <new>
#include <system_error>

#include "zeta/accurate_fill.h"
#include "zeta/parallel_blocks.h"

namespace {

constexpr const char* calculating_text = "Calculating values...";
constexpr const char* out_of_memory_text = "Not enough memory for a plot of this size";
constexpr const char* thread_failed_text = "Could not start the calculation";

Calculation_Settings copy_settings(const Plot_Job& job) {
    Calculation_Settings settings;
    settings.real_part = job.real_part;
    settings.imaginary_part = job.imaginary_part;
    settings.real_scale = job.real_scale;
    settings.imaginary_scale = job.imaginary_scale;
    settings.ceiling = job.ceiling;
    settings.floor = job.floor;
    settings.mode = job.mode;
    settings.precision = job.precision;
    settings.method = job.method;
    return settings;
}

// Marks the whole repaint window (status line and plot) for repainting; any thread. Nothing without a window:
// a null window would redraw every window of the screen, which sends messages.
void request_repaint(const Plot_Job& job, BOOL erase) {
    if (job.repaint_window != nullptr) InvalidateRect(job.repaint_window, nullptr, erase);
}

// UI thread: the plot shows no cells and the status line says why.
void report_failure(Plot_Job& job, const char* text) {
    job.status_text = text;
    request_repaint(job, TRUE);
}

}  // namespace

Status_Text& Status_Text::operator=(std::string_view text) {
    std::lock_guard lock(mutex_);
    text_.assign(text);
    return *this;
}

std::string Status_Text::copy() const {
    std::lock_guard lock(mutex_);
    return text_;
}

Plot_Job::~Plot_Job() {
    stop_calculation(*this);
}

int64_t calculation_work(const Plot_Job& job) {
    if (job.method == Accurate_Method) return int64_t{job.grid.width} * job.grid.height;
    return fill_work(job.grid.width, job.grid.height, job.precision);
}

std::string status_text_copy(const Plot_Job& job) {
    return job.status_text.copy();
}

void set_status_text(Plot_Job& job, std::string_view text) {
    job.status_text = text;
}

void stop_calculation(Plot_Job& job) {
    if (job.thread.joinable()) {
        job.cancel_requested = true;
        job.thread.join();
    }
    // A request that came after the worker's last cell test must not stop the next calculation.
    job.cancel_requested = false;
}

void wait_for_calculation(Plot_Job& job) {
    if (job.thread.joinable()) job.thread.join();
}

void start_calculation(Plot_Job& job) {
    if (job.plot_rect == nullptr) return;
    const RECT rect = *job.plot_rect;
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    if (width < 1 || height < 1) return;

    stop_calculation(job);
    job.progress_shown = false;
    job.work_total = 0;
    release(job.grid);
    // The cells are set by the worker: a huge grid must not hold up the window while its pages are touched.
    if (width > INT32_MAX || height > INT32_MAX ||
        !allocate_unset(job.grid, static_cast<int32_t>(width), static_cast<int32_t>(height))) {
        report_failure(job, out_of_memory_text);
        return;
    }

    // The worker gets its own copy of the settings, which the UI thread goes on changing.
    const Calculation_Settings settings = copy_settings(job);
    job.terms_summed = 0;
    job.work_total = calculation_work(job);
    job.started_at = std::chrono::steady_clock::now();
    job.running = true;
    try {
        job.thread = start_thread([&job, settings] { calculate_plot(job, settings); });
    } catch (const std::system_error&) {
        job.running = false;
        release(job.grid);
        report_failure(job, thread_failed_text);
    }
}

// The worker asks for its repaints without waiting for them: the UI thread may itself be waiting for the
// worker to end.
int calculate_plot(Plot_Job& job, const Calculation_Settings& settings) {
    job.running = true;
    job.status_text = calculating_text;
    request_repaint(job, FALSE);

    bool completed = false;
    try {
        completed = clear_cells(job.grid, job.cancel_requested) &&
                    (settings.method == Accurate_Method
                         ? fill_grid_accurately(settings, job.grid, job.cancel_requested,
                                                calculation_thread_count(), &job.terms_summed)
                         : fill_grid(settings, job.grid, job.cancel_requested, calculation_thread_count(),
                                     &job.terms_summed));
    } catch (const std::bad_alloc&) {
        job.status_text = out_of_memory_text;
        request_repaint(job, TRUE);
        job.running = false;
        return 0;
    }
    if (!completed) {
        job.cancel_requested = false;
        job.running = false;
        return 0;
    }

    job.status_text = finished_message(settings.method, settings.mode, settings.precision);
    update_range(job.grid);
    request_repaint(job, TRUE);
    job.running = false;
    return 0;
}
