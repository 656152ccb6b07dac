#include "zeta/export/picture_file_name.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::size_t longest_quantity = 12;
constexpr int most_decimals = 12;

// "1e+08" -> "1e8", "2.5e-07" -> "2.5e-7"; "-0" -> "0".
std::string tidy(std::string text) {
    const std::size_t e = text.find('e');
    if (e != std::string::npos) {
        std::size_t digits = e + 1;
        if (digits < text.size() && text[digits] == '+') text.erase(digits, 1);
        if (digits < text.size() && text[digits] == '-') ++digits;
        while (digits + 1 < text.size() && text[digits] == '0')
            text.erase(digits, 1);
    }
    if (text == "-0") return "0";
    return text;
}

std::string significant(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return tidy(text);
}

// To one decimal digit below `step`, without trailing zeros; very large or small values as significant().
std::string to_resolution(double value, double step) {
    step = std::fabs(step);
    if (!std::isfinite(value) || !std::isfinite(step) || step == 0 || std::fabs(value) >= 1e15)
        return significant(value);
    int decimals = static_cast<int>(std::ceil(-std::log10(step))) + 1;
    if (decimals < 0) decimals = 0;
    if (decimals > most_decimals) return significant(value);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string fixed = text;
    if (fixed.find('.') != std::string::npos) {
        while (fixed.back() == '0')
            fixed.pop_back();
        if (fixed.back() == '.') fixed.pop_back();
    }
    return tidy(fixed);
}

// Lower-case letters and digits only.
std::string safe_quantity(std::string_view quantity) {
    std::string name;
    for (const char c : quantity) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::isalnum(byte) && name.size() < longest_quantity)
            name += static_cast<char>(std::tolower(byte));
    }
    return name.empty() ? "plot" : name;
}

}  // namespace

std::string picture_file_name(const Picture_Name_Values& values) {
    std::string name = "zeta-" + safe_quantity(values.quantity);
    name += "-re" + to_resolution(values.real_part, values.real_scale);
    name += "-im" + to_resolution(values.imaginary_part, values.imaginary_scale);
    name += "-scale" + significant(values.real_scale) + "x" + significant(values.imaginary_scale);
    name += values.series_terms ? "-n" + std::to_string(*values.series_terms) : std::string("-accurate");
    return name + ".png";
}
