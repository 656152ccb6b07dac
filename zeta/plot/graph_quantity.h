// The quantities of ζ a plot can show, one table row each: the menu entry that chooses it, its name on the
// command line and in CSV files, the message that ends its calculation and how a cell's value comes from ζ.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "zeta/math/zeta_function.h"

enum Graph_Mode : int32_t {
    Absolute_Value = 0,
    Real_Part = 1,
    Imaginary_Part = 2,
    Reciprocal_Absolute_Value = 3,
    Phase = 4,
};

// How ζ is computed: the alternating series with the plot's number of terms, or the accurate method.
enum Zeta_Method : int32_t {
    Series_Method = 0,
    Accurate_Method = 1,
};

// How a quantity's cells are coloured: on the red-to-green ramp between the grid's smallest and largest cell,
// or as a phase portrait (hue from the cell, arg ζ; lightness from |ζ|, which the grid keeps beside it).
enum class Cell_Colouring { Ramp, Phase };

// Where a quantity's menu entry stands: among the graph entries after "Move window", or among the entries
// that follow the evaluation method's.
enum class Menu_Place { Graph_Entries, After_Method };

struct Graph_Quantity {
    Graph_Mode mode;
    std::string_view menu_text;      // "Graph Absolute value"
    std::string_view name;           // zeta-render's --mode and the CSV header: "abs"
    std::string_view description;    // for zeta-render's help: "|zeta|"
    std::string_view finished_text;  // "Finished calculating absolute value"
    // The cell's value before the clamp; `ceiling` stands in where the quantity has no value.
    double (*value)(const Complex& zeta, double ceiling);
    bool clamped;  // into the plot's floor and ceiling
    Cell_Colouring colouring;
    Menu_Place menu_place;
};

std::span<const Graph_Quantity> graph_quantities();
// The row of a mode; the first row for a value that names none.
const Graph_Quantity& graph_quantity(Graph_Mode mode);
// The row called `name`, or null.
const Graph_Quantity* graph_quantity_named(std::string_view name);
// "abs, re, im or recip".
std::string graph_quantity_names();

// The mode's quantity of zeta, clamped where the quantity is: above `ceiling` becomes `ceiling`, otherwise
// below `floor` becomes `floor`; NaN stays NaN. The reciprocal of a modulus that is exactly 0 is `ceiling`.
double cell_value(Graph_Mode mode, const Complex& zeta, double ceiling, double floor);

// "Finished calculating ..." for the mode, followed by " with <precision> iterations." for the series or
// " accurately." for the accurate method.
std::string finished_message(Zeta_Method method, Graph_Mode mode, int32_t precision);
