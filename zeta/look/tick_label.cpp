#include "zeta/look/tick_label.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "zeta/look/digits.h"

using zeta_look::decimal_exponent;
using zeta_look::leading_place;
using zeta_look::ulp;

namespace {

std::string printed(const char* format, int precision, double value) {
    const int size = std::snprintf(nullptr, 0, format, precision, value);
    if (size < 0) return {};
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, precision, value);
    text.pop_back();
    return text;
}

// Power of ten of the last digit a label shows: a tenth of the spacing (the "%f" digits when it is
// unknown), but nothing the double does not hold.
int last_place(double value, double spacing) {
    const bool known = spacing > 0.0 && std::isfinite(spacing);
    return std::max(known ? leading_place(spacing) - 1 : -6, leading_place(ulp(value)));
}

std::string without_trailing_zeros(const std::string& digits) {
    if (digits.find('.') == std::string::npos) return digits;
    std::size_t end = digits.size();
    while (digits[end - 1] == '0')
        --end;
    if (digits[end - 1] == '.') --end;
    return digits.substr(0, end);
}

// "11.2", "-3": value rounded to 10^place.
std::string fixed_text(double value, int place) {
    const std::string text = without_trailing_zeros(printed("%.*f", std::max(0, -place), value));
    return text == "-0" ? "0" : text;
}

// "1.0000000055e8", "-2.5e-7": value rounded to 10^place, the exponent written short.
std::string scientific_text(double value, int place) {
    const std::string text = printed("%.*e", std::max(0, decimal_exponent(value) - place), value);
    const std::size_t e = text.find('e');
    return without_trailing_zeros(text.substr(0, e)) + "e" + std::to_string(std::atoi(text.c_str() + e + 1));
}

// The number a label stands for: the number, or the base plus the offset.
double label_value(const std::string& label) {
    char* rest = nullptr;
    const double number = std::strtod(label.c_str(), &rest);
    return *rest == '\0' ? number : number + std::strtod(rest, nullptr);
}

// "1e8+5.5": the multiple of 10^base_place nearest to value, and the offset from it rounded to 10^place.
// Empty when that multiple is 0 (the fixed text says the same) or not finite, and where the written base
// is not the double the offset was taken from closely enough (fractional bases, near the ulp).
std::string base_offset_text(double value, int base_place, int place) {
    const double unit = std::pow(10.0, base_place);
    const double multiple = std::round(value / unit);
    if (multiple == 0.0 || !std::isfinite(multiple)) return {};
    const double base = multiple * unit;
    const std::string offset = fixed_text(std::fabs(value - base), place);
    const std::string text = scientific_text(base, base_place);
    const std::string label = offset == "0" ? text : text + (value < base ? "-" : "+") + offset;
    // A hair of slack for the rounding of the sum itself, where the offset ends in a 5.
    const bool faithful = std::fabs(label_value(label) - value) <= 0.5 * std::pow(10.0, place) * (1 + 1e-6);
    return faithful ? label : std::string{};
}

}  // namespace

std::string tick_label(double value, double tick_spacing, int box_width,
                       const std::function<int(std::string_view)>& text_width) {
    const auto fits = [&](const std::string& text) { return text_width(text) <= box_width; };
    const std::string six_decimals = printed("%.*f", 6, value);
    const bool six_enough = !(tick_spacing > 0.0 && tick_spacing < 1e-6);
    if (!std::isfinite(value) || (six_enough && fits(six_decimals))) return six_decimals;

    const int place = last_place(value, tick_spacing);
    std::vector<std::string> tried{fixed_text(value, place)};
    if (fits(tried.back())) return tried.back();
    // From the roundest base down: the rounder the base, the more neighbouring ticks share it.
    for (int base_place = decimal_exponent(value); base_place > place; --base_place) {
        std::string text = base_offset_text(value, base_place, place);
        if (text.empty()) continue;
        tried.push_back(std::move(text));
        if (fits(tried.back())) return tried.back();
    }
    tried.push_back(scientific_text(value, place));
    if (fits(tried.back())) return tried.back();
    return *std::min_element(tried.begin(), tried.end(), [&](const std::string& a, const std::string& b) {
        return text_width(a) < text_width(b);
    });
}
