// The screen object that shows the zeta plot: a movable, resizable frame whose area the plot job computes and
// the renderer fills. A left drag inside pans the plot; the right-click menu moves the frame, chooses the
// graphed quantity, shows or hides the critical line, shows the Options window and switches between the
// series and the accurate method.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "screen_objects/movable_rect_object.h"
#include "zeta/plot_job.h"

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
};

class On_Screen_Object_Ostrelin_Zeta_Function_Viewer : public On_Screen_Object_Movable_RECT {
public:
    // Fills the frame with `colour`, then draws the plot over it.
    void draw(HDC* dc) override;
    std::int32_t handle_event(std::int32_t event, std::int32_t x, std::int32_t y) override;

    std::uint8_t panning = 0;  // 1 while a left drag shifts the plot
    Plot_Job job;              // its plot_rect is this object's rect

private:
    void open_plot_menu(std::int32_t x, std::int32_t y);
    void carry_out_menu_choice(std::int32_t x, std::int32_t y);
    void start_pan(std::int32_t x, std::int32_t y);
    void follow_pan(std::int32_t x, std::int32_t y);
    void set_pan_offset(std::int32_t x, std::int32_t y);
    void apply_pan_and_restart();
    void graph(Graph_Mode mode);
    void restart_calculation();
};
