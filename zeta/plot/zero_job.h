// The zeros of ζ at the heights of a plot's rows, searched on threads of their own beside the plot's
// calculation, for the viewer's marks on the critical line and its status line. Knows no window: it tells
// whoever listens when a result is ready.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "zeta/plot/zeros_search.h"

// More zeros than this in view are not listed: they could not be told apart on the screen, and listing them
// would keep the threads busy for seconds.
constexpr double zeros_listed_at_most = 20000;

struct Zeros_In_View {
    double low = 0.0;  // the heights of the rows, lowest first (either sign)
    double high = 0.0;
    Zero_Search search;     // of |t| over the rows: the zeros above the real axis; those below are conjugates
    bool declined = false;  // too many to list
    double about = 0.0;     // how many lie there, roughly, when declined
};

class Zero_Job {
public:
    Zero_Job() = default;
    ~Zero_Job();
    Zero_Job(const Zero_Job&) = delete;
    Zero_Job& operator=(const Zero_Job&) = delete;

    // Drops the result, cancels a search under way and starts one for rows from height `first` to `last`
    // (either order, either sign). `ready` is called on the search's thread once its result is in place (not
    // when cancelled); it must not wait for the thread that starts or stops searches.
    void start(double first, double last, std::function<void()> ready);
    // Cancels a search under way and waits for its thread; the result is dropped.
    void stop();
    // Waits until the search under way has its result (without cancelling it).
    void wait();
    // The latest complete result, or null while searching or stopped.
    std::shared_ptr<const Zeros_In_View> result() const;

private:
    mutable std::mutex lock_;
    std::shared_ptr<const Zeros_In_View> result_;  // guarded by lock_
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

// What the status line adds for the zeros in view: " Zeros #a to #b, all on the critical line.", " No
// zeros.", or what the count found instead.
std::string zeros_summary(const Zeros_In_View& zeros);
