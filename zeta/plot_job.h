// The one zeta plot: its settings, the rectangle it is drawn in, the value grid, the status text and the
// worker thread that fills the grid.
//
// Threads. The UI thread owns the job: it writes the settings, the pan offset, `show_critical_line`, `mode`
// and `plot_rect` at any time, and only it calls start_calculation, stop_calculation and
// wait_for_calculation. A calculation works on a copy of the settings taken by start_calculation, so writing
// them while it runs is safe (they take effect at the next start). While a calculation runs, the UI thread
// may read:
//   - the cells with read_cell and the range with read_range (zeta/value_grid.h); `grid.columns`,
//   `grid.width`
//     and `grid.height` themselves change only inside start_calculation;
//   - the status text with status_text_copy, and write it with `status_text = ...` or set_status_text;
//   - `running`, `cancel_requested` and `terms_summed` (atomics).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/win32.h"
#include "zeta/colour_map_cache.h"
#include "zeta/graph_mode.h"
#include "zeta/grid_fill.h"
#include "zeta/value_grid.h"

// A line of text that the UI thread and the worker both write and the painter reads.
class Status_Text {
public:
    Status_Text& operator=(std::string_view text);
    std::string copy() const;

private:
    mutable std::mutex mutex_;
    std::string text_;
};

struct Plot_Job {
    Plot_Job() = default;
    Plot_Job(const Plot_Job&) = delete;
    Plot_Job& operator=(const Plot_Job&) = delete;
    ~Plot_Job();  // stops and joins a running calculation

    HWND options_window = nullptr;
    std::thread thread;  // the worker of the latest calculation; joined by the next start and by destruction
    HWND repaint_window = nullptr;  // the window the plot is in; its repaints are requested by the worker
    std::atomic<bool> cancel_requested{false};
    std::atomic<bool> running{false};
    // Progress of the latest calculation, up to calculation_work(): series terms summed, or cells filled by
    // the accurate method.
    std::atomic<int64_t> terms_summed{0};
    double real_part = 0.0;
    double imaginary_part = 0.0;
    double pan_offset_x = 0.0;
    double pan_offset_y = 0.0;
    double real_scale = 0.05;
    double imaginary_scale = 0.05;
    double ceiling = 2.0;
    double floor = -2.0;
    uint8_t show_critical_line = 1;
    Graph_Mode mode = Absolute_Value;
    int32_t precision = 100;  // series terms; kept while the accurate method is in use
    Zeta_Method method = Series_Method;
    Status_Text status_text;
    RECT* plot_rect = nullptr;  // not owned
    Value_Grid grid;
    // UI thread only: the coloured cells of the finished grid, written by the renderer.
    mutable Colour_Map_Cache colour_map;

    // UI thread only: when the latest calculation started, the number of terms it sums in all (what
    // terms_summed counts up to), and the progress bar beside the status line: whether it is shown and how
    // many pixels of it are filled.
    std::chrono::steady_clock::time_point started_at{};
    int64_t work_total = 0;
    bool progress_shown = false;
    int32_t progress_filled = 0;
};

// (Re)starts the calculation for the rectangle that `plot_rect` points to. A rectangle without area (or no
// rectangle) changes nothing. Otherwise a running calculation is cancelled and joined, the grid is rebuilt
// and a new worker starts. A grid that cannot be allocated (see largest_grid_bytes) leaves the grid empty,
// starts no worker and sets the status text to "Not enough memory for a plot of this size"; a worker that
// cannot be started leaves the grid empty too, with "Could not start the calculation".
void start_calculation(Plot_Job& job);

// The worker: sets the cells to 0.0, fills the grid from `settings`, sets the status texts and asks for the
// repaints of `repaint_window` at its start and its end, by invalidating it only (it never sends to a window
// and never waits for the UI thread). Returns 0.
int calculate_plot(Plot_Job& job, const Calculation_Settings& settings);

// Cancels a running calculation and waits for its thread to end.
void stop_calculation(Plot_Job& job);

// Waits until the current calculation has finished (without cancelling it).
void wait_for_calculation(Plot_Job& job);

// What `terms_summed` reaches when the calculation of the job's grid with its method completes.
int64_t calculation_work(const Plot_Job& job);

std::string status_text_copy(const Plot_Job& job);
void set_status_text(Plot_Job& job, std::string_view text);
