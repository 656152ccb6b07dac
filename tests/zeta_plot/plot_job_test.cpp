#include "zeta/plot/plot_job.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <thread>

#include "tests/support/sanitizer_scale.h"
#include "zeta/math/zeta_function.h"
#include "zeta/plot/parallel_blocks.h"

namespace {

const std::string calculating = "Calculating values...";
const std::string out_of_memory = "Not enough memory for a plot of this size";

// A calculation that would take far longer than any test: it only ends by being cancelled.
constexpr int32_t endless_precision = 100000000;

// Where a plot is drawn; only its size matters to the job.
struct Rect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
};

void start(Plot_Job& job, const Rect& rect) {
    start_calculation(job, rect.right - rect.left, rect.bottom - rect.top);
}

void use_start_up_settings(Plot_Job& job, Rect& rect) {
    rect = Rect{100, 60, 180, 580};
    job.settings = start_up_settings();
}

// The value cell [x][y] must hold for the job's current settings, evaluated on its own.
double expected_cell(const Plot_Job& job, int32_t x, int32_t y) {
    const Complex s{static_cast<double>(x) * job.settings.real_scale + job.settings.real_part,
                    static_cast<double>(y) * job.settings.imaginary_scale + job.settings.imaginary_part};
    Complex zeta;
    evaluate_zeta(job.settings.precision, s, zeta);
    return cell_value(job.settings.mode, zeta, job.settings.ceiling, job.settings.floor);
}

bool same_bits(double a, double b) {
    return std::memcmp(&a, &b, sizeof(double)) == 0;
}

void expect_cells_match_settings(const Plot_Job& job) {
    for (int32_t x = 0; x < job.grid.width; ++x) {
        for (int32_t y = 0; y < job.grid.height; ++y) {
            ASSERT_TRUE(same_bits(read_cell(job.grid, x, y), expected_cell(job, x, y))) << x << ", " << y;
        }
    }
}

TEST(PlotJob, TheStartUpPlotIsComputedCompletely) {
    Plot_Job job;
    Rect rect;
    use_start_up_settings(job, rect);
    start(job, rect);
    EXPECT_TRUE(job.running);
    wait_for_calculation(job);
    EXPECT_FALSE(job.running);
    EXPECT_EQ(status_text_copy(job), "Finished calculating reciprocal absolute value with 100 iterations.");
    ASSERT_EQ(job.grid.width, 80);
    ASSERT_EQ(job.grid.height, 520);
    const Value_Range range = read_range(job.grid);
    EXPECT_LE(job.settings.floor, range.minimum);
    EXPECT_LT(range.minimum, range.maximum);
    EXPECT_LE(range.maximum, job.settings.ceiling);
    for (const auto& [x, y] : {std::pair{0, 0}, {79, 519}, {25, 190}, {40, 0}}) {
        EXPECT_TRUE(same_bits(read_cell(job.grid, x, y), expected_cell(job, x, y))) << x << ", " << y;
    }
}

TEST(PlotJob, EachModeEndsWithItsMessageAndItsCells) {
    const std::pair<Graph_Mode, std::string> modes[] = {
        {Absolute_Value, "Finished calculating absolute value with 100 iterations."},
        {Real_Part, "Finished calculating real part with 100 iterations."},
        {Imaginary_Part, "Finished calculating imgainary part with 100 iterations."},
        {Reciprocal_Absolute_Value, "Finished calculating reciprocal absolute value with 100 iterations."}};
    Plot_Job job;
    Rect rect{10, 10, 17, 22};
    job.settings = Plot_Settings{.ceiling = 1.5,
                                 .floor = -0.5,
                                 .real_part = 0.2,
                                 .imaginary_part = 10.0,
                                 .real_scale = 0.1,
                                 .imaginary_scale = 0.5};
    for (const auto& [mode, message] : modes) {
        job.settings.mode = mode;
        start(job, rect);
        wait_for_calculation(job);
        EXPECT_EQ(status_text_copy(job), message);
        expect_cells_match_settings(job);
        const Value_Range range = read_range(job.grid);
        EXPECT_LE(-0.5, range.minimum) << mode;
        EXPECT_LE(range.maximum, 1.5) << mode;
    }
}

TEST(PlotJob, ARestartStopsTheRunningCalculationAndStartsOnAFreshGrid) {
    Plot_Job job;
    Rect rect{0, 0, 30, 20};
    job.settings.precision = 50;
    start(job, rect);
    wait_for_calculation(job);
    ASSERT_NE(read_range(job.grid).maximum, 0.0);

    job.settings.precision = endless_precision;
    start(job, rect);
    rect = Rect{0, 0, 12, 9};
    job.settings.mode = Imaginary_Part;
    set_status_text(job, calculating);
    start(job, rect);
    EXPECT_TRUE(job.running);
    EXPECT_EQ(job.grid.width, 12);
    EXPECT_EQ(job.grid.height, 9);
    EXPECT_EQ(read_range(job.grid).minimum, 0.0);
    EXPECT_EQ(read_range(job.grid).maximum, 0.0);

    stop_calculation(job);
    EXPECT_FALSE(job.running);
    EXPECT_EQ(status_text_copy(job), calculating);  // a cancelled calculation leaves the text
    EXPECT_EQ(read_range(job.grid).maximum, 0.0);

    job.settings.precision = 30;
    start(job, rect);
    wait_for_calculation(job);
    EXPECT_EQ(status_text_copy(job), "Finished calculating imgainary part with 30 iterations.");
    expect_cells_match_settings(job);
}

TEST(PlotJob, ALeftOverCancelRequestDoesNotStopTheNextCalculation) {
    Plot_Job job;
    Rect rect{0, 0, 5, 5};
    job.cancel_requested = true;  // as when a request came after the last worker's final cell test
    start(job, rect);
    wait_for_calculation(job);
    EXPECT_EQ(status_text_copy(job), "Finished calculating absolute value with 100 iterations.");
    expect_cells_match_settings(job);
}

TEST(PlotJob, ACalculationUsesTheSettingsOfItsStart) {
    Plot_Job job;
    Rect rect{0, 0, 16, 16};
    job.settings.precision = scaled(20000, 5000);
    job.settings.mode = Real_Part;
    start(job, rect);
    // The UI thread goes on editing while the worker runs.
    job.settings.precision = 7;
    job.settings.mode = Absolute_Value;
    job.settings.real_part = 3.0;
    rect.right = 2;
    wait_for_calculation(job);
    EXPECT_EQ(status_text_copy(job),
              "Finished calculating real part with " + std::to_string(scaled(20000, 5000)) + " iterations.");
    job.settings.precision = scaled(20000, 5000);
    job.settings.mode = Real_Part;
    job.settings.real_part = 0.0;
    expect_cells_match_settings(job);
}

TEST(PlotJob, ARectangleWithoutAreaChangesNothing) {
    Plot_Job job;
    Rect rect{0, 0, 6, 4};
    start(job, rect);
    wait_for_calculation(job);
    const Value_Range before = read_range(job.grid);
    set_status_text(job, "unchanged");
    for (const Rect empty : {Rect{0, 0, 0, 4}, Rect{5, 0, 2, 4}, Rect{0, 4, 6, 4}}) {
        rect = empty;
        start(job, rect);
        EXPECT_FALSE(job.thread.joinable());
        EXPECT_EQ(job.grid.width, 6);
        EXPECT_EQ(job.grid.height, 4);
        EXPECT_EQ(read_range(job.grid).maximum, before.maximum);
        EXPECT_EQ(status_text_copy(job), "unchanged");
    }
    // A running calculation goes on.
    rect = Rect{0, 0, 6, 4};
    job.settings.precision = endless_precision;
    start(job, rect);
    rect.right = rect.left;
    start(job, rect);
    EXPECT_TRUE(job.running);
    EXPECT_TRUE(job.thread.joinable());
    stop_calculation(job);
}

TEST(PlotJob, APlotTooLargeToAllocateSaysSoAndStartsNothing) {
    Plot_Job job;
    Rect rect{0, 0, 5, 5};
    start(job, rect);
    wait_for_calculation(job);
    for (const Rect huge :
         {Rect{0, 0, 100000, 100000}, Rect{INT32_MIN, 0, INT32_MAX, 10}, Rect{0, INT32_MIN, 10, INT32_MAX}}) {
        rect = huge;
        set_status_text(job, calculating);
        start(job, rect);
        EXPECT_EQ(status_text_copy(job), out_of_memory);
        EXPECT_FALSE(job.running);
        EXPECT_FALSE(job.thread.joinable());
        EXPECT_EQ(job.grid.width, 0);
        EXPECT_TRUE(job.grid.columns.empty());
        EXPECT_EQ(read_range(job.grid).maximum, 0.0);
    }
    rect = Rect{0, 0, 3, 2};
    start(job, rect);
    wait_for_calculation(job);
    EXPECT_EQ(job.grid.width, 3);
    EXPECT_EQ(status_text_copy(job), "Finished calculating absolute value with 100 iterations.");
}

TEST(PlotJob, AGridBeyondWhatTheMachineCanHoldIsRefused) {
    // One column more than the cap allows, of 8 MiB each: on a machine with little memory this is far below
    // the 32-bit limit.
    const int64_t column_bytes = (int64_t{1} << 20) * int64_t{sizeof(double)} + int64_t{sizeof(double*)};
    const int64_t columns = static_cast<int64_t>(largest_grid_bytes()) / column_bytes + 1;
    Plot_Job job;
    Rect rect{0, 0, static_cast<int64_t>(columns), 1 << 20};
    set_status_text(job, calculating);
    start(job, rect);
    EXPECT_EQ(status_text_copy(job), out_of_memory);
    EXPECT_FALSE(job.thread.joinable());
    EXPECT_EQ(job.grid.width, 0);
}

TEST(PlotJob, AThreadThatCannotStartSaysSoAndLeavesNoCells) {
    Plot_Job job;
    Rect rect{0, 0, 30, 20};
    start(job, rect);
    wait_for_calculation(job);
    ASSERT_EQ(job.grid.width, 30);

    failing_thread_starts = 1;
    set_status_text(job, calculating);
    start(job, rect);
    EXPECT_EQ(failing_thread_starts.load(), 0);
    EXPECT_EQ(status_text_copy(job), "Could not start the calculation");
    EXPECT_FALSE(job.running);
    EXPECT_FALSE(job.thread.joinable());
    EXPECT_EQ(job.grid.width, 0) << "no half-drawn plot: nothing to draw";
    EXPECT_EQ(read_range(job.grid).maximum, 0.0);

    start(job, rect);  // the next start works again
    wait_for_calculation(job);
    EXPECT_EQ(job.grid.width, 30);
    EXPECT_EQ(status_text_copy(job), "Finished calculating absolute value with 100 iterations.");
}

TEST(PlotJob, AnAccuratePlotWhollyBeyondTheMethodsRangeSaysSoInsteadOfFinished) {
    Plot_Job job;
    job.settings.method = Accurate_Method;
    job.settings.imaginary_part = -3e13;
    job.settings.imaginary_scale = 1e12;
    start(job, Rect{0, 0, 3, 4});
    wait_for_calculation(job);
    EXPECT_EQ(status_text_copy(job), beyond_range_text);
    EXPECT_TRUE(std::isnan(read_cell(job.grid, 2, 3)));

    // Across t = 0 some rows have values.
    job.settings.imaginary_scale = 2e13;
    start(job, Rect{0, 0, 3, 4});
    wait_for_calculation(job);
    EXPECT_EQ(status_text_copy(job), "Finished calculating absolute value accurately.");
}

TEST(PlotJob, DestroyingARunningJobStopsItsWorker) {
    Rect rect{0, 0, 50, 50};
    auto job = std::make_unique<Plot_Job>();
    job->settings.precision = endless_precision;
    start(*job, rect);
    ASSERT_TRUE(job->running);
    job.reset();  // a joinable std::thread left behind would end the process here
}

// The UI thread restarts, paints and waits at random while the workers run; another thread reads what any
// thread may read. Meaningful under ThreadSanitizer above all.
TEST(PlotJob, SurvivesManyRestartsWhilePainting) {
    Plot_Job job;
    Rect rect{0, 0, 1, 1};
    std::atomic<bool> done{false};
    std::thread observer([&] {
        while (!done) {
            const std::string text = status_text_copy(job);
            EXPECT_TRUE(text.empty() || text == calculating || text.starts_with("Finished calculating"))
                << text;
            (void)job.running.load();
        }
    });
    std::mt19937 random(7);
    double checksum = 0.0;
    [[maybe_unused]] volatile double cells_read = 0.0;
    for (int round = 0; round < scaled(300, 60); ++round) {
        rect = Rect{0, 0, static_cast<int64_t>(1 + random() % 40), static_cast<int64_t>(1 + random() % 40)};
        job.settings.precision = static_cast<int32_t>(random() % 3000);
        job.settings.mode = static_cast<Graph_Mode>(random() % 4);
        job.settings.real_part = static_cast<double>(random() % 100) / 50.0 - 1.0;
        job.settings.imaginary_part = static_cast<double>(random() % 100) - 50.0;
        job.settings.real_scale = 0.01 + static_cast<double>(random() % 10) / 100.0;
        job.settings.imaginary_scale = 0.5;
        set_status_text(job, calculating);
        start(job, rect);
        // What the painter reads. Some of these plots hold the pole s = 1, a NaN cell, so only the range
        // (whose first cell is never the pole here) goes into the checksum.
        const Value_Range range = read_range(job.grid);
        checksum += range.maximum - range.minimum;
        for (int32_t x = 0; x < job.grid.width; ++x) {
            for (int32_t y = 0; y < job.grid.height; ++y)
                cells_read = read_cell(job.grid, x, y);
        }
        if (random() % 8 == 0) {
            wait_for_calculation(job);
            EXPECT_FALSE(job.running);
            EXPECT_TRUE(status_text_copy(job).starts_with("Finished calculating"));
            EXPECT_LE(read_range(job.grid).minimum, read_range(job.grid).maximum);
        }
    }
    wait_for_calculation(job);
    done = true;
    observer.join();
    EXPECT_FALSE(std::isnan(checksum));
    expect_cells_match_settings(job);
}

}  // namespace
