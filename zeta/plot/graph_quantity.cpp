#include "zeta/plot/graph_quantity.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

// Called through a pointer so that the compiler cannot replace pow(x, 2) by x * x: the cells hold what the C
// library's pow gives.
double (*volatile library_pow)(double, double) = static_cast<double (*)(double, double)>(std::pow);

double absolute_value(const Complex& zeta, double) {
    return library_pow(library_pow(zeta.real, 2.0) + library_pow(zeta.imaginary, 2.0), 0.5);
}

double real_part(const Complex& zeta, double) {
    return zeta.real;
}

double imaginary_part(const Complex& zeta, double) {
    return zeta.imaginary;
}

double reciprocal_absolute_value(const Complex& zeta, double ceiling) {
    const double m = absolute_value(zeta, ceiling);
    return m == 0.0 ? ceiling : 1.0 / m;
}

// arg ζ in (−π, π]: a negative zero imaginary part would give −π.
double phase(const Complex& zeta, double) {
    const double arg = std::atan2(zeta.imaginary, zeta.real);
    return arg == -std::numbers::pi ? std::numbers::pi : arg;
}

constexpr Graph_Quantity quantities[] = {
    {Absolute_Value, "Graph Absolute value", "abs", "|zeta|", "Finished calculating absolute value",
     absolute_value, true, Cell_Colouring::Ramp, Menu_Place::Graph_Entries},
    {Real_Part, "Graph Real part", "re", "Re zeta", "Finished calculating real part", real_part, true,
     Cell_Colouring::Ramp, Menu_Place::Graph_Entries},
    {Imaginary_Part, "Graph Imaginary part", "im", "Im zeta", "Finished calculating imgainary part",
     imaginary_part, true, Cell_Colouring::Ramp, Menu_Place::Graph_Entries},
    {Reciprocal_Absolute_Value, "Graph Reciprocal absolute value", "recip", "1/|zeta|",
     "Finished calculating reciprocal absolute value", reciprocal_absolute_value, true, Cell_Colouring::Ramp,
     Menu_Place::Graph_Entries},
    {Phase, "Graph Phase", "phase", "the phase portrait (arg zeta in colour, |zeta| in lightness)",
     "Finished calculating phase", phase, false, Cell_Colouring::Phase, Menu_Place::After_Method},
};

}  // namespace

std::span<const Graph_Quantity> graph_quantities() {
    return quantities;
}

const Graph_Quantity& graph_quantity(Graph_Mode mode) {
    for (const Graph_Quantity& quantity : quantities) {
        if (quantity.mode == mode) return quantity;
    }
    return quantities[0];
}

const Graph_Quantity* graph_quantity_named(std::string_view name) {
    for (const Graph_Quantity& quantity : quantities) {
        if (quantity.name == name) return &quantity;
    }
    return nullptr;
}

std::string graph_quantity_names() {
    std::string names;
    const std::size_t count = std::size(quantities);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) names += i + 1 == count ? " or " : ", ";
        names += quantities[i].name;
    }
    return names;
}

double cell_value(Graph_Mode mode, const Complex& zeta, double ceiling, double floor) {
    const Graph_Quantity& quantity = graph_quantity(mode);
    const double value = quantity.value(zeta, ceiling);
    if (!quantity.clamped) return value;
    if (value > ceiling) return ceiling;
    if (value < floor) return floor;
    return value;
}

std::string finished_message(Zeta_Method method, Graph_Mode mode, int32_t precision) {
    const std::string text(graph_quantity(mode).finished_text);
    if (method == Accurate_Method) return text + " accurately.";
    char suffix[500];
    std::snprintf(suffix, sizeof suffix, " with %i iterations.", static_cast<int>(precision));
    return text + suffix;
}
