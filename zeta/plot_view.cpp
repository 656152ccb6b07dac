#include "zeta/plot_view.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double zoom_factor = 0.8;

bool same_value(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// The new scale's origin keeps the value at `cell`: in this order, so that the result is reproducible.
void rescale_about(double& origin, double& scale, double cell, double new_scale) {
    origin = (cell * scale + origin) - cell * new_scale;
    scale = new_scale;
}

}  // namespace

Plot_View view_of(const Plot_Job& job) {
    return {job.ceiling,         job.floor,     job.real_part, job.imaginary_part, job.real_scale,
            job.imaginary_scale, job.precision, job.mode,      job.method};
}

void apply_view(Plot_Job& job, const Plot_View& view) {
    job.ceiling = view.ceiling;
    job.floor = view.floor;
    job.real_part = view.real_part;
    job.imaginary_part = view.imaginary_part;
    job.real_scale = view.real_scale;
    job.imaginary_scale = view.imaginary_scale;
    job.precision = view.precision;
    job.mode = view.mode;
    job.method = view.method;
}

bool same_view(const Plot_View& a, const Plot_View& b) {
    return same_value(a.ceiling, b.ceiling) && same_value(a.floor, b.floor) &&
           same_value(a.real_part, b.real_part) && same_value(a.imaginary_part, b.imaginary_part) &&
           same_value(a.real_scale, b.real_scale) && same_value(a.imaginary_scale, b.imaginary_scale) &&
           a.precision == b.precision && a.mode == b.mode && a.method == b.method;
}

bool View_History::note_change(const Plot_View& before, const Plot_View& now) {
    if (same_view(before, now)) return false;
    if (views_.size() == limit) views_.pop_front();
    views_.push_back(before);
    return true;
}

Plot_View View_History::take_latest() {
    Plot_View latest = views_.back();
    views_.pop_back();
    return latest;
}

void zoom_about_cell(Plot_View& view, int32_t i, int32_t j, int32_t notches) {
    const double column = i;
    const double row = j;
    for (int64_t n = 0; n < std::llabs(notches); ++n) {
        const double real_scale = notches > 0 ? view.real_scale * zoom_factor : view.real_scale / zoom_factor;
        const double imaginary_scale =
            notches > 0 ? view.imaginary_scale * zoom_factor : view.imaginary_scale / zoom_factor;
        rescale_about(view.real_part, view.real_scale, column, real_scale);
        rescale_about(view.imaginary_part, view.imaginary_scale, row, imaginary_scale);
    }
}
