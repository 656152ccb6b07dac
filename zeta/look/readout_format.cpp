#include "zeta/look/readout_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "zeta/look/digits.h"

using zeta_look::decimal_exponent;
using zeta_look::leading_place;
using zeta_look::ulp;

namespace {

// "14.1300" → "14.13", "2.50e-17" → "2.5e-17", "3.000" → "3".
std::string without_trailing_zeros(const std::string& text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return text;
    const std::size_t exponent = std::min(text.find('e'), text.size());
    std::size_t end = exponent;
    while (text[end - 1] == '0')
        --end;
    if (end - 1 == point) --end;
    return text.substr(0, end) + text.substr(exponent);
}

std::string imaginary_part(double imaginary, const std::string& magnitude) {
    return (imaginary < 0.0 ? " - " : " + ") + magnitude + "i";
}

}  // namespace

std::string format_coordinate(double value, double cell_step) {
    if (value == 0.0) return "0";
    char text[512];
    if (!std::isfinite(value)) {
        std::snprintf(text, sizeof text, "%f", value);
        return text;
    }
    const int exponent = decimal_exponent(value);
    int last_place = exponent - 9;  // ten significant digits
    // Neighbouring cells, each rounded to a double, may lie up to two ulps closer than cell_step.
    // Closer cells are told apart by the double's last digit.
    const int ulp_place = leading_place(ulp(value));
    if (cell_step > 0.0 && std::isfinite(cell_step)) {
        const double least_distance = cell_step - 2 * ulp(value);
        last_place = std::min(last_place, least_distance > 0.0 ? leading_place(least_distance) : ulp_place);
    }
    last_place = std::max(last_place, ulp_place);
    if (exponent > -5 && exponent < 16)
        std::snprintf(text, sizeof text, "%.*f", std::max(0, -last_place), value);
    else
        std::snprintf(text, sizeof text, "%.*e", std::max(0, exponent - last_place), value);
    return without_trailing_zeros(text);
}

std::string format_value(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

std::string readout_line(const Complex& s, double real_step, double imaginary_step) {
    return "s = " + format_coordinate(s.real, real_step) +
           imaginary_part(s.imaginary, format_coordinate(std::fabs(s.imaginary), imaginary_step));
}

std::string readout_line(const Complex& s, const Complex& zeta, double real_step, double imaginary_step) {
    return readout_line(s, real_step, imaginary_step) + "   \u03b6(s) = " + format_value(zeta.real) +
           imaginary_part(zeta.imaginary, format_value(std::fabs(zeta.imaginary))) +
           "   |\u03b6(s)| = " + format_value(std::hypot(zeta.real, zeta.imaginary));
}

std::string series_error_suffix(const Complex& series, const Complex& accurate) {
    const double distance = std::hypot(series.real - accurate.real, series.imaginary - accurate.imaginary);
    const double size = std::hypot(accurate.real, accurate.imaginary);
    if (!(distance > 1e-6 * std::max(1.0, size))) return {};
    char text[48];
    std::snprintf(text, sizeof text, "   series off by %.1e", distance);
    return text;
}
