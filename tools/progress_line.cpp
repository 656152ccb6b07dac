#include "tools/progress_line.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

Progress_Line::Progress_Line(bool wanted, const char* label)
    : enabled_(wanted && isatty(STDERR_FILENO)), label_(label) {}

void Progress_Line::update(double done) {
    if (!enabled_) return;
    const int percent = static_cast<int>(std::clamp(done, 0.0, 1.0) * 100.0);
    if (percent == last_percent_) return;
    last_percent_ = percent;
    started_ = true;
    std::fprintf(stderr, "\r%s %3d%%", label_, percent);
    std::fflush(stderr);
}

void Progress_Line::finish() {
    if (!started_) return;
    std::fputc('\n', stderr);
    started_ = false;
}
