// The screen object that shows the zeta plot: a movable, resizable frame whose area the plot job computes and
// the renderer fills. A left drag inside pans the plot; the right-click menu moves the frame, chooses the
// graphed quantity, shows or hides the critical line, shows the Options window and switches between the
// series and the accurate method.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"
#include "screen_objects/movable_rect_object.h"
#include "zeta/plot_job.h"
#include "zeta/plot_view.h"
#include "zeta/readout_worker.h"

// Entries of the viewer's right-click menu, by index.
enum Viewer_Menu_Entry : std::int32_t {
    Viewer_Move_Window = 0,
    Viewer_Graph_Absolute_Value = 1,
    Viewer_Graph_Real_Part = 2,
    Viewer_Graph_Imaginary_Part = 3,
    Viewer_Graph_Reciprocal_Absolute_Value = 4,
    Viewer_Toggle_Critical_Line = 5,
    Viewer_Options = 6,
    Viewer_Toggle_Method = 7,
    // "Back" follows as the last entry while there is a view to go back to.
};

// Posted to the viewer's window when a readout value computed in the background is ready: the window then
// calls point_at again for the pointer's latest position.
constexpr UINT readout_ready_message = WM_APP;

// Up to this height ζ(s) for the readout is computed at once (a few milliseconds); above it in the
// background, and the line shows s alone until the value arrives.
constexpr double readout_on_the_spot_height = 1e8;

class On_Screen_Object_Ostrelin_Zeta_Function_Viewer : public On_Screen_Object_Movable_RECT {
public:
    // Fills the frame with `colour`, then draws the plot over it.
    void draw(HDC* dc) override;
    // The whole frame.
    RECT covered_rect() const override;
    std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) override;
    // Over a cell of the plot and with no drag under way: zooms about that cell and restarts.
    std::int32_t handle_wheel(std::int32_t x, std::int32_t y, std::int32_t notches) override;

    // Every change of the view goes through here with the view in force before it, so that "Back" can
    // return to it.
    void note_view_change(const Plot_View& before);
    // Restores the latest remembered view and restarts; nothing when there is none.
    void go_back();
    // Called a few times a second: brings the progress bar of a long calculation up to date.
    void show_progress();
    // Called for the pointer at client (x, y) after every move and zoom; `front` says whether the viewer is
    // the front-most object there, `on_top` whether it is first in its window's list. Over a cell with no
    // drag under way the readout line shows s and ζ(s) there, computed with the accurate method (at once,
    // or in the background high up the strip); elsewhere it is cleared. Only that line is redrawn: at once
    // when nothing lies over the viewer, else through a paint of the line's area, so that an open menu stays
    // in front.
    void point_at(std::int32_t x, std::int32_t y, bool front, bool on_top);

    std::uint8_t panning = 0;  // 1 while a left drag shifts the plot
    Plot_Job job;              // its plot_rect is this object's rect
    View_History history;
    std::string readout;  // the readout line shown now (UTF-8), empty when none
    Readout_Worker readout_worker;
    // Called after "Back" has put an earlier view into the job, before the restart (the Options window shows
    // the settings again). May stay null.
    void (*view_restored)() = nullptr;

private:
    void open_plot_menu(std::int32_t x, std::int32_t y);
    void carry_out_menu_choice(std::int32_t x, std::int32_t y);
    void start_pan(std::int32_t x, std::int32_t y);
    void follow_pan(std::int32_t x, std::int32_t y);
    void set_pan_offset(std::int32_t x, std::int32_t y);
    void apply_pan_and_restart();
    void graph(Graph_Mode mode);
    void restart_calculation();

    std::int32_t back_entry = -1;  // index of "Back" in the open menu, -1 when it was not offered
};
