// The zeta function from the alternating (eta) series.
#pragma once

#include <cstdint>

struct Complex {
    double real = 0.0;
    double imaginary = 0.0;
};

// Sums the first `terms` terms of the eta series at s and divides by 1 - 2^(1 - s). No term is summed when
// `terms` < 1. Where the formula breaks down (s = 1, overflowing n^σ) the result carries NaN or infinities.
// Pure: safe on any thread.
void evaluate_zeta(int32_t terms, const Complex& s, Complex& result);
