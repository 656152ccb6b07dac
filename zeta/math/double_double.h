// Double-double numbers: the unevaluated sum hi + lo of two doubles, about 106 bits. Phases such as t·ln n
// reach 10^10 at the heights the viewer shows and must still be right to 10^-13 once reduced modulo 2π.
//
// The error-free sums and products below need strict IEEE double arithmetic: no FMA contraction, no x87
// extended precision (the library builds with -ffp-contract=off, and with SSE2 arithmetic on 32-bit x86).
#pragma once

namespace zeta_math {

struct Double_Double {
    double hi = 0.0;
    double lo = 0.0;
};

// a + b exactly, as the rounded sum and its error.
inline Double_Double two_sum(double a, double b) {
    const double s = a + b;
    const double v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}

// a + b exactly when |a| ≥ |b|.
inline Double_Double quick_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// Dekker's split of a into two 26-bit halves.
inline Double_Double split(double a) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double high = c - (c - a);
    return {high, a - high};
}

// a · b exactly, as the rounded product and its error.
inline Double_Double two_product(double a, double b) {
    const double p = a * b;
    const Double_Double x = split(a);
    const Double_Double y = split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

// a · b exactly, with a and b already split.
inline Double_Double two_product(double a, Double_Double a_halves, double b, Double_Double b_halves) {
    const double p = a * b;
    return {p, ((a_halves.hi * b_halves.hi - p) + a_halves.hi * b_halves.lo + a_halves.lo * b_halves.hi) +
                   a_halves.lo * b_halves.lo};
}

inline Double_Double operator+(Double_Double a, Double_Double b) {
    Double_Double s = two_sum(a.hi, b.hi);
    const Double_Double e = two_sum(a.lo, b.lo);
    s.lo += e.hi;
    s = quick_two_sum(s.hi, s.lo);
    s.lo += e.lo;
    return quick_two_sum(s.hi, s.lo);
}

inline Double_Double operator-(Double_Double a) {
    return {-a.hi, -a.lo};
}

inline Double_Double operator-(Double_Double a, Double_Double b) {
    return a + (-b);
}

inline Double_Double operator*(Double_Double a, Double_Double b) {
    Double_Double p = two_product(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return quick_two_sum(p.hi, p.lo);
}

inline Double_Double operator*(Double_Double a, double b) {
    Double_Double p = two_product(a.hi, b);
    p.lo += a.lo * b;
    return quick_two_sum(p.hi, p.lo);
}

// a · b as operator* does, with a.hi and b already split.
inline Double_Double multiply(Double_Double a, Double_Double a_halves, double b, Double_Double b_halves) {
    Double_Double p = two_product(a.hi, a_halves, b, b_halves);
    p.lo += a.lo * b;
    return quick_two_sum(p.hi, p.lo);
}

Double_Double operator/(Double_Double a, Double_Double b);

// Natural logarithm of x > 0, good to about 10^-31 relative.
Double_Double log_dd(Double_Double x);

// x − 2πk for the integer k nearest to x / 2π, rounded to double: a value in about [−π, π].
double reduce_modulo_two_pi(Double_Double x);

inline constexpr Double_Double dd_pi{3.141592653589793, 1.2246467991473532e-16};
inline constexpr Double_Double dd_two_pi{6.283185307179586, 2.4492935982947064e-16};
inline constexpr Double_Double dd_log_two{0.6931471805599453, 2.3190468138462996e-17};
inline constexpr Double_Double dd_log_two_pi{1.8378770664093456, -7.756588316134483e-17};

}  // namespace zeta_math
