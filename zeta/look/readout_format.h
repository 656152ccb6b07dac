// The texts of the readout line: s with as many digits as tell the pointer's cell from its neighbours,
// ζ(s) with ten significant digits, and how far the series is off where the plot uses it.
#pragma once

#include <string>

#include "zeta/math/zeta_function.h"

// A coordinate of s (σ or t) in plain fixed notation, trailing zeros dropped ("14.13472514",
// "1000000000000.0001"): at least ten significant digits, and down to the place of `cell_step` (the
// distance between neighbouring cells, less the two ulps by which rounding may bring them closer) so that
// they read differently, but no digit below the leading digit of the double's ulp at `value`, which the
// double does not hold. Outside 10⁻⁴ ≤ |value| < 10¹⁶ the same digits in exponent notation
// ("5.551115123e-17"). A cell_step that is not a positive number is ignored.
std::string format_coordinate(double value, double cell_step);

// Ten significant digits as printf's "%.10g" writes them ("3.2e-09", "0.02746317").
std::string format_value(double value);

// "s = 0.5 + 14.13472514i" in UTF-8, the sign of the imaginary part written out; the steps are the cell
// distances along σ and t. The line shown while ζ(s) is being computed.
std::string readout_line(const Complex& s, double real_step, double imaginary_step);

// "s = 0.5 + 14.13472514i   ζ(s) = 3.2e-09 - 1.1e-08i   |ζ(s)| = 1.144552e-08": three blanks between parts.
std::string readout_line(const Complex& s, const Complex& zeta, double real_step, double imaginary_step);

// "   series off by 2.1e-02" (|series − accurate| to two significant digits) to append to the line where the
// plot shows series values, when they are off by more than 10⁻⁶ · max(1, |accurate|); empty otherwise, and
// where the distance is NaN (at the pole).
std::string series_error_suffix(const Complex& series, const Complex& accurate);
