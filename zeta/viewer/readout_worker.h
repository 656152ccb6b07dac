// Computes ζ(s) for the readout line on a thread of its own. High up the critical strip one value takes from
// tens of milliseconds to more than a second, which the window must never wait for. Only the latest request
// matters: a newer one cancels the one under way.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/win32.h"
#include "zeta/math/zeta_function.h"

class Readout_Worker {
public:
    Readout_Worker() = default;
    ~Readout_Worker();
    Readout_Worker(const Readout_Worker&) = delete;
    Readout_Worker& operator=(const Readout_Worker&) = delete;

    // Asks for ζ(s); once it is known, `message` is posted to `window`. Starts the thread when needed.
    void request(const Complex& s, HWND window, UINT message);
    // The value computed for exactly this s, if it is the latest one computed.
    std::optional<Complex> value_for(const Complex& s) const;
    // Cancels the value under way and ends the thread; nothing is posted after it returns.
    void stop();

private:
    void run();

    mutable std::mutex lock;
    std::condition_variable wake;
    std::optional<Complex> wanted;  // guarded by `lock`, as is everything below but `cancel` and `thread`
    std::optional<Complex> done_s;
    Complex done_value;
    HWND window = nullptr;
    UINT message = 0;
    bool stopping = false;
    std::atomic<bool> cancel{false};
    std::thread thread;
};
