#include "zeta/plot/zero_job.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Runs a search for rows from `first` to `last` and waits for its result.
std::shared_ptr<const Zeros_In_View> zeros_between(double first, double last) {
    Zero_Job job;
    std::atomic<int> ready{0};
    job.start(first, last, [&ready] { ++ready; });
    job.wait();
    EXPECT_EQ(ready.load(), 1);
    return job.result();
}

TEST(ZeroJob, SearchesTheHeightsOfTheRowsAboveTheAxisWhateverTheirSign) {
    const auto above = zeros_between(47.0, 10.0);
    ASSERT_TRUE(above);
    EXPECT_EQ(above->low, 10.0);
    EXPECT_EQ(above->high, 47.0);
    EXPECT_EQ(zeros_summary(*above), " Zeros #1 to #8, all on the critical line.");

    const auto below = zeros_between(-30.0, -20.0);  // zeros #2 and #3, as conjugates
    ASSERT_TRUE(below);
    EXPECT_EQ(zeros_summary(*below), " Zeros #2 to #3, all on the critical line.");

    const auto across = zeros_between(-15.0, 22.0);  // 21.02 above and the conjugate of 14.13 below
    ASSERT_TRUE(across);
    EXPECT_EQ(zeros_summary(*across), " Zeros #1 to #2, all on the critical line.");

    EXPECT_EQ(zeros_summary(*zeros_between(-5.0, 14.0)), " No zeros.");
}

TEST(ZeroJob, DeclinesTooManyZerosAndSaysPlainlyWhatTheCountFound) {
    const auto many = zeros_between(0.0, 1e6);
    ASSERT_TRUE(many);
    EXPECT_TRUE(many->declined);
    EXPECT_TRUE(many->search.zeros.empty());
    EXPECT_EQ(zeros_summary(*many).rfind(" Zeros not marked: about ", 0), 0u) << zeros_summary(*many);

    Zeros_In_View short_list;
    short_list.search.zeros = {{5, 32.9}, {6, 37.6}};
    short_list.search.found = 2;
    short_list.search.expected = 3;
    short_list.search.counted = true;
    EXPECT_EQ(zeros_summary(short_list),
              " Zeros #5 to #6, but 1 zero of the count not found: not shown to lie on the critical line.");
    short_list.search.counted = false;
    EXPECT_EQ(zeros_summary(short_list), " Zeros #5 to #6; their count could not be checked.");
}

TEST(ZeroJob, StoppingCancelsTheSearchAndDropsTheResult) {
    Zero_Job job;
    std::atomic<int> ready{0};
    job.start(1e8, 1e8 + 2000.0, [&ready] { ++ready; });  // thousands of zeros high up: takes a while
    job.stop();
    EXPECT_FALSE(job.result());
    job.start(10.0, 20.0, [&ready] { ++ready; });
    job.wait();
    EXPECT_TRUE(job.result());
    job.stop();
    EXPECT_FALSE(job.result());
}

}  // namespace
