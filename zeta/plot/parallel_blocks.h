// Runs numbered blocks of independent work on several threads. Each thread takes the next block from a shared
// counter whenever it is free, so no thread ever waits for another one before the end: a thread that is held
// up only delays the block it has in hand.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

// The number of threads a calculation uses: the environment variable ZETA_THREADS when it holds a positive
// number, otherwise std::thread::hardware_concurrency(); at least 1.
int calculation_thread_count();

// Does the work of one block on the worker numbered `worker` (0 is the calling thread, each worker runs on
// one thread). Returns false when it stopped early because the cancel flag was set.
using Block_Work = std::function<bool(int64_t block, int worker)>;

// Runs work(block, worker) for every block in 0 ... block_count - 1 on up to `thread_count` threads; the
// calling thread is one of them, and a thread that cannot be started leaves its share to the others. No block
// is started once `cancel` is set. Returns true when every block was done, false when the run was cancelled.
// Worker numbers stay below `thread_count`, so per-worker state can be kept in that many slots.
bool run_blocks(int64_t block_count, int thread_count, const std::atomic<bool>& cancel,
                const Block_Work& work);

// Starts a std::thread running `body`; throws std::system_error when it cannot be started. Tests make the
// next `failing_thread_starts` starts fail this way.
std::thread start_thread(std::function<void()> body);
extern std::atomic<int> failing_thread_starts;
