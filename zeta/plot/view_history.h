// The settings in force before each change of what the user looks at, for "Back", and zooming about a cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "zeta/plot/plot_settings.h"

// The settings that were in force before each change, the latest last, at most `limit`; the oldest is
// dropped.
class View_History {
public:
    static constexpr std::size_t limit = 100;

    // Remembers `before` when `now` differs from it; true when it did.
    bool note_change(const Plot_Settings& before, const Plot_Settings& now);
    bool empty() const { return views_.empty(); }
    std::size_t size() const { return views_.size(); }
    // Takes the latest view out. Only when not empty.
    Plot_Settings take_latest();

private:
    std::deque<Plot_Settings> views_;
};

// Zooms about the cell (i, j), one notch at a time: a notch away from the user (positive) multiplies both
// scales by 0.8, a notch towards the user divides them by 0.8, and the cell keeps its value of s.
void zoom_about_cell(Plot_Settings& settings, int32_t i, int32_t j, int32_t notches);
