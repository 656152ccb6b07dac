// Computes ζ(s) for the readout line on a thread of its own. High up the critical strip one value takes from
// tens of milliseconds to more than a second, which the window must never wait for. Only the latest request
// matters: a newer one cancels the one under way.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/win32.h"
#include "zeta/math/zeta_function.h"

// What the readout shows at s: ζ(s) by the accurate method, and the series' value with `series_terms` terms
// where the plot uses the series.
struct Readout_Request {
    Complex s;
    int32_t series_terms = 0;  // 0: no series value wanted
    bool operator==(const Readout_Request& other) const;
};

struct Readout_Values {
    Complex accurate;
    std::optional<Complex> series;
};

// The values of a request, computed on the calling thread; false when `cancel` stopped it.
bool compute_readout(const Readout_Request& request, Readout_Values& values,
                     const std::atomic<bool>* cancel = nullptr);

// The most series terms the readout sums: a request for more gets no series value (its sum could take
// minutes and cannot be cancelled).
constexpr int32_t readout_series_term_limit = 1000000;

class Readout_Worker {
public:
    Readout_Worker() = default;
    ~Readout_Worker();
    Readout_Worker(const Readout_Worker&) = delete;
    Readout_Worker& operator=(const Readout_Worker&) = delete;

    // Asks for the values; once they are known, `message` is posted to `window`. Starts the thread when
    // needed.
    void request(const Readout_Request& wanted_values, HWND window, UINT message);
    // The values computed for exactly this request, if it is the latest one computed.
    std::optional<Readout_Values> values_for(const Readout_Request& request) const;
    // Cancels the value under way and ends the thread; nothing is posted after it returns.
    void stop();

private:
    void run();

    mutable std::mutex lock;
    std::condition_variable wake;
    std::optional<Readout_Request>
        wanted;  // guarded by `lock`, as is everything below but `cancel` and `thread`
    std::optional<Readout_Request> done_request;
    Readout_Values done_values;
    HWND window = nullptr;
    UINT message = 0;
    bool stopping = false;
    std::atomic<bool> cancel{false};
    std::thread thread;
};
