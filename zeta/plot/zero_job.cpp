#include "zeta/plot/zero_job.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "zeta/plot/parallel_blocks.h"

namespace {

// The heights whose zeros appear in rows from `low` to `high`: above the real axis as they are, below it as
// the conjugates of those above.
void heights_above_axis(double low, double high, double& from, double& to) {
    if (low >= 0.0) {
        from = low;
        to = high;
    } else if (high <= 0.0) {
        from = -high;
        to = -low;
    } else {
        from = 0.0;
        to = std::max(-low, high);
    }
}

std::string number(int64_t value) {
    return std::to_string(value);
}

}  // namespace

Zero_Job::~Zero_Job() {
    stop();
}

void Zero_Job::start(double first, double last, std::function<void()> ready) {
    stop();
    cancel_ = false;
    auto zeros = std::make_shared<Zeros_In_View>();
    zeros->low = std::min(first, last);
    zeros->high = std::max(first, last);
    thread_ = std::thread([this, zeros, ready = std::move(ready)] {
        double from = 0.0, to = 0.0;
        heights_above_axis(zeros->low, zeros->high, from, to);
        if (!(std::isfinite(from) && std::isfinite(to))) return;
        zeros->about = zeros_expected_between(from, to);
        if (zeros->about > zeros_listed_at_most) {
            zeros->declined = true;
        } else {
            zeros->search = find_zeros(from, to, calculation_thread_count(), &cancel_);
            if (zeros->search.cancelled) return;
        }
        {
            std::lock_guard guard(lock_);
            result_ = zeros;
        }
        if (ready) ready();
    });
}

void Zero_Job::stop() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
    std::lock_guard guard(lock_);
    result_.reset();
}

void Zero_Job::wait() {
    if (thread_.joinable()) thread_.join();
}

std::shared_ptr<const Zeros_In_View> Zero_Job::result() const {
    std::lock_guard guard(lock_);
    return result_;
}

std::string zeros_summary(const Zeros_In_View& zeros) {
    if (zeros.declined) {
        char about[64];
        std::snprintf(about, sizeof about, "%.0f", zeros.about);
        return std::string(" Zeros not marked: about ") + about + " lie in view.";
    }
    const Zero_Search& search = zeros.search;
    if (search.zeros.empty() && search.verified) return " No zeros.";
    std::string text = search.zeros.empty() ? " No zeros found"
                                            : " Zeros #" + number(search.zeros.front().n) + " to #" +
                                                  number(search.zeros.back().n);
    if (search.verified) return text + ", all on the critical line.";
    if (!search.counted) return text + "; their count could not be checked.";
    const int64_t missing = search.missing();
    if (missing > 0)
        return text + ", but " + number(missing) + (missing == 1 ? " zero" : " zeros") +
               " of the count not found: not shown to lie on the critical line.";
    return text + ", more than the count gives: the list is not verified.";
}
