#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "zeta/plot/parallel_blocks.h"
#include "zeta/plot/plot_job.h"

namespace {

// What the listener heard, with the thread it heard it on.
struct Heard {
    std::mutex lock;
    std::vector<std::pair<Calculation_Event, std::thread::id>> events;

    void listen_to(Plot_Job& job) {
        job.listener = [this](Calculation_Event event) {
            std::lock_guard guard(lock);
            events.emplace_back(event, std::this_thread::get_id());
        };
    }
};

TEST(PlotJobListener, HearsTheStartAndTheEndOnTheWorkersThread) {
    Heard heard;
    Plot_Job job;
    heard.listen_to(job);
    start_calculation(job, 10, 8);
    wait_for_calculation(job);
    ASSERT_EQ(heard.events.size(), 2u);
    EXPECT_EQ(heard.events[0].first, Calculation_Event::Started);
    EXPECT_EQ(heard.events[1].first, Calculation_Event::Ended);
    EXPECT_NE(heard.events[0].second, std::this_thread::get_id())
        << "the caller never waits for the listener";
    EXPECT_EQ(heard.events[1].second, heard.events[0].second);
}

TEST(PlotJobListener, HearsNoEndOfACancelledCalculationAndTheEndOfAFailedStart) {
    Heard heard;
    Plot_Job job;
    heard.listen_to(job);
    job.settings.precision = 100000000;  // only ends by being cancelled
    start_calculation(job, 40, 40);
    stop_calculation(job);
    {
        std::lock_guard guard(heard.lock);
        for (const auto& [event, thread] : heard.events)
            EXPECT_EQ(event, Calculation_Event::Started);
        heard.events.clear();
    }

    failing_thread_starts = 1;
    start_calculation(job, 4, 4);
    ASSERT_EQ(heard.events.size(), 1u);
    EXPECT_EQ(heard.events[0].first, Calculation_Event::Ended);
    EXPECT_EQ(heard.events[0].second, std::this_thread::get_id());
    EXPECT_EQ(status_text_copy(job), "Could not start the calculation");
}

TEST(PlotJobListener, AGridRemembersTheSettingsItWasComputedFor) {
    Plot_Job job;
    job.settings = start_up_settings();
    start_calculation(job, 3, 3);
    job.settings.real_part = 7.0;  // takes effect at the next start only
    wait_for_calculation(job);
    EXPECT_EQ(job.grid.settings, start_up_settings());
    start_calculation(job, 3, 3);
    EXPECT_EQ(job.grid.settings.real_part, 7.0);
    wait_for_calculation(job);
}

}  // namespace
