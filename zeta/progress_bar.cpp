#include "zeta/progress_bar.h"

namespace {

constexpr int bar_gap = 4;  // between the status box and the bar
constexpr int status_box_width = 400;
constexpr int bar_width = 100;
constexpr int bar_top = 14;  // above the plot's top edge
constexpr int bar_height = 6;
constexpr COLORREF bar_colour = 0x00000000;  // the status text's colour

bool calculation_complete(const Plot_Job& job) {
    return job.terms_summed.load() >= job.work_total;
}

}  // namespace

RECT progress_bar_rect(const RECT& plot) {
    const int left = plot.left + status_box_width + bar_gap;
    return RECT{left, plot.top - bar_top, left + bar_width, plot.top - bar_top + bar_height};
}

bool update_progress(Plot_Job& job, std::chrono::steady_clock::time_point now) {
    const bool show = job.running.load() && job.work_total > 0 && !calculation_complete(job) &&
                      now - job.started_at >= progress_delay;
    const int inner_width = bar_width - 2;
    const double share = static_cast<double>(job.terms_summed.load()) / static_cast<double>(job.work_total);
    const int32_t filled = show ? static_cast<int32_t>(share * inner_width) : 0;
    if (show == job.progress_shown && filled == job.progress_filled) return false;
    job.progress_shown = show;
    job.progress_filled = filled;
    return true;
}

void draw_progress_bar(const Plot_Job& job, HDC dc) {
    if (!job.progress_shown || job.plot_rect == nullptr || calculation_complete(job)) return;
    const RECT bar = progress_bar_rect(*job.plot_rect);
    HBRUSH brush = CreateSolidBrush(bar_colour);
    FrameRect(dc, &bar, brush);
    const RECT done{bar.left + 1, bar.top + 1, bar.left + 1 + job.progress_filled, bar.bottom - 1};
    FillRect(dc, &done, brush);
    DeleteObject(brush);
}
