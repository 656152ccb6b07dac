#include "zeta/look/digits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace zeta_look {

int decimal_exponent(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.16e", x);
    return std::atoi(std::strchr(text, 'e') + 1);
}

double ulp(double x) {
    const double size = std::fabs(x);
    const double next = std::nextafter(size, std::numeric_limits<double>::infinity()) - size;
    return std::isinf(next) ? size - std::nextafter(size, 0.0) : next;
}

int leading_place(double x) {
    return static_cast<int>(std::floor(std::log10(x)));
}

}  // namespace zeta_look
