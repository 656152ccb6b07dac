// The thin bar beside the status line that shows how far a long calculation has got. The worker only counts
// its terms; the UI thread looks at the count a few times a second and decides what the bar shows.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/win32.h"
#include "zeta/plot/plot_job.h"

// A calculation shorter than this never shows the bar.
constexpr std::chrono::milliseconds progress_delay{500};

// Beside the status line's 400-pixel box, centred on its text line.
RECT progress_bar_rect(const RECT& plot);

class Progress_Bar {
public:
    // Shows the bar once the calculation has run for progress_delay, fills it by the share of terms summed,
    // and hides it when the calculation has ended or was cancelled. True when the bar must be drawn again.
    bool update(const Plot_Job& job, std::chrono::steady_clock::time_point now);
    // Hides the bar of the calculation before a restart.
    void reset();
    // Draws the bar while it is shown and the calculation is not complete (so the final picture never has
    // it).
    void draw(const Plot_Job& job, const RECT& plot, HDC dc) const;

    bool shown() const { return shown_; }
    int32_t filled() const { return filled_; }

private:
    bool shown_ = false;
    int32_t filled_ = 0;  // pixels
};
