// zeta-render: draws the viewer's main window for given plot settings into a PNG, without a screen.
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>

#include "project_version.h"
#include "tools/csv_file.h"
#include "tools/output_file.h"
#include "tools/plot_layout.h"
#include "tools/png_file.h"
#include "tools/progress_line.h"
#include "tools/render_options.h"
#include "tools/viewer_session.h"

namespace {

constexpr int exit_bad_input = 2;
constexpr int exit_internal_error = 1;

int fail(const std::string& message, int status = exit_bad_input) {
    std::fprintf(stderr, "zeta-render: %s\n", message.c_str());
    return status;
}

int render(const Render_Options& options) {
    std::string error;
    if (!options.output_path.empty() && !options.csv_path.empty() &&
        same_output(options.output_path, options.csv_path))
        return fail("--output and --csv name the same file");
    for (const std::string* path : {&options.output_path, &options.csv_path}) {
        if (!path->empty() && !check_writable(*path, error)) return fail(error);
    }

    Viewer_Session session;
    if (!session.started()) return fail("the viewer's main window could not be created", exit_internal_error);
    error = session.apply(options);
    if (!error.empty()) return fail(error);

    const bool png_wanted = !options.output_path.empty();
    if (png_wanted) {
        const Size image_size = options.image_size.value_or(session.window_size());
        error = layout_problem(session.plot(), image_size.width, image_size.height);
        if (!error.empty()) return fail(error);
        session.resize_window(image_size);
    }

    Progress_Line progress(!options.quiet);
    std::function<void(double)> report;
    if (progress.shown()) report = [&](double done) { progress.update(done); };
    const bool finished = session.calculate(report);
    if (finished) progress.update(1.0);
    progress.finish();
    if (!finished) return fail(session.status_text());

    if (png_wanted) {
        const Image image = session.capture();
        const Size wanted = session.window_size();
        if (image.width != wanted.width || image.height != wanted.height) {
            return fail("not enough memory for an image of " + std::to_string(wanted.width) + "x" +
                        std::to_string(wanted.height));
        }
        const File_Writer png = [&](std::FILE* file, std::string& message) {
            return write_png(file, image, message);
        };
        if (!write_file(options.output_path, png, error)) return fail(error);
    }
    if (!options.csv_path.empty()) {
        const File_Writer csv = [&](std::FILE* file, std::string& message) {
            return write_grid_csv(file, session.job(), message);
        };
        if (!write_file(options.csv_path, csv, error)) return fail(error);
    }
    if (!options.quiet) std::fprintf(stderr, "%s\n", session.status_text().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that goes away is a write error like any other: reported, with exit status 2.
    std::signal(SIGPIPE, SIG_IGN);
    std::string error;
    const std::optional<Render_Options> options = parse_render_options(argc, argv, error);
    if (!options) return fail(error);
    if (options->help) {
        std::fputs(usage_text().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("zeta-render %s\n", project_version);
        return 0;
    }
    return render(*options);
}
