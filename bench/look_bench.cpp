// Phase colours for a whole 960 × 768 plot, and the texts drawn per pointer move (readout line) and per
// render (one axis of tick labels).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <string_view>
#include <vector>

#include "zeta/look/phase_colour.h"
#include "zeta/look/readout_format.h"
#include "zeta/look/tick_label.h"

namespace {

constexpr int plot_cells = 960 * 768;

// Values with arguments all round the wheel and moduli from 2^-20 to 2^20, as near zeros and poles.
const std::vector<Complex>& plot_values() {
    static const std::vector<Complex> values = [] {
        std::mt19937_64 random(1);
        std::uniform_real_distribution<double> arg(-std::numbers::pi, std::numbers::pi),
            log2_modulus(-20.0, 20.0);
        std::vector<Complex> list(plot_cells);
        for (Complex& z : list) {
            const double modulus = std::exp2(log2_modulus(random)), angle = arg(random);
            z = {modulus * std::cos(angle), modulus * std::sin(angle)};
        }
        return list;
    }();
    return values;
}

void phase_colours_of_a_plot(benchmark::State& state) {
    const std::vector<Complex>& values = plot_values();
    std::vector<uint32_t> pixels(values.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < values.size(); ++i)
            pixels[i] = phase_colour(values[i].real, values[i].imaginary);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * plot_cells);
}
BENCHMARK(phase_colours_of_a_plot)->Unit(benchmark::kMillisecond);

void readout_line_at_the_first_zero(benchmark::State& state) {
    const Complex s{0.5, 14.134725141734693}, zeta{3.2e-9, -1.1e-8};
    for (auto _ : state)
        benchmark::DoNotOptimize(readout_line(s, zeta, 1e-9, 1e-9));
}
BENCHMARK(readout_line_at_the_first_zero);

// 26 labels 30 px apart at t ≈ 10^8, none of which fits as "%f".
void tick_labels_high_up(benchmark::State& state) {
    const auto width = [](std::string_view text) {
        int pixels = 0;
        for (char c : text)
            pixels += c == '.' || c == '-' ? 4 : c == '+' ? 10 : c == 'e' ? 7 : 8;
        return pixels;
    };
    for (auto _ : state) {
        for (int k = 0; k <= 25; ++k)
            benchmark::DoNotOptimize(tick_label(100000005.5 + 3.0 * k, 3.0, 70, width));
    }
}
BENCHMARK(tick_labels_high_up);

}  // namespace

BENCHMARK_MAIN();
