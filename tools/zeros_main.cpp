// zeta-zeros: the zeros of ζ on the critical line in a range of heights, numbered and verified.
#include <csignal>
#include <cstdio>
#include <new>
#include <string>

#include "project_version.h"
#include "tools/output_file.h"
#include "tools/progress_line.h"
#include "tools/zeros_options.h"
#include "zeta/plot/parallel_blocks.h"
#include "zeta/plot/zeros_search.h"

namespace {

constexpr int exit_not_verified = 1;
constexpr int exit_bad_input = 2;

int fail(const std::string& message) {
    std::fprintf(stderr, "zeta-zeros: %s\n", message.c_str());
    return exit_bad_input;
}

bool write_zeros(std::FILE* file, const Zero_Search& search, std::string& error) {
    std::fprintf(file, "# zeta-zeros T1=%.17g T2=%.17g found=%lld", search.t1, search.t2,
                 static_cast<long long>(search.found));
    if (search.counted) {
        std::fprintf(file, " N(T2)-N(T1)=%lld", static_cast<long long>(search.expected));
    } else {
        std::fputs(" N(T2)-N(T1)=unknown", file);
    }
    if (search.verified) {
        std::fputs(" verified=yes\n", file);
    } else if (search.counted) {
        std::fprintf(file, " verified=no missing=%lld\n", static_cast<long long>(search.missing()));
    } else {
        std::fputs(" verified=no\n", file);
    }
    for (const Zeta_Zero& zero : search.zeros) {
        if (std::fprintf(file, "%lld,%.17g\n", static_cast<long long>(zero.n), zero.gamma) < 0) {
            error = "write error";
            return false;
        }
    }
    return true;
}

int list_zeros(const Zeros_Options& options) {
    std::string error;
    if (!check_writable(options.output_path, error)) return fail(error);
    Progress_Line progress(!options.quiet, "Finding zeros...");
    Zero_Progress report;
    if (progress.shown()) report = [&](double done) { progress.update(done); };
    Zero_Search search;
    try {
        search = find_zeros(options.t1, options.t2, calculation_thread_count(), nullptr, report);
    } catch (const std::bad_alloc&) {
        progress.finish();
        return fail("not enough memory for this range: split it into smaller ones");
    }
    progress.finish();
    const File_Writer writer = [&](std::FILE* file, std::string& message) {
        return write_zeros(file, search, message);
    };
    if (!write_file(options.output_path, writer, error)) return fail(error);
    if (search.verified) return 0;
    if (!options.quiet) {
        if (search.counted) {
            std::fprintf(stderr, "zeta-zeros: not verified: %lld zeros found, N(T2) - N(T1) = %lld\n",
                         static_cast<long long>(search.found), static_cast<long long>(search.expected));
        } else {
            std::fprintf(stderr, "zeta-zeros: not verified: N(T2) - N(T1) could not be established\n");
        }
    }
    return exit_not_verified;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that goes away is a write error like any other: reported, with exit status 2.
    std::signal(SIGPIPE, SIG_IGN);
    std::string error;
    const std::optional<Zeros_Options> options = parse_zeros_options(argc, argv, error);
    if (!options) return fail(error);
    if (options->help) {
        std::fputs(zeros_usage_text().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("zeta-zeros %s\n", project_version);
        return 0;
    }
    return list_zeros(*options);
}
