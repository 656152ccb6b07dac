#include "zeta/viewer/zeta_viewer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "screen_objects/fill_around.h"
#include "zeta/look/readout_format.h"
#include "zeta/plot/plot_geometry.h"
#include "zeta/viewer/plot_renderer.h"
#include "zeta/viewer/readout.h"
#include "zeta/viewer/zero_marks.h"

namespace {

constexpr std::string_view calculating_text = "Calculating values...";

Plot_Area area_of(const RECT& rect) {
    return Plot_Area{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

On_Screen_Object_Ostrelin_Zeta_Function_Viewer::On_Screen_Object_Ostrelin_Zeta_Function_Viewer() {
    // The status line and the plot are redrawn when a calculation starts and when it ends. The worker only
    // marks the window: the UI thread may be waiting for it to end.
    job.listener = [this](Calculation_Event event) {
        const HWND target = repaint_window_.load();
        if (target != nullptr)
            InvalidateRect(target, nullptr, event == Calculation_Event::Started ? FALSE : TRUE);
    };
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::draw(HDC* dc) {
    if (rect == nullptr) return;
    HBRUSH brush = CreateSolidBrush(colour);
    // The colour map covers its part of the frame right away.
    fill_around(*dc, *rect, colour_map_rect(job, *rect, *dc), brush);
    DeleteObject(brush);
    render_plot(job, *rect, colour_map, *dc);
    if (show_zeros) {
        if (const std::shared_ptr<const Zeros_In_View> in_view = zeros.result()) {
            // The marks stay on their rows: while a drag shifts the picture, they wait for its end.
            if (job.pan_offset_x == 0.0 && job.pan_offset_y == 0.0)
                draw_zero_marks(*dc, job.grid.settings, *rect, job.grid.height, *in_view);
            draw_status_addition(*dc, *rect, status_text_copy(job), zeros_summary(*in_view));
        }
    }
    progress.draw(job, *rect, *dc);
    if (!readout.empty()) draw_readout(*dc, readout_line_rect(), readout);
}

RECT On_Screen_Object_Ostrelin_Zeta_Function_Viewer::covered_rect() const {
    return rect != nullptr ? *rect : RECT{};
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::point_at(std::int32_t x, std::int32_t y, bool front,
                                                              bool first_in_list) {
    std::string text;
    const std::optional<Complex> s =
        front && active == 0 && rect != nullptr ? s_at_pointer(job, *rect, x, y) : std::nullopt;
    const std::shared_ptr<const Zeros_In_View> in_view = show_zeros && s ? zeros.result() : nullptr;
    const std::optional<Zeta_Zero> zero =
        in_view ? zero_at_pixel(job.grid.settings, *rect, job.grid.height, *in_view, x, y) : std::nullopt;
    if (zero) {
        text = zero_readout(*zero);
    } else if (s) {
        const Plot_Settings& settings = job.settings;
        const Readout_Request request{*s, settings.method == Series_Method ? settings.precision : 0};
        std::optional<Readout_Values> values;
        const bool at_once = std::fabs(s->imaginary) <= readout_on_the_spot_height &&
                             request.series_terms <= readout_on_the_spot_terms;
        if (at_once) {
            values.emplace();
            compute_readout(request, *values);
        } else {
            values = readout_worker.values_for(request);
            if (!values) readout_worker.request(request, window, readout_ready_message);
        }
        if (values) {
            text = readout_line(*s, values->accurate, std::fabs(settings.real_scale),
                                std::fabs(settings.imaginary_scale));
            if (values->series) text += series_error_suffix(*values->series, values->accurate);
        } else {
            text = readout_line(*s, std::fabs(settings.real_scale), std::fabs(settings.imaginary_scale));
        }
    }
    show_readout(text, first_in_list);
}

RECT On_Screen_Object_Ostrelin_Zeta_Function_Viewer::readout_line_rect() const {
    RECT client{};
    GetClientRect(window, &client);
    return readout_rect(client, rect != nullptr ? plot_decorations(*rect) : RECT{});
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::show_message(const std::string& text) {
    show_readout(text, first_in_list_);
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::show_readout(const std::string& text, bool first_in_list) {
    first_in_list_ = first_in_list;
    if (text == readout) return;
    readout = text;
    const RECT line = readout_line_rect();
    if (!first_in_list) {
        InvalidateRect(window, &line, FALSE);
        return;
    }
    // Drawn straight into the window: the plot is not painted again.
    HDC dc = GetDC(window);
    draw_readout(dc, line, readout);
    ReleaseDC(window, dc);
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::handle_timer(UINT_PTR id) {
    if (id != progress_timer_id || rect == nullptr) return;
    // Rows finished since the last look appear.
    const std::int32_t rows = job.running.load() ? job.grid.rows_finished.load() : 0;
    if (rows != rows_shown_) {
        rows_shown_ = rows;
        if (rows > 0) InvalidateRect(window, rect, FALSE);
    }
    if (!progress.update(job, std::chrono::steady_clock::now())) return;
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
        case Event_Child_Removed: {
            // The entry's command may open another menu: take it before it runs.
            const std::int32_t chosen = menu.chosen;
            if (chosen >= 0 && static_cast<std::size_t>(chosen) < open_commands_.size()) {
                const Menu_Command command = open_commands_[static_cast<std::size_t>(chosen)];
                command.run(x, y);
            }
            return Action_None;
        }
        default:
            return Action_None;
    }
}

std::int32_t On_Screen_Object_Ostrelin_Zeta_Function_Viewer::handle_key(UINT virtual_key) {
    // Keys wait while the frame or the plot is dragged.
    if (rect == nullptr || active == 1) return Action_None;
    const std::int32_t width = rect->right - rect->left;
    const std::int32_t height = rect->bottom - rect->top;
    // The whole number of cells nearest a tenth of the plot.
    const auto tenth = [](std::int32_t side) { return std::max<std::int32_t>(1, (side + 5) / 10); };
    const auto pan_by = [this](std::int32_t x, std::int32_t y) {
        job.pan_offset_x = x;
        job.pan_offset_y = y;
        apply_pan_and_restart();
    };
    const auto zoom = [&](std::int32_t notches) {
        Plot_Settings zoomed = job.settings;
        zoom_about_cell(zoomed, width / 2, height / 2, notches);
        change_view(zoomed);
    };
    switch (virtual_key) {
        case VK_RIGHT:  // what lies to the right: as a drag to the left
            pan_by(tenth(width), 0);
            return Action_None;
        case VK_LEFT:
            pan_by(-tenth(width), 0);
            return Action_None;
        case VK_UP:  // larger t: as a drag downwards
            pan_by(0, tenth(height));
            return Action_None;
        case VK_DOWN:
            pan_by(0, -tenth(height));
            return Action_None;
        case VK_ADD:
        case VK_OEM_PLUS:
            zoom(1);
            return Action_None;
        case VK_SUBTRACT:
        case VK_OEM_MINUS:
            zoom(-1);
            return Action_None;
        case VK_BACK:
            go_back();
            return Action_None;
        case VK_HOME:
            change_view(start_up_settings());
            return Action_None;
        default:
            return Key_Not_Taken;
    }
}

// The calculation's start repaints the window: returning a redraw as well would paint it twice.
std::int32_t On_Screen_Object_Ostrelin_Zeta_Function_Viewer::handle_wheel(std::int32_t x, std::int32_t y,
                                                                          std::int32_t notches) {
    // The wheel waits while the frame or the plot is dragged.
    if (rect == nullptr || active == 1 || notches == 0) return Action_None;
    const std::optional<Cell> cell = cell_at_pixel(area_of(*rect), x, y);
    if (!cell) return Action_None;
    Plot_Settings zoomed = job.settings;
    zoom_about_cell(zoomed, cell->column, cell->row, notches);
    change_view(zoomed);
    return Action_None;
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::change_view(const Plot_Settings& wanted) {
    history.note_change(job.settings, wanted);
    job.settings = wanted;
    restart_calculation();
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::go_back() {
    if (history.empty()) return;
    job.settings = history.take_latest();
    if (view_restored) view_restored();
    restart_calculation();
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::restart_calculation() {
    job.status_text = calculating_text;
    if (rect == nullptr) return;
    repaint_window_.store(window);
    progress.reset();
    zeros.stop();
    start_calculation(job, std::int64_t{rect->right} - rect->left, std::int64_t{rect->bottom} - rect->top);
    if (show_zeros) search_zeros();
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::search_zeros() {
    const Plot_Settings& settings = job.grid.settings;
    if (job.grid.height < 1) return;
    const HWND target = window;
    zeros.start(row_t(settings, 0), row_t(settings, job.grid.height - 1), [target] {
        // The marks, the status line and the readout (the pointer may be on a mark).
        InvalidateRect(target, nullptr, FALSE);
        PostMessageA(target, zeros_ready_message, 0, 0);
    });
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::set_show_zeros(bool shown) {
    show_zeros = shown;
    if (shown) {
        search_zeros();
    } else {
        zeros.stop();
    }
    InvalidateRect(window, nullptr, FALSE);
}

std::vector<On_Screen_Object_Ostrelin_Zeta_Function_Viewer::Menu_Command>
On_Screen_Object_Ostrelin_Zeta_Function_Viewer::menu_commands() {
    std::vector<Menu_Command> commands;
    const auto add_quantities = [&](Menu_Place place) {
        for (const Graph_Quantity& quantity : graph_quantities()) {
            if (quantity.menu_place != place) continue;
            const Graph_Mode mode = quantity.mode;
            commands.push_back(
                {std::string(quantity.menu_text), [this, mode](std::int32_t, std::int32_t) { graph(mode); }});
        }
    };
    commands.push_back({"Move window", [this](std::int32_t x, std::int32_t y) { start_move(x, y); }});
    add_quantities(Menu_Place::Graph_Entries);
    commands.push_back({job.show_critical_line == 1 ? "Hide critical line" : "Show critical line",
                        [this](std::int32_t, std::int32_t) {
                            job.show_critical_line = job.show_critical_line == 1 ? 0 : 1;
                            InvalidateRect(window, nullptr, TRUE);
                            UpdateWindow(window);
                        }});
    commands.push_back({"Options", [this](std::int32_t, std::int32_t) {
                            ShowWindow(options_window, SW_SHOW);
                            UpdateWindow(options_window);
                        }});
    commands.push_back({job.settings.method == Series_Method ? "Accurate values" : "Series values",
                        [this](std::int32_t, std::int32_t) {
                            Plot_Settings wanted = job.settings;
                            wanted.method = wanted.method == Series_Method ? Accurate_Method : Series_Method;
                            change_view(wanted);
                        }});
    add_quantities(Menu_Place::After_Method);
    commands.push_back({show_zeros ? "Hide zeros" : "Show zeros",
                        [this](std::int32_t, std::int32_t) { set_show_zeros(!show_zeros); }});
    if (!history.empty()) commands.push_back({"Back", [this](std::int32_t, std::int32_t) { go_back(); }});
    return commands;
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::open_plot_menu(std::int32_t x, std::int32_t y) {
    open_commands_ = menu_commands();
    std::vector<std::string> texts;
    for (const Menu_Command& command : open_commands_)
        texts.push_back(command.text);
    open_menu(texts, x, y);
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
    Plot_Settings panned = job.settings;
    panned.real_part = panned.real_scale * job.pan_offset_x + panned.real_part;
    panned.imaginary_part = panned.imaginary_scale * job.pan_offset_y + panned.imaginary_part;
    panning = 0;
    job.pan_offset_x = 0.0;
    job.pan_offset_y = 0.0;
    change_view(panned);
}

void On_Screen_Object_Ostrelin_Zeta_Function_Viewer::graph(Graph_Mode mode) {
    Plot_Settings wanted = job.settings;
    wanted.mode = mode;
    change_view(wanted);
}
