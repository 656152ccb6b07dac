#include "zeta/viewer/progress_bar.h"

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

bool Progress_Bar::update(const Plot_Job& job, std::chrono::steady_clock::time_point now) {
    const bool show = job.running.load() && job.work_total > 0 && !calculation_complete(job) &&
                      now - job.started_at >= progress_delay;
    const int inner_width = bar_width - 2;
    const double share = static_cast<double>(job.terms_summed.load()) / static_cast<double>(job.work_total);
    const int32_t filled = show ? static_cast<int32_t>(share * inner_width) : 0;
    if (show == shown_ && filled == filled_) return false;
    shown_ = show;
    filled_ = filled;
    return true;
}

void Progress_Bar::reset() {
    shown_ = false;
    filled_ = 0;
}

void Progress_Bar::draw(const Plot_Job& job, const RECT& plot, HDC dc) const {
    if (!shown_ || calculation_complete(job)) return;
    const RECT bar = progress_bar_rect(plot);
    HBRUSH brush = CreateSolidBrush(bar_colour);
    FrameRect(dc, &bar, brush);
    const RECT done{bar.left + 1, bar.top + 1, bar.left + 1 + filled_, bar.bottom - 1};
    FillRect(dc, &done, brush);
    DeleteObject(brush);
}
