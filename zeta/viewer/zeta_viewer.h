// The screen object that shows the zeta plot: a movable, resizable frame whose area the plot job computes and
// the renderer fills. A left drag inside pans the plot, the wheel zooms it; the right-click menu moves the
// frame, chooses the graphed quantity, shows or hides the critical line, shows the Options window, switches
// between the series and the accurate method and goes back to the view before the latest change.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "screen_objects/movable_rect_object.h"
#include "zeta/plot/plot_job.h"
#include "zeta/plot/view_history.h"
#include "zeta/plot/zero_job.h"
#include "zeta/viewer/colour_map_cache.h"
#include "zeta/viewer/progress_bar.h"
#include "zeta/viewer/readout_worker.h"

// Posted to the viewer's window when a readout value computed in the background is ready, and when the zeros
// in view are.
constexpr UINT readout_ready_message = WM_APP;
constexpr UINT zeros_ready_message = WM_APP + 1;

// The timer of the viewer's window that brings the progress bar up to date, and its period.
constexpr UINT_PTR progress_timer_id = 1;
constexpr UINT progress_timer_ms = 250;

// Up to this height ζ(s) for the readout is computed at once (a few milliseconds); above it in the
// background, and the line shows s alone until the value arrives.
constexpr double readout_on_the_spot_height = 1e8;
// Up to this many series terms the series' value for the readout is summed at once too.
constexpr int32_t readout_on_the_spot_terms = 20000;

class On_Screen_Object_Ostrelin_Zeta_Function_Viewer : public On_Screen_Object_Movable_RECT {
public:
    On_Screen_Object_Ostrelin_Zeta_Function_Viewer();

    // Fills the frame with `colour`, then draws the plot over it.
    void draw(HDC* dc) override;
    // The whole frame.
    RECT covered_rect() const override;
    std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) override;
    // Over a cell of the plot and with no drag under way: zooms about that cell and restarts.
    std::int32_t handle_wheel(std::int32_t x, std::int32_t y, std::int32_t notches) override;
    // Over a cell, in front and with no drag under way, the readout line shows s and ζ(s) there, computed
    // with the accurate method (at once, or in the background high up the strip); elsewhere it is cleared.
    // Only that line is redrawn: at once when the viewer is first in its list, else through a paint of the
    // line's area, so that an open menu stays in front.
    void point_at(std::int32_t x, std::int32_t y, bool front, bool first_in_list) override;
    // Arrow keys move the view by a tenth of the plot (as a drag the other way would), + and - zoom about
    // its centre by a wheel notch, Backspace goes back, Home returns to the start-up view.
    std::int32_t handle_key(UINT virtual_key) override;
    // The progress timer brings the progress bar of a long calculation up to date, and shows the rows it
    // has finished.
    void handle_timer(UINT_PTR id) override;

    // Shows `wanted` instead of the job's settings: remembers the settings in force for "Back" when they
    // differ, and restarts.
    void change_view(const Plot_Settings& wanted);
    // Restores the latest remembered view and restarts; nothing when there is none.
    void go_back();
    // Shows `text` on the readout line until the pointer moves over the plot again.
    void show_message(const std::string& text);
    // Shows or hides the zeros in view; showing them starts their search.
    void set_show_zeros(bool shown);
    // "Calculating values..." and a new calculation for the frame's current size.
    void restart_calculation();

    // One entry of the right-click menu: its text and what choosing it does (given the position of the
    // release that chose it).
    struct Menu_Command {
        std::string text;
        std::function<void(std::int32_t x, std::int32_t y)> run;
    };
    // The menu as it opens now, in order.
    std::vector<Menu_Command> menu_commands();

    std::uint8_t panning = 0;  // 1 while a left drag shifts the plot
    Plot_Job job;
    View_History history;
    HWND options_window = nullptr;  // shown by the "Options" entry
    // Called after "Back" has put an earlier view into the job, before the restart (the Options window shows
    // the settings again). May stay empty.
    std::function<void()> view_restored;
    std::string readout;  // the readout line shown now (UTF-8), empty when none
    Readout_Worker readout_worker;
    Progress_Bar progress;
    Colour_Map_Cache colour_map;  // UI thread only: the coloured cells of the finished grid
    bool show_zeros = false;      // the zeros in view are marked and summed up in the status line
    Zero_Job zeros;

private:
    void open_plot_menu(std::int32_t x, std::int32_t y);
    void start_pan(std::int32_t x, std::int32_t y);
    void follow_pan(std::int32_t x, std::int32_t y);
    void set_pan_offset(std::int32_t x, std::int32_t y);
    void apply_pan_and_restart();
    void graph(Graph_Mode mode);
    void show_readout(const std::string& text, bool first_in_list);
    // Where the readout line stands for the frame's current place.
    RECT readout_line_rect() const;
    // Starts the search for the zeros at the heights of the plot's rows.
    void search_zeros();

    std::vector<Menu_Command> open_commands_;  // those of the open menu, by entry index
    std::int32_t rows_shown_ = 0;              // finished rows of the running calculation drawn so far
    bool first_in_list_ = true;                // as the latest pointer position found the viewer
    // The window the worker asks to repaint: `window` as it was at the latest restart (the worker must not
    // read `window`, which the UI thread writes).
    std::atomic<HWND> repaint_window_{nullptr};
};
