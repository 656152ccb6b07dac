#include "zeta/viewer/readout_worker.h"

#include "zeta/math/accurate_zeta.h"

bool Readout_Request::operator==(const Readout_Request& other) const {
    return s.real == other.s.real && s.imaginary == other.s.imaginary && series_terms == other.series_terms;
}

bool compute_readout(const Readout_Request& request, Readout_Values& values,
                     const std::atomic<bool>* cancel) {
    if (!evaluate_zeta_accurately(request.s, values.accurate, cancel)) return false;
    values.series.reset();
    if (request.series_terms > 0 && request.series_terms <= readout_series_term_limit) {
        Complex series;
        evaluate_zeta(request.series_terms, request.s, series);
        values.series = series;
    }
    return true;
}

Readout_Worker::~Readout_Worker() {
    stop();
}

void Readout_Worker::request(const Readout_Request& wanted_values, HWND target, UINT posted_message) {
    {
        std::lock_guard guard(lock);
        if (wanted && *wanted == wanted_values) return;
        wanted = wanted_values;
        window = target;
        message = posted_message;
        cancel = true;  // the value under way is no longer wanted
    }
    wake.notify_one();
    if (!thread.joinable()) {
        {
            std::lock_guard guard(lock);
            stopping = false;
        }
        thread = std::thread([this] { run(); });
    }
}

std::optional<Readout_Values> Readout_Worker::values_for(const Readout_Request& request) const {
    std::lock_guard guard(lock);
    if (!done_request || !(*done_request == request)) return std::nullopt;
    return done_values;
}

void Readout_Worker::stop() {
    if (!thread.joinable()) return;
    {
        std::lock_guard guard(lock);
        stopping = true;
        wanted.reset();
        cancel = true;
    }
    wake.notify_one();
    thread.join();
}

void Readout_Worker::run() {
    std::unique_lock guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return stopping || wanted.has_value(); });
        if (stopping) return;
        const Readout_Request request = *wanted;
        cancel = false;
        guard.unlock();
        Readout_Values values;
        const bool finished = compute_readout(request, values, &cancel);
        guard.lock();
        if (!finished || !wanted || !(*wanted == request)) continue;
        wanted.reset();
        done_request = request;
        done_values = values;
        PostMessageA(window, message, 0, 0);
    }
}
