#include "zeta/graph_mode.h"

#include <cmath>
#include <cstdio>

namespace {

// Called through a pointer so that the compiler cannot replace pow(x, 2) by x * x: the cells hold what the C
// library's pow gives.
double (*volatile library_pow)(double, double) = static_cast<double (*)(double, double)>(std::pow);

double absolute_value(const Complex& zeta) {
    return library_pow(library_pow(zeta.real, 2.0) + library_pow(zeta.imaginary, 2.0), 0.5);
}

double quantity(Graph_Mode mode, const Complex& zeta, double ceiling) {
    switch (mode) {
        case Real_Part:
            return zeta.real;
        case Imaginary_Part:
            return zeta.imaginary;
        case Reciprocal_Absolute_Value: {
            const double m = absolute_value(zeta);
            return m == 0.0 ? ceiling : 1.0 / m;
        }
        case Absolute_Value:
        default:
            return absolute_value(zeta);
    }
}

const char* finished_text(Graph_Mode mode) {
    switch (mode) {
        case Real_Part:
            return "Finished calculating real part";
        case Imaginary_Part:
            return "Finished calculating imgainary part";
        case Reciprocal_Absolute_Value:
            return "Finished calculating reciprocal absolute value";
        case Absolute_Value:
        default:
            return "Finished calculating absolute value";
    }
}

}  // namespace

double cell_value(Graph_Mode mode, const Complex& zeta, double ceiling, double floor) {
    const double value = quantity(mode, zeta, ceiling);
    if (value > ceiling) return ceiling;
    if (value < floor) return floor;
    return value;
}

std::string finished_message(Graph_Mode mode, int32_t precision) {
    char suffix[500];
    std::snprintf(suffix, sizeof suffix, " with %i iterations.", static_cast<int>(precision));
    return std::string(finished_text(mode)) + suffix;
}

std::string accurate_finished_message(Graph_Mode mode) {
    return std::string(finished_text(mode)) + " accurately.";
}

std::string finished_message(Zeta_Method method, Graph_Mode mode, int32_t precision) {
    return method == Accurate_Method ? accurate_finished_message(mode) : finished_message(mode, precision);
}
