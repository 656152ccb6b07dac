// Where the digits of a double stand: the arithmetic that the readout's and the tick labels' texts share.
#pragma once

namespace zeta_look {

// Power of ten of the leading digit of a finite x ≠ 0, as printf writes it (log10 can miss a power of 10).
int decimal_exponent(double x);

// Distance from finite x to the next double away from 0.
double ulp(double x);

// Power of ten of the leading digit of x > 0 (floor of log10).
int leading_place(double x);

}  // namespace zeta_look
