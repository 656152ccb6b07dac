#include "zeta/plot/plot_settings.h"

#include <cmath>

namespace {

bool same_value(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

bool operator==(const Plot_Settings& a, const Plot_Settings& b) {
    return same_value(a.ceiling, b.ceiling) && same_value(a.floor, b.floor) &&
           same_value(a.real_part, b.real_part) && same_value(a.imaginary_part, b.imaginary_part) &&
           same_value(a.real_scale, b.real_scale) && same_value(a.imaginary_scale, b.imaginary_scale) &&
           a.precision == b.precision && a.mode == b.mode && a.method == b.method;
}

Plot_Settings start_up_settings() {
    Plot_Settings settings;
    settings.ceiling = 5.0;
    settings.floor = -5.0;
    settings.real_part = 0.0;
    settings.imaginary_part = -5.0;
    settings.real_scale = 0.02;
    settings.imaginary_scale = 0.1;
    settings.mode = Reciprocal_Absolute_Value;
    return settings;
}
