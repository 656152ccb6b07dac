#include "zeta/plot/parallel_blocks.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

std::atomic<int> failing_thread_starts{0};

int calculation_thread_count() {
    constexpr int most = 1024;
    if (const char* text = std::getenv("ZETA_THREADS")) {
        int count = 0;
        const char* end = text + std::strlen(text);
        const auto [rest, error] = std::from_chars(text, end, count);
        if (error == std::errc{} && rest == end && count > 0) return std::min(count, most);
    }
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, static_cast<unsigned>(most)));
}

std::thread start_thread(std::function<void()> body) {
    int failing = failing_thread_starts.load();
    while (failing > 0) {
        if (failing_thread_starts.compare_exchange_weak(failing, failing - 1))
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                    "thread start refused for a test");
    }
    return std::thread(std::move(body));
}

bool run_blocks(int64_t block_count, int thread_count, const std::atomic<bool>& cancel,
                const Block_Work& work) {
    std::atomic<int64_t> next_block{0};
    std::atomic<bool> stopped{false};
    auto take_blocks = [&](int worker) {
        for (;;) {
            const int64_t block = next_block.fetch_add(1, std::memory_order_relaxed);
            if (block >= block_count) return;
            if (cancel.load(std::memory_order_relaxed) || !work(block, worker)) {
                stopped.store(true, std::memory_order_relaxed);
                return;
            }
        }
    };
    const int workers =
        static_cast<int>(std::clamp<int64_t>(std::min<int64_t>(thread_count, block_count), 1, 1024));
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<size_t>(workers - 1));
    for (int worker = 1; worker < workers; ++worker) {
        try {
            helpers.push_back(start_thread([&take_blocks, worker] { take_blocks(worker); }));
        } catch (const std::system_error&) {
            break;  // the threads that did start share the blocks
        }
    }
    take_blocks(0);
    for (std::thread& helper : helpers)
        helper.join();
    return !stopped.load(std::memory_order_relaxed);
}
