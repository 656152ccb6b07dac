// What the user looks at, apart from the frame's place and size: the seven plot settings, the graphed
// quantity and the evaluation method. Views are compared, remembered for "Back" and changed by zooming about
// a cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "zeta/graph_mode.h"
#include "zeta/plot_job.h"

struct Plot_View {
    double ceiling = 0.0;
    double floor = 0.0;
    double real_part = 0.0;
    double imaginary_part = 0.0;
    double real_scale = 0.0;
    double imaginary_scale = 0.0;
    int32_t precision = 0;
    Graph_Mode mode = Absolute_Value;
    Zeta_Method method = Series_Method;
};

Plot_View view_of(const Plot_Job& job);
void apply_view(Plot_Job& job, const Plot_View& view);
// Equal settings; a NaN setting equals a NaN setting.
bool same_view(const Plot_View& a, const Plot_View& b);

// The views that were in force before each change, the latest last, at most `limit`; the oldest is dropped.
class View_History {
public:
    static constexpr std::size_t limit = 100;

    // Remembers `before` when `now` differs from it; true when it did.
    bool note_change(const Plot_View& before, const Plot_View& now);
    bool empty() const { return views_.empty(); }
    std::size_t size() const { return views_.size(); }
    // Takes the latest view out. Only when not empty.
    Plot_View take_latest();

private:
    std::deque<Plot_View> views_;
};

// Zooms about the cell (i, j), one notch at a time: a notch away from the user (positive) multiplies both
// scales by 0.8, a notch towards the user divides them by 0.8, and the cell keeps its value of s.
void zoom_about_cell(Plot_View& view, int32_t i, int32_t j, int32_t notches);
