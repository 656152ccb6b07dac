#include "zeta/readout_worker.h"

#include "zeta/math/accurate_zeta.h"

namespace {

bool same(const Complex& a, const Complex& b) {
    return a.real == b.real && a.imaginary == b.imaginary;
}

}  // namespace

Readout_Worker::~Readout_Worker() {
    stop();
}

void Readout_Worker::request(const Complex& s, HWND target, UINT posted_message) {
    {
        std::lock_guard guard(lock);
        if (wanted && same(*wanted, s)) return;
        wanted = s;
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

std::optional<Complex> Readout_Worker::value_for(const Complex& s) const {
    std::lock_guard guard(lock);
    if (!done_s || !same(*done_s, s)) return std::nullopt;
    return done_value;
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
        const Complex s = *wanted;
        cancel = false;
        guard.unlock();
        Complex value;
        const bool finished = evaluate_zeta_accurately(s, value, &cancel);
        guard.lock();
        if (!finished || !wanted || !same(*wanted, s)) continue;
        wanted.reset();
        done_s = s;
        done_value = value;
        PostMessageA(window, message, 0, 0);
    }
}
