// "Show zeros" in the running application: white marks across the critical line on the rows of the zeros in
// view, the status line's summary, the readout naming a marked zero, and the conjugates below the real axis.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>

#include "platform/testing/testing.h"
#include "tests/app/app_fixture.h"
#include "tests/support/message_pump.h"

namespace app_test {
namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr int critical_x = 125;  // σ = 1/2 with the start-up plot's left edge and scale
constexpr int plot_bottom = 580;

// The ordinates of the first eight zeros (Odlyzko's tables), the ones in the start-up view (t from -5 to 47).
constexpr double first_zeros[] = {14.134725141734693, 21.022039638771555, 25.010857580145688,
                                  30.424876125859513, 32.935061587739189, 37.586178158825671,
                                  40.918719012147495, 43.327073280914999};

class Zeros_Shown : public Application_Test {
protected:
    // Waits for the plot and for the zeros in view.
    static void finish_zeros() {
        finish_calculation();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!viewer().zeros.result() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            test_support::pump_until_idle();
        }
        test_support::pump_until_idle();
    }

    // The pixel row of a height in the start-up plot: the row whose t is nearest.
    static int row_y(double t) { return plot_bottom - static_cast<int>(std::lround((t + 5.0) / 0.1)); }
};

TEST_F(Zeros_Shown, MarksTheZerosInViewSumsThemUpAndNamesThemInTheReadout) {
    compute_quick_plot();
    EXPECT_EQ(shown(critical_x - 4, row_y(first_zeros[0])), shown(critical_x - 4, row_y(first_zeros[0]) + 1))
        << "no marks before the zeros are shown";
    choose_menu_entry(120, 100, "Show zeros");
    finish_zeros();
    ASSERT_TRUE(viewer().zeros.result());
    for (const double gamma : first_zeros) {
        const int y = row_y(gamma);
        for (int x = critical_x - 4; x <= critical_x + 4; ++x)
            EXPECT_EQ(shown(x, y), white) << "gamma " << gamma << " at x " << x;
        EXPECT_NE(shown(critical_x - 5, y), white);
        EXPECT_NE(shown(critical_x + 5, y), white);
    }
    EXPECT_EQ(viewer().zeros.result()->search.zeros.size(), 8u);
    EXPECT_EQ(zeros_summary(*viewer().zeros.result()), " Zeros #1 to #8, all on the critical line.");

    move(critical_x + 3, row_y(first_zeros[0]));
    const std::string named = "zero #1 at s = 0.5 + ";
    ASSERT_EQ(viewer().readout.substr(0, named.size()), named);
    EXPECT_NEAR(std::stod(viewer().readout.substr(named.size())), first_zeros[0], 1e-10);
    move(critical_x + 6, row_y(first_zeros[0]));
    EXPECT_EQ(viewer().readout.rfind("s = ", 0), 0u) << "more than 4 pixels from the line: the cell's value";

    choose_menu_entry(120, 100, "Hide zeros");
    for (const double gamma : first_zeros)
        EXPECT_NE(shown(critical_x, row_y(gamma)), white);
    EXPECT_EQ(menu_index("Show zeros"), menu_index("Graph Phase") + 1);
}

TEST_F(Zeros_Shown, BelowTheRealAxisMarksTheConjugates) {
    viewer().job.settings.imaginary_part = -47.0;
    viewer().job.settings.precision = 10;
    viewer().restart_calculation();
    choose_menu_entry(120, 100, "Show zeros");
    finish_zeros();
    ASSERT_TRUE(viewer().zeros.result());
    EXPECT_EQ(zeros_summary(*viewer().zeros.result()), " Zeros #1 to #8, all on the critical line.");
    const int bottom_t = -47;
    for (const double gamma : first_zeros) {
        const int y = plot_bottom - static_cast<int>(std::lround((-gamma - bottom_t) / 0.1));
        EXPECT_EQ(shown(critical_x, y), white) << "-" << gamma;
    }
    move(critical_x, plot_bottom - static_cast<int>(std::lround((-first_zeros[0] - bottom_t) / 0.1)));
    EXPECT_EQ(viewer().readout.substr(0, 24), "zero #1 at s = 0.5 - 14.");
}

}  // namespace
}  // namespace app_test
