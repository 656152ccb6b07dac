// zeta-render's PNG against the viewer's main window rendered in this process.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/testing/testing.h"
#include "tests/support/message_pump.h"
#include "tests/tools/png_reading.h"
#include "tests/tools/render_tool.h"

namespace tools_test {
namespace {

struct Window_Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Starts the viewer as its entry does, lets `change` alter the plot and the window as the user could (then
// recalculates as the viewer's commands do), waits for the calculation and returns what the main window
// shows.
Window_Pixels render_in_process(const std::function<void(Application&)>& change) {
    platform::headless::use_headless_display();
    platform::user::reset_window_layer();
    Window_Pixels shown;
    {
        Application application;
        EXPECT_TRUE(application.start(GetModuleHandleA(nullptr)));
        if (change) {
            stop_calculation(application.viewer.job);
            change(application);
            test_support::pump_until_idle();
            application.viewer.restart_calculation();
        }
        wait_for_calculation(application.viewer.job);
        test_support::pump_until_idle();
        shown.pixels = platform::headless::shown_pixels(application.main_window, &shown.width, &shown.height);
    }
    platform::user::reset_window_layer();
    return shown;
}

void expect_same_image(const Window_Pixels& expected, const Decoded_Png& png) {
    ASSERT_TRUE(png.ok) << png.error;
    ASSERT_EQ(png.width, expected.width);
    ASSERT_EQ(png.height, expected.height);
    int differences = 0;
    for (size_t i = 0; i < expected.pixels.size(); ++i) {
        if (png.pixels[i] != expected.pixels[i] && ++differences <= 3) {
            ADD_FAILURE() << "pixel (" << i % static_cast<size_t>(png.width) << ", "
                          << i / static_cast<size_t>(png.width) << "): PNG " << std::hex << png.pixels[i]
                          << ", window " << expected.pixels[i];
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST(ZetaRender, WithoutSettingsDrawsTheViewersStartUpWindow) {
    Scratch_Directory directory;
    const Tool_Run run = run_zeta_render({"-o", directory.file("plot.png")});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "Finished calculating reciprocal absolute value with 100 iterations.\n");
    const Decoded_Png png = read_png(directory.file("plot.png"));
    // The default window is three quarters of the headless 1280 x 1024 screen; the image is its client area.
    RECT frame{0, 0, 960, 768};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(png.width, 960 - (frame.right - frame.left - 960));
    EXPECT_EQ(png.height, 768 - (frame.bottom - frame.top - 768));
    expect_same_image(render_in_process(nullptr), png);
}

TEST(ZetaRender, DrawsWhatTheViewerShowsForOtherSettings) {
    Scratch_Directory directory;
    const Tool_Run run = run_zeta_render({"--mode",
                                          "re",
                                          "--real",
                                          "-1.5",
                                          "--imaginary",
                                          "10",
                                          "--real-scale",
                                          "0.03",
                                          "--imaginary-scale",
                                          "0.05",
                                          "--terms",
                                          "40",
                                          "--ceiling",
                                          "3",
                                          "--floor",
                                          "-2",
                                          "--no-critical-line",
                                          "--plot-size",
                                          "150x200",
                                          "--plot-origin",
                                          "80,40",
                                          "--size",
                                          "500x450",
                                          "--quiet",
                                          "-o",
                                          directory.file("plot.png")});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    const Window_Pixels expected = render_in_process([](Application& application) {
        Plot_Job& job = application.viewer.job;
        job.settings = Plot_Settings{.ceiling = 3.0,
                                     .floor = -2.0,
                                     .real_part = -1.5,
                                     .imaginary_part = 10.0,
                                     .real_scale = 0.03,
                                     .imaginary_scale = 0.05,
                                     .precision = 40,
                                     .mode = Real_Part};
        job.show_critical_line = 0;
        application.plot_rect = RECT{80, 40, 230, 240};
        platform::headless::resize(application.main_window, 500, 450);
    });
    expect_same_image(expected, read_png(directory.file("plot.png")));
}

}  // namespace
}  // namespace tools_test
