#include "zeta/plot/view_history.h"

#include <cstdlib>

#include "zeta/plot/plot_geometry.h"

namespace {

constexpr double zoom_factor = 0.8;

}  // namespace

bool View_History::note_change(const Plot_Settings& before, const Plot_Settings& now) {
    if (before == now) return false;
    if (views_.size() == limit) views_.pop_front();
    views_.push_back(before);
    return true;
}

Plot_Settings View_History::take_latest() {
    Plot_Settings latest = views_.back();
    views_.pop_back();
    return latest;
}

void zoom_about_cell(Plot_Settings& settings, int32_t i, int32_t j, int32_t notches) {
    for (int64_t n = 0; n < std::llabs(notches); ++n) {
        const double real_scale =
            notches > 0 ? settings.real_scale * zoom_factor : settings.real_scale / zoom_factor;
        const double imaginary_scale =
            notches > 0 ? settings.imaginary_scale * zoom_factor : settings.imaginary_scale / zoom_factor;
        // The new origin keeps the value at the cell: in this order, so that the result is reproducible.
        const Complex s = cell_s(settings, i, j);
        settings.real_part = s.real - static_cast<double>(i) * real_scale;
        settings.imaginary_part = s.imaginary - static_cast<double>(j) * imaginary_scale;
        settings.real_scale = real_scale;
        settings.imaginary_scale = imaginary_scale;
    }
}
