// find_zeros against Arb's acb_dirichlet_hardy_z_zeros at 64-bit precision, side by side: about 100 zeros
// from number 1, from number 10^5 (t ≈ 74920) and from number 10^8 (t ≈ 42653549.76), one thread each, per
// zero; then zeta-zeros' whole run 0 ... 100000 on two threads, and the viewer's 52-unit span at t = 10^8 on
// two threads.
#include <acb_dirichlet.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/mean_time_reporter.h"
#include "zeta/plot/zeros_search.h"

namespace {

struct Stretch {
    const char* name;
    double t1;
    double t2;
    long first;  // the number of the first zero in [t1, t2]
};

// About 100 zeros each.
const Stretch stretches[] = {
    {"from_1", 0.0, 237.0, 1},
    {"from_1e5", 74920.5, 74987.0, 100000},
    {"from_1e8", 42653549.5, 42653589.0, 100000000},
};

int64_t zeros_in(const Stretch& stretch) {
    return find_zeros(stretch.t1, stretch.t2, 1).found;
}

void ours(benchmark::State& state, Stretch stretch) {
    int64_t found = 0;
    for (auto _ : state) {
        const Zero_Search search = find_zeros(stretch.t1, stretch.t2, 1);
        if (!search.verified) state.SkipWithError("not verified");
        found = search.found;
    }
    state.counters["zeros"] = static_cast<double>(found);
}

void arb(benchmark::State& state, Stretch stretch, int64_t count) {
    arb_ptr zeros = _arb_vec_init(count);
    fmpz_t first;
    fmpz_init_set_ui(first, static_cast<ulong>(stretch.first));
    for (auto _ : state) {
        acb_dirichlet_hardy_z_zeros(zeros, first, count, 64);
        benchmark::DoNotOptimize(zeros);
    }
    state.counters["zeros"] = static_cast<double>(count);
    fmpz_clear(first);
    _arb_vec_clear(zeros, count);
}

void range(benchmark::State& state, double t1, double t2, int threads) {
    for (auto _ : state) {
        const Zero_Search search = find_zeros(t1, t2, threads);
        if (!search.verified) state.SkipWithError("not verified");
        state.counters["zeros"] = static_cast<double>(search.found);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int64_t counts[3];
    for (int i = 0; i < 3; ++i) {
        const Stretch& stretch = stretches[i];
        counts[i] = zeros_in(stretch);
        benchmark::RegisterBenchmark((std::string(stretch.name) + "/find_zeros").c_str(), ours, stretch)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string(stretch.name) + "/arb").c_str(), arb, stretch, counts[i])
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    benchmark::RegisterBenchmark("zeta_zeros_0_100000/2_threads", range, 0.0, 1e5, 2)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("viewer_1e8_52_units/2_threads", range, 1e8, 1e8 + 52.0, 2)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Mean_Time_Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nPer zero, one thread each:\n");
    for (int i = 0; i < 3; ++i) {
        const std::string name = stretches[i].name;
        const double mine = reporter.mean(name + "/find_zeros");
        const double theirs = reporter.mean(name + "/arb");
        if (mine <= 0.0 || theirs <= 0.0) continue;
        const double zeros = static_cast<double>(counts[i]);
        std::printf("  %-9s %4.0f zeros: find_zeros %8.4f ms, Arb %8.3f ms per zero: %6.0f times faster\n",
                    name.c_str(), zeros, mine * 1e3 / zeros, theirs * 1e3 / zeros, theirs / mine);
    }
    return 0;
}
