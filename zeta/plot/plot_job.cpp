#include "zeta/plot/plot_job.h"

#include <cmath>
#include <new>
#include <system_error>

#include "zeta/plot/accurate_fill.h"
#include "zeta/plot/parallel_blocks.h"
#include "zeta/plot/plot_geometry.h"

namespace {

constexpr const char* calculating_text = "Calculating values...";
constexpr const char* out_of_memory_text = "Not enough memory for a plot of this size";
constexpr const char* thread_failed_text = "Could not start the calculation";

// Every row lies beyond the accurate method's reach, where it gives NaN: the plot has no values at all.
bool beyond_accurate_range(const Plot_Settings& settings, int32_t rows) {
    if (settings.method != Accurate_Method || rows < 1) return false;
    const double first = row_t(settings, 0);
    const double last = row_t(settings, rows - 1);
    return std::fabs(first) > accurate_height_limit && std::fabs(last) > accurate_height_limit &&
           (first > 0.0) == (last > 0.0);
}

void tell(const Plot_Job& job, Calculation_Event event) {
    if (job.listener) job.listener(event);
}

// The plot shows no cells and the status line says why.
void report_failure(Plot_Job& job, const char* text) {
    job.status_text = text;
    tell(job, Calculation_Event::Ended);
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
    if (job.grid.settings.method == Accurate_Method) return int64_t{job.grid.width} * job.grid.height;
    return fill_work(job.grid.width, job.grid.height, job.grid.settings.precision);
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

void start_calculation(Plot_Job& job, int64_t width, int64_t height) {
    if (width < 1 || height < 1) return;

    stop_calculation(job);
    job.work_total = 0;
    release(job.grid);
    // The worker gets its own copy of the settings, which the UI thread goes on changing.
    job.grid.settings = job.settings;
    // The cells are set by the worker: a huge grid must not hold up the window while its pages are touched.
    if (width > INT32_MAX || height > INT32_MAX ||
        !allocate_unset(job.grid, static_cast<int32_t>(width), static_cast<int32_t>(height),
                        graph_quantity(job.settings.mode).colouring == Cell_Colouring::Phase)) {
        report_failure(job, out_of_memory_text);
        return;
    }

    const Plot_Settings settings = job.settings;
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

// The listener must not wait for the UI thread: the UI thread may itself be waiting for the worker to end.
int calculate_plot(Plot_Job& job, const Plot_Settings& settings) {
    job.running = true;
    job.status_text = calculating_text;
    tell(job, Calculation_Event::Started);

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
        tell(job, Calculation_Event::Ended);
        job.running = false;
        return 0;
    }
    if (!completed) {
        job.cancel_requested = false;
        job.running = false;
        return 0;
    }

    job.status_text = beyond_accurate_range(settings, job.grid.height)
                          ? beyond_range_text
                          : finished_message(settings.method, settings.mode, settings.precision);
    update_range(job.grid);
    tell(job, Calculation_Event::Ended);
    job.running = false;
    return 0;
}
