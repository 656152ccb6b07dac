// Which quantity of ζ a plot cell holds, how a cell is clamped, and the message that ends a calculation.
#pragma once

#include <cstdint>
#include <string>

#include "zeta/math/zeta_function.h"

enum Graph_Mode : int32_t {
    Absolute_Value = 0,
    Real_Part = 1,
    Imaginary_Part = 2,
    Reciprocal_Absolute_Value = 3,
};

// How ζ is computed: the alternating series with the plot's number of terms, or the accurate method.
enum Zeta_Method : int32_t {
    Series_Method = 0,
    Accurate_Method = 1,
};

// The mode's quantity of zeta, clamped: above `ceiling` becomes `ceiling`, otherwise below `floor` becomes
// `floor`; NaN stays NaN. The reciprocal of a modulus that is exactly 0 is `ceiling`.
double cell_value(Graph_Mode mode, const Complex& zeta, double ceiling, double floor);

// "Finished calculating ..." for the mode, followed by " with <precision> iterations."
std::string finished_message(Graph_Mode mode, int32_t precision);

// "Finished calculating ..." for the mode, followed by " accurately."
std::string accurate_finished_message(Graph_Mode mode);

// The message that ends a calculation with `method`.
std::string finished_message(Zeta_Method method, Graph_Mode mode, int32_t precision);
