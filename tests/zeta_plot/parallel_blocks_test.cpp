#include "zeta/plot/parallel_blocks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

struct Record {
    std::mutex mutex;
    std::vector<int> runs_of_block;
    std::set<int> workers;
    std::set<std::thread::id> threads;
};

Block_Work recording(Record& record) {
    return [&record](int64_t block, int worker) {
        std::lock_guard lock(record.mutex);
        ++record.runs_of_block[static_cast<size_t>(block)];
        record.workers.insert(worker);
        record.threads.insert(std::this_thread::get_id());
        return true;
    };
}

TEST(RunBlocks, EveryBlockRunsOnceOnAtMostTheGivenThreads) {
    for (const int threads : {1, 2, 3, 7}) {
        for (const int blocks : {0, 1, 5, 200}) {
            Record record;
            record.runs_of_block.assign(static_cast<size_t>(blocks), 0);
            const std::atomic<bool> cancel{false};
            EXPECT_TRUE(run_blocks(blocks, threads, cancel, recording(record)));
            for (const int runs : record.runs_of_block)
                EXPECT_EQ(runs, 1) << threads << " threads, " << blocks << " blocks";
            for (const int worker : record.workers) {
                EXPECT_GE(worker, 0);
                EXPECT_LT(worker, threads);
            }
            EXPECT_LE(record.threads.size(), static_cast<size_t>(threads));
        }
    }
}

TEST(RunBlocks, ACancelStopsHandingOutBlocksAndIsReported) {
    std::atomic<bool> cancel{false};
    std::atomic<int> started{0};
    const bool done = run_blocks(1000, 3, cancel, [&](int64_t block, int) {
        ++started;
        if (block == 10) cancel = true;
        return true;
    });
    EXPECT_FALSE(done);
    EXPECT_LT(started.load(), 20);  // at most the blocks already in other workers' hands
    // Work that reports its own stop ends the run too.
    cancel = false;
    EXPECT_FALSE(run_blocks(5, 2, cancel, [](int64_t block, int) { return block != 3; }));
}

TEST(RunBlocks, ThreadsThatCannotStartLeaveTheWorkToTheOthers) {
    Record record;
    record.runs_of_block.assign(50, 0);
    const std::atomic<bool> cancel{false};
    failing_thread_starts = 1;  // the first helper: none is tried after it
    EXPECT_TRUE(run_blocks(50, 7, cancel, recording(record)));
    EXPECT_EQ(failing_thread_starts.load(), 0);
    for (const int runs : record.runs_of_block)
        EXPECT_EQ(runs, 1);
    EXPECT_EQ(record.threads, std::set<std::thread::id>{std::this_thread::get_id()});
}

TEST(CalculationThreadCount, TakesAPositiveCountFromTheEnvironment) {
    const int hardware = static_cast<int>(std::max(std::thread::hardware_concurrency(), 1u));
    ::setenv("ZETA_THREADS", "3", 1);
    EXPECT_EQ(calculation_thread_count(), 3);
    for (const char* ignored : {"0", "-2", "two", "3x", ""}) {
        ::setenv("ZETA_THREADS", ignored, 1);
        EXPECT_EQ(calculation_thread_count(), hardware) << '"' << ignored << '"';
    }
    ::unsetenv("ZETA_THREADS");
    EXPECT_EQ(calculation_thread_count(), hardware);
}

}  // namespace
