// The viewer itself, run on the headless display: its start-up, its plot job, its main window and renderer,
// so that what is drawn here is what the viewer's main window would show.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/application.h"
#include "platform/win32.h"
#include "tools/image.h"
#include "tools/render_options.h"
#include "zeta/plot/plot_job.h"

class Viewer_Session {
public:
    // Selects the headless display, runs the viewer's start-up and stops its first calculation.
    Viewer_Session();
    // The viewer's exit steps.
    ~Viewer_Session();
    Viewer_Session(const Viewer_Session&) = delete;
    Viewer_Session& operator=(const Viewer_Session&) = delete;

    bool started() const { return started_; }

    // Replaces the start-up plot settings, critical-line flag and plot rectangle with those given. Returns
    // what is wrong when the rectangle does not fit into 32-bit coordinates, else an empty text.
    std::string apply(const Render_Options& options);

    RECT plot() const;
    Size window_size() const;  // the main window's client size
    // Makes the main window's client area that size, as a user resizing the window would.
    void resize_window(Size size);

    // Restarts the calculation as the viewer's commands do and waits for its end, telling `progress` (when
    // given) the share of the work done every so often. True when every value was computed, or when the plot
    // lies wholly beyond the accurate method's range; otherwise the status text says why not.
    bool calculate(const std::function<void(double)>& progress);
    std::string status_text() const;
    const Plot_Job& job() const;

    // Lets the main window process what is pending, repaint included, and returns what it shows.
    Image capture();

private:
    Application application_;
    bool started_ = false;
};
