#include "tests/app/program_checks.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/application.h"
#include "platform/gdi/surface.h"
#include "screen_objects/object_registry.h"

namespace app_test {

namespace {

constexpr char main_window_caption[] = "Ostrelin zeta function viewer";

}  // namespace

int thread_count() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The command name may hold blanks; the fields after it are blank-separated, num_threads the 18th.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 0; i < 18; ++i)
        fields >> field;
    return std::stoi(field);
}

Program_Baseline take_baseline(Application& app) {
    Program_Baseline baseline;
    baseline.gdi_objects = platform::gdi::live_object_count();
    baseline.threads = thread_count();
    if (Window_Object_List* list = object_registry.find_record(app.main_window)) {
        for (On_Screen_Object* object : list->objects) {
            if (object != &app.viewer && object != &app.viewer.menu) baseline.background = object;
        }
    }
    return baseline;
}

::testing::AssertionResult program_is_sane(Application& app, const Program_Baseline& baseline) {
    // A round trip through the main window procedure.
    const LRESULT caption_length = SendMessageA(app.main_window, WM_GETTEXTLENGTH, 0, 0);
    if (caption_length != static_cast<LRESULT>(std::strlen(main_window_caption))) {
        return ::testing::AssertionFailure()
               << "the main window no longer answers (" << caption_length << ")";
    }
    Window_Object_List* list = object_registry.find_record(app.main_window);
    if (list == nullptr) return ::testing::AssertionFailure() << "the main window has no object list";
    const auto count = [list](On_Screen_Object* object) {
        return std::count(list->objects.begin(), list->objects.end(), object);
    };
    const auto viewers = count(&app.viewer);
    const auto backgrounds = count(baseline.background);
    const auto menus = count(&app.viewer.menu);
    if (viewers != 1 || backgrounds != 1 || menus > 1 ||
        list->objects.size() != static_cast<std::size_t>(viewers + backgrounds + menus)) {
        return ::testing::AssertionFailure()
               << "object list: " << list->objects.size() << " objects, " << viewers << " viewers, "
               << backgrounds << " backgrounds, " << menus << " menus";
    }
    if (!list->actions.empty()) {
        return ::testing::AssertionFailure() << list->actions.size() << " actions left in the queue";
    }
    // The worker and the second thread of its grid fill, the readout's background thread, and the search for
    // the zeros in view with its second thread.
    const int threads = thread_count();
    if (threads > baseline.threads + 5) {
        return ::testing::AssertionFailure() << threads << " threads, " << baseline.threads << " when idle";
    }
    if (app.viewer.job.running && !app.viewer.job.thread.joinable()) {
        return ::testing::AssertionFailure() << "a calculation runs without a thread to stop";
    }
    const int gdi_objects = platform::gdi::live_object_count();
    if (gdi_objects != baseline.gdi_objects) {
        return ::testing::AssertionFailure()
               << gdi_objects << " live GDI objects after painting, " << baseline.gdi_objects << " before";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace app_test
