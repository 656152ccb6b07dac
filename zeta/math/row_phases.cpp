#include "zeta/math/row_phases.h"

#include <algorithm>
#include <cmath>

#include "zeta/math/accurate_zeta.h"
#include "zeta/math/power_sum_kernel.h"
#include "zeta/math/saddle_point.h"

namespace zeta_math {

bool continues_chain(double before, double t, int64_t y) {
    if (y % phase_chain_rows == 0) return false;
    auto saddle_row = [](double height) {
        return std::fabs(height) >= saddle_height && std::fabs(height) <= accurate_height_limit;
    };
    if (!saddle_row(t) || !saddle_row(before) || std::signbit(t) != std::signbit(before)) return false;
    return two_sum(std::fabs(t), -std::fabs(before)).lo == 0.0;
}

size_t Row_Phases::bytes() const {
    size_t entries = 0;
    for (const Phase_Storage& seed : seeds_)
        entries += seed.capacity();
    for (const auto& step : steps_)
        entries += step->re.capacity();  // and as many of im
    entries += step_scratch_.capacity();
    return entries * sizeof(Unit_Complex) +
           sizeof(double) * (current_re_.capacity() + current_im_.capacity() + group_re_.capacity() +
                             group_im_.capacity());
}

bool Row_Phases::start(std::vector<Row> rows, const std::atomic<bool>* cancel) {
    rows_ = std::move(rows);
    ++uses_;
    // The terms each chain needs: the most of any of its rows, for its seed and for its steps alike.
    std::vector<int32_t> chain_terms;
    for (const Row& row : rows_) {
        if (!row.follows || chain_terms.empty()) chain_terms.push_back(0);
        chain_terms.back() = std::max(chain_terms.back(), row.terms);
    }
    const int32_t most_terms =
        chain_terms.empty() ? 0 : *std::max_element(chain_terms.begin(), chain_terms.end());
    if (!primes_ || primes_->limit < most_terms) primes_ = prime_table(std::max(most_terms, 1));
    if (seeds_.size() < chain_terms.size()) seeds_.resize(chain_terms.size());
    seed_terms_ = chain_terms;
    row_steps_.assign(rows_.size(), nullptr);
    size_t chain = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        if (i > 0 && row.follows) {
            row_steps_[i] = step_table(row.t - rows_[i - 1].t, chain_terms[chain - 1], cancel);
            if (!row_steps_[i]) return false;
            continue;
        }
        Unit_Complex* seed = seeds_[chain].reserve(static_cast<size_t>(chain_terms[chain]) + 1);
        if (!build_phase_table(*primes_, row.t, chain_terms[chain], seed, cancel)) return false;
        ++chain;
    }
    // Step tables this block did not use go, the least recently used first, down to kept_steps.
    while (steps_.size() > kept_steps) {
        auto oldest = std::min_element(steps_.begin(), steps_.end(), [](const auto& a, const auto& b) {
            return a->last_use < b->last_use;
        });
        if ((*oldest)->last_use == uses_) break;
        steps_.erase(oldest);
    }
    return true;
}

Row_Phases::Step* Row_Phases::step_table(double delta, int32_t terms, const std::atomic<bool>* cancel) {
    Step* step = nullptr;
    for (const auto& kept : steps_) {
        if (kept->delta == delta && std::signbit(kept->delta) == std::signbit(delta)) step = kept.get();
    }
    if (!step) {
        steps_.push_back(std::make_unique<Step>());
        step = steps_.back().get();
        step->delta = delta;
    }
    step->last_use = uses_;
    if (step->terms < terms) {
        step->terms = 0;  // incomplete until built
        Unit_Complex* table = step_scratch_.reserve(static_cast<size_t>(terms) + 1);
        if (!build_phase_table(*primes_, delta, terms, table, cancel)) return nullptr;
        // Split into real and imaginary parts, for the vector loops of advance_phases.
        double* re = step->re.reserve(static_cast<size_t>(terms) + 1);
        double* im = step->im.reserve(static_cast<size_t>(terms) + 1);
        for (size_t n = 1; n <= static_cast<size_t>(terms); ++n) {
            re[n] = table[n].re;
            im[n] = table[n].im;
        }
        step->terms = terms;
    }
    return step;
}

void Row_Phases::fill_panel(int32_t first, int32_t count, int32_t capacity, double* b) {
    const size_t size = static_cast<size_t>(count);
    current_re_.resize(size);
    current_im_.resize(size);
    group_re_.resize(tile_b_columns * size);
    group_im_.resize(tile_b_columns * size);
    double* re = current_re_.data();
    double* im = current_im_.data();
    const Plot_Kernels& kernels = plot_kernels(kernel_variant());
    size_t chain = 0;
    size_t valid = 0;  // entries of the panel that the current chain covers
    // Each group's rows are gathered lane by lane and written to the kernel's layout once it is complete.
    auto write_group = [&](int32_t group, int32_t lanes) {
        std::fill(group_re_.begin() + lanes * count, group_re_.end(), 0.0);
        std::fill(group_im_.begin() + lanes * count, group_im_.end(), 0.0);
        double* out = b + static_cast<size_t>(group) * static_cast<size_t>(capacity) * tile_b_stride;
        const double* from_re = group_re_.data();
        const double* from_im = group_im_.data();
        for (size_t k = 0; k < size; ++k) {
            double* entry = out + k * tile_b_stride;
#pragma GCC unroll 16
            for (size_t lane = 0; lane < tile_b_columns; ++lane) {
                entry[lane] = from_re[lane * size + k];
                entry[tile_b_columns + lane] = from_im[lane * size + k];
            }
        }
    };
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        if (i == 0 || !row.follows) {
            const Unit_Complex* seed = seeds_[chain].data();
            const int64_t covered = int64_t{seed_terms_[chain]} + 1 - first;
            ++chain;
            valid = static_cast<size_t>(std::clamp<int64_t>(covered, 0, count));
            for (size_t k = 0; k < valid; ++k) {
                re[k] = seed[static_cast<size_t>(first) + k].re;
                im[k] = seed[static_cast<size_t>(first) + k].im;
            }
            std::fill(re + valid, re + size, 0.0);
            std::fill(im + valid, im + size, 0.0);
        } else {
            const Step& step = *row_steps_[i];
            if (valid > 0)
                kernels.advance_phases(re, im, step.re.data() + first, step.im.data() + first, valid);
        }
        std::copy(re, re + size, group_re_.begin() + row.lane * count);
        std::copy(im, im + size, group_im_.begin() + row.lane * count);
        if (i + 1 == rows_.size() || rows_[i + 1].group != row.group) write_group(row.group, row.lane + 1);
    }
}

}  // namespace zeta_math
