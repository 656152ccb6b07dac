// The one zeta plot: its settings, the value grid, the status text and the worker thread that fills the grid.
// It knows no window: the worker tells whoever listens when a calculation starts and ends.
//
// Threads. The UI thread owns the job: it writes the settings, the pan offset and `show_critical_line` at any
// time, and only it calls start_calculation, stop_calculation and wait_for_calculation. A calculation works
// on a copy of the settings taken by start_calculation, so writing them while it runs is safe (they take
// effect at the next start). While a calculation runs, the UI thread may read:
//   - the cells with read_cell and the range with read_range (zeta/plot/value_grid.h); `grid.columns`,
//     `grid.width`, `grid.height` and `grid.settings` themselves change only inside start_calculation;
//   - the status text with status_text_copy, and write it with `status_text = ...` or set_status_text;
//   - `running`, `cancel_requested` and `terms_summed` (atomics).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "zeta/plot/plot_settings.h"
#include "zeta/plot/value_grid.h"

// A line of text that the UI thread and the worker both write and the painter reads.
class Status_Text {
public:
    Status_Text& operator=(std::string_view text);
    std::string copy() const;

private:
    mutable std::mutex mutex_;
    std::string text_;
};

// How a calculation ends, instead of its finished message, when every row of an accurate plot lies beyond
// the accurate method's reach (|Im s| above 1e13): it has no values there.
constexpr const char* beyond_range_text = "No values: |Im(s)| is beyond 1e13, the accurate method's range.";

// What a calculation tells its listener. Started: the status text says "Calculating values..." and the grid
// holds no range yet. Ended: the calculation finished, or failed with the reason in the status text (a
// cancelled calculation tells nothing).
enum class Calculation_Event { Started, Ended };

struct Plot_Job {
    Plot_Job() = default;
    Plot_Job(const Plot_Job&) = delete;
    Plot_Job& operator=(const Plot_Job&) = delete;
    ~Plot_Job();  // stops and joins a running calculation

    Plot_Settings settings;
    double pan_offset_x = 0.0;  // whole-pixel shift of the drawn plot while the user drags it
    double pan_offset_y = 0.0;
    uint8_t show_critical_line = 1;
    Status_Text status_text;
    Value_Grid grid;

    // Called on the worker's thread (or on the UI thread when a start fails); must not wait for the UI
    // thread. Set before the first calculation and left alone while one runs.
    std::function<void(Calculation_Event)> listener;

    std::thread thread;  // the worker of the latest calculation; joined by the next start and by destruction
    std::atomic<bool> cancel_requested{false};
    std::atomic<bool> running{false};
    // Progress of the latest calculation, up to work_total: series terms summed, or cells filled by the
    // accurate method.
    std::atomic<int64_t> terms_summed{0};
    // UI thread only: when the latest calculation started and what terms_summed counts up to.
    std::chrono::steady_clock::time_point started_at{};
    int64_t work_total = 0;
};

// (Re)starts the calculation for a plot of width × height cells. A size without area changes nothing.
// Otherwise a running calculation is cancelled and joined, the grid is rebuilt for the job's settings and a
// new worker starts. A grid that cannot be allocated (see largest_grid_bytes) leaves the grid empty, starts
// no worker and sets the status text to "Not enough memory for a plot of this size"; a worker that cannot be
// started leaves the grid empty too, with "Could not start the calculation".
void start_calculation(Plot_Job& job, int64_t width, int64_t height);

// The worker: sets the cells to 0.0, fills the grid from `settings`, sets the status texts and tells the
// listener at its start and its end. Returns 0.
int calculate_plot(Plot_Job& job, const Plot_Settings& settings);

// Cancels a running calculation and waits for its thread to end.
void stop_calculation(Plot_Job& job);

// Waits until the current calculation has finished (without cancelling it).
void wait_for_calculation(Plot_Job& job);

// What `terms_summed` reaches when the calculation of the job's grid completes.
int64_t calculation_work(const Plot_Job& job);

std::string status_text_copy(const Plot_Job& job);
void set_status_text(Plot_Job& job, std::string_view text);
