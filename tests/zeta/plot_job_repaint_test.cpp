#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/win32.h"
#include "tests/support/message_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_test.h"
#include "zeta/plot_job.h"

using test_support::message_log;
using test_support::pump_until_idle;

namespace {

class Plot_Job_Repaint : public test_support::Headless_Window_Test {
protected:
    void SetUp() override {
        Headless_Window_Test::SetUp();
        ASSERT_NE(test_support::register_logging_class("Plain"), 0);
        window_ = create_top_level("Plain", 10, 10, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ASSERT_NE(window_, nullptr);
        pump_until_idle();
        message_log().clear();
        message_log().handler = [this](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_PAINT) paint_threads_.push_back(std::this_thread::get_id());
            return std::nullopt;
        };
    }

    HWND window_ = nullptr;
    std::vector<std::thread::id> paint_threads_;
};

TEST_F(Plot_Job_Repaint, AFinishedCalculationRepaintsItsWholeWindowOnTheUiThread) {
    Plot_Job job;
    RECT rect{20, 20, 30, 28};
    job.plot_rect = &rect;
    job.repaint_window = window_;
    start_calculation(job);
    // The UI thread retrieves no message meanwhile: the worker must not wait for it.
    wait_for_calculation(job);
    // The worker only asked; nothing was painted on its thread.
    EXPECT_TRUE(paint_threads_.empty());
    pump_until_idle();
    ASSERT_FALSE(paint_threads_.empty());
    for (const std::thread::id id : paint_threads_)
        EXPECT_EQ(id, std::this_thread::get_id());
    EXPECT_FALSE(message_log().of(WM_ERASEBKGND).empty());
}

}  // namespace
