#include "zeta/zeta_viewer.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "screen_objects/fill_around.h"
#include "zeta/math/accurate_zeta.h"
#include "zeta/plot_renderer.h"
#include "zeta/progress_bar.h"
#include "zeta/readout.h"

namespace {

constexpr std::string_view calculating_text = "Calculating values...";

}  // namespace

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::draw(HDC* dc) {
    if (rect == nullptr) return;
    HBRUSH brush = CreateSolidBrush(colour);
    // The colour map covers its part of the frame right away.
    fill_around(*dc, *rect, colour_map_rect(job, *dc), brush);
    DeleteObject(brush);
    render_plot(job, *dc);
    draw_progress_bar(job, *dc);
    if (!readout.empty()) {
        RECT client;
        GetClientRect(window, &client);
        draw_readout(*dc, readout_rect(client), readout);
    }
}

RECT On_Screen_Object_Ostrelin_Zeta_Function_Viewer::covered_rect() const {
    return rect != nullptr ? *rect : RECT{};
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::point_at(std::int32_t x, std::int32_t y, bool front,
                                                              bool on_top) {
    std::string text;
    const std::optional<Complex> s = front && active == 0 ? s_at_pointer(job, x, y) : std::nullopt;
    if (s && std::fabs(s->imaginary) > readout_on_the_spot_height) {
        if (const std::optional<Complex> zeta = readout_worker.value_for(*s)) {
            text = readout_text(*s, *zeta);
        } else {
            text = readout_text(*s);
            readout_worker.request(*s, window, readout_ready_message);
        }
    } else if (s) {
        Complex zeta;
        evaluate_zeta_accurately(*s, zeta);
        text = readout_text(*s, zeta);
    }
    if (text == readout) return;
    readout = std::move(text);
    RECT client;
    GetClientRect(window, &client);
    const RECT line = readout_rect(client);
    if (!on_top) {
        InvalidateRect(window, &line, FALSE);
        return;
    }
    // Drawn straight into the window: the plot is not painted again.
    HDC dc = GetDC(window);
    draw_readout(dc, line, readout);
    ReleaseDC(window, dc);
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::show_progress() {
    if (rect == nullptr || !update_progress(job, std::chrono::steady_clock::now())) return;
    const RECT bar = progress_bar_rect(*rect);
    InvalidateRect(window, &bar, FALSE);
}

std::int32_t On_Screen_Object_Ostrelin_Zeta_Function_Viewer::handle_event(std::int32_t event, std::int32_t x,
                                                                          std::int32_t y) {
    switch (event) {
        case Event_Mouse_Move:
            update_cursor(x, y);
            if (follow_pointer(x, y)) return Action_Redraw;
            if (panning == 1) follow_pan(x, y);
            return Action_None;
        case Event_Right_Button_Up:
            open_plot_menu(x, y);
            return Action_Add_Child;
        case Event_Left_Button_Down:
            grab_edges(x, y);
            // Neither an edge nor a move has the pointer: the press starts a pan.
            if (active == 0) start_pan(x, y);
            return Action_Raise;
        case Event_Left_Button_Up:
            // The pan ends where the button is released, also when no move reported that position.
            if (panning == 1) set_pan_offset(x, y);
            apply_pan_and_restart();
            end_drag();
            return Action_Raise;
        case Event_Child_Removed:
            carry_out_menu_choice(x, y);
            return Action_None;
        default:
            return Action_None;
    }
}

std::int32_t On_Screen_Object_Ostrelin_Zeta_Function_Viewer::handle_wheel(std::int32_t x, std::int32_t y,
                                                                          std::int32_t notches) {
    // The wheel waits while the frame or the plot is dragged.
    if (rect == nullptr || active == 1 || notches == 0) return Action_None;
    const std::int64_t i = std::int64_t{x} - rect->left;
    const std::int64_t j = std::int64_t{rect->bottom} - y;
    const bool over_a_cell = i >= 0 && i < std::int64_t{rect->right} - rect->left && j >= 0 &&
                             j < std::int64_t{rect->bottom} - rect->top;
    if (!over_a_cell) return Action_None;
    const Plot_View before = view_of(job);
    Plot_View zoomed = before;
    zoom_about_cell(zoomed, static_cast<std::int32_t>(i), static_cast<std::int32_t>(j), notches);
    apply_view(job, zoomed);
    note_view_change(before);
    restart_calculation();
    return Action_Redraw;
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::note_view_change(const Plot_View& before) {
    history.note_change(before, view_of(job));
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::go_back() {
    if (history.empty()) return;
    apply_view(job, history.take_latest());
    if (view_restored != nullptr) view_restored();
    restart_calculation();
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::open_plot_menu(std::int32_t x, std::int32_t y) {
    const std::string_view critical_line_entry =
        job.show_critical_line == 1 ? "Hide critical line" : "Show critical line";
    const std::string_view method_entry = job.method == Series_Method ? "Accurate values" : "Series values";
    open_menu({"Move window", "Graph Absolute value", "Graph Real part", "Graph Imaginary part",
               "Graph Reciprocal absolute value", critical_line_entry, "Options", method_entry},
              x, y);
    back_entry = -1;
    if (!history.empty()) {
        back_entry = static_cast<std::int32_t>(menu.items.size());
        menu.add_item("Back");
        menu.open_at(x, y);
    }
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::carry_out_menu_choice(std::int32_t x, std::int32_t y) {
    switch (menu.chosen) {
        case Viewer_Move_Window:
            start_move(x, y);
            break;
        case Viewer_Graph_Absolute_Value:
            graph(Absolute_Value);
            break;
        case Viewer_Graph_Real_Part:
            graph(Real_Part);
            break;
        case Viewer_Graph_Imaginary_Part:
            graph(Imaginary_Part);
            break;
        case Viewer_Graph_Reciprocal_Absolute_Value:
            graph(Reciprocal_Absolute_Value);
            break;
        case Viewer_Toggle_Critical_Line:
            job.show_critical_line = job.show_critical_line == 1 ? 0 : 1;
            InvalidateRect(window, nullptr, TRUE);
            UpdateWindow(window);
            break;
        case Viewer_Options:
            ShowWindow(job.options_window, SW_SHOW);
            UpdateWindow(job.options_window);
            break;
        case Viewer_Toggle_Method: {
            const Plot_View before = view_of(job);
            job.method = job.method == Series_Method ? Accurate_Method : Series_Method;
            note_view_change(before);
            restart_calculation();
            break;
        }
        default:
            // "Back", or closed without a choice.
            if (menu.chosen >= 0 && menu.chosen == back_entry) go_back();
            break;
    }
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::start_pan(std::int32_t x, std::int32_t y) {
    if (rect == nullptr) return;
    active = 1;
    panning = 1;
    grab_x = x - rect->left;
    grab_y = y - rect->top;
}

// The old grid is redrawn shifted by the pointer's displacement (x reversed); nothing is recomputed until the
// button is released. Only the frame is repainted, at once and without erasing.
void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::follow_pan(std::int32_t x, std::int32_t y) {
    if (rect == nullptr) return;
    set_pan_offset(x, y);
    InvalidateRect(window, rect, FALSE);
    UpdateWindow(window);
}

// The pointer's displacement from the press, x reversed.
void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::set_pan_offset(std::int32_t x, std::int32_t y) {
    if (rect == nullptr) return;
    job.pan_offset_x = static_cast<double>((std::int64_t{grab_x} - x) + rect->left);
    job.pan_offset_y = static_cast<double>((std::int64_t{y} - rect->top) - grab_y);
}

// Every left release ends here, pan or not, so a plain click recomputes the same plot.
void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::apply_pan_and_restart() {
    const Plot_View before = view_of(job);
    job.real_part = job.real_scale * job.pan_offset_x + job.real_part;
    job.imaginary_part = job.imaginary_scale * job.pan_offset_y + job.imaginary_part;
    panning = 0;
    job.pan_offset_x = 0.0;
    job.pan_offset_y = 0.0;
    note_view_change(before);
    restart_calculation();
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::graph(Graph_Mode mode) {
    const Plot_View before = view_of(job);
    job.mode = mode;
    note_view_change(before);
    restart_calculation();
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::restart_calculation() {
    job.status_text = calculating_text;
    start_calculation(job);
}
