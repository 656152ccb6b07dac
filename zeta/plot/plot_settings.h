// What a plot shows, apart from where its frame is: the seven values the Options window edits, the graphed
// quantity and the evaluation method. Every calculation, the "Back" history, zooming, the Options window and
// zeta-render use this one value.
#pragma once

#include <cstdint>

#include "zeta/plot/graph_quantity.h"

struct Plot_Settings {
    double ceiling = 2.0;           // cells above it are clamped to it
    double floor = -2.0;            // cells below it (and not above the ceiling) are clamped to it
    double real_part = 0.0;         // σ of column 0
    double imaginary_part = 0.0;    // t of row 0
    double real_scale = 0.05;       // σ step per column
    double imaginary_scale = 0.05;  // t step per row
    int32_t precision = 100;        // series terms; kept while the accurate method is in use
    Graph_Mode mode = Absolute_Value;
    Zeta_Method method = Series_Method;
};

// Equal settings; a NaN setting equals a NaN setting.
bool operator==(const Plot_Settings& a, const Plot_Settings& b);

// The plot the viewer starts with: 1/|ζ| by the series with 100 terms, real parts from 0 and imaginary parts
// from -5 in steps of 0.02 and 0.1, clamped to [-5, 5].
Plot_Settings start_up_settings();
