// zeta-render --csv: every value is the graphed quantity of evaluate_zeta at the cell, clamped, read back bit
// for bit. Compiled without floating-point contraction, like the zeta library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/render_tool.h"
#include "zeta/math/accurate_zeta.h"
#include "zeta/math/zeta_function.h"
#include "zeta/plot/graph_quantity.h"

namespace tools_test {
namespace {

// Through a pointer, so that pow(x, 2) stays the library's pow and is not turned into x * x.
double (*volatile library_pow)(double, double) = static_cast<double (*)(double, double)>(std::pow);

struct Plot {
    std::string mode;
    double real_part, imaginary_part, real_scale, imaginary_scale, ceiling, floor;
    int terms, width, height;
    std::string method = "series";
};

double expected_cell(const Plot& plot, int x, int y) {
    const Complex s{x * plot.real_scale + plot.real_part, y * plot.imaginary_scale + plot.imaginary_part};
    Complex zeta;
    if (plot.method == "accurate") {
        evaluate_zeta_accurately(s, zeta);
    } else {
        evaluate_zeta(plot.terms, s, zeta);
    }
    const double modulus = library_pow(library_pow(zeta.real, 2.0) + library_pow(zeta.imaginary, 2.0), 0.5);
    double value = modulus;
    if (plot.mode == "re") value = zeta.real;
    if (plot.mode == "im") value = zeta.imaginary;
    if (plot.mode == "recip") value = modulus == 0.0 ? plot.ceiling : 1.0 / modulus;
    if (value > plot.ceiling) return plot.ceiling;
    if (value < plot.floor) return plot.floor;
    return value;
}

std::string number(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

std::vector<std::vector<std::string>> read_rows(const std::string& path, std::string& comment) {
    std::ifstream file(path);
    std::getline(file, comment);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(file, line);) {
        std::vector<std::string>& row = rows.emplace_back();
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');)
            row.push_back(field);
    }
    return rows;
}

void expect_values_of(const Plot& plot) {
    Scratch_Directory directory;
    const std::string path = directory.file("values.csv");
    const Tool_Run run = run_zeta_render({"--csv",
                                          path,
                                          "--quiet",
                                          "--mode",
                                          plot.mode,
                                          "--method",
                                          plot.method,
                                          "--real",
                                          number(plot.real_part),
                                          "--imaginary",
                                          number(plot.imaginary_part),
                                          "--real-scale",
                                          number(plot.real_scale),
                                          "--imaginary-scale",
                                          number(plot.imaginary_scale),
                                          "--ceiling",
                                          number(plot.ceiling),
                                          "--floor",
                                          number(plot.floor),
                                          "--terms",
                                          std::to_string(plot.terms),
                                          "--plot-size",
                                          std::to_string(plot.width) + "x" + std::to_string(plot.height)});
    ASSERT_EQ(run.status, 0) << run.errors;
    std::string comment;
    const auto rows = read_rows(path, comment);
    EXPECT_TRUE(comment.starts_with("#")) << comment;
    ASSERT_EQ(rows.size(), static_cast<size_t>(plot.height));
    for (int row = 0; row < plot.height; ++row) {
        ASSERT_EQ(rows[row].size(), static_cast<size_t>(plot.width)) << "row " << row;
        const int y = plot.height - 1 - row;  // the top row comes first
        for (int x = 0; x < plot.width; ++x) {
            const std::string& field = rows[row][x];
            const double expected = expected_cell(plot, x, y);
            if (std::isnan(expected)) {
                EXPECT_EQ(field, "nan") << plot.mode << " cell [" << x << "][" << y << "]";
                continue;
            }
            char* end = nullptr;
            const double actual = std::strtod(field.c_str(), &end);
            EXPECT_EQ(*end, '\0') << field;
            if (plot.method == "accurate" &&
                std::fabs(y * plot.imaginary_scale + plot.imaginary_part) >= 30.0) {
                // Plots sum these rows as a matrix product: the same value up to rounding (10^-13 measured).
                EXPECT_NEAR(actual, expected, 5e-13 * std::max(1.0, std::fabs(expected)))
                    << plot.mode << " cell [" << x << "][" << y << "]";
                continue;
            }
            EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
                << plot.mode << " cell [" << x << "][" << y << "]: " << field << ", expected "
                << number(expected);
        }
    }
}

TEST(CsvValues, AreTheClampedQuantityOfZetaAtEveryCell) {
    // Column 2 at σ = 1 and row 2 at t = 0: that cell is s = 1, where the series gives NaN.
    for (const char* mode : {"abs", "re", "im", "recip"})
        expect_values_of(Plot{mode, 0.5, -1.0, 0.25, 0.5, 1.5, -0.75, 60, 7, 5});
    // No term at all: zeta is 0 everywhere, so 1/|zeta| is the ceiling.
    expect_values_of(Plot{"recip", -2.0, 3.0, 0.1, 0.7, 4.0, 1.0, 0, 3, 4});
}

TEST(CsvValues, EveryGraphQuantityIsChosenAndNamedByItsName) {
    for (const Graph_Quantity& quantity : graph_quantities()) {
        const std::string name(quantity.name);
        Scratch_Directory directory;
        const std::string path = directory.file("values.csv");
        const Tool_Run run =
            run_zeta_render({"--csv", path, "--quiet", "--mode", name, "--terms", "5", "--plot-size", "2x2"});
        ASSERT_EQ(run.status, 0) << name << ": " << run.errors;
        std::string comment;
        read_rows(path, comment);
        EXPECT_TRUE(comment.starts_with("# zeta-render mode=" + name + " ")) << comment;
    }
}

TEST(CsvValues, OfAPlotBeyondTheAccurateMethodsRangeAreNaNAndTheStatusSaysWhy) {
    Scratch_Directory directory;
    const std::string path = directory.file("values.csv");
    const Tool_Run run =
        run_zeta_render({"--csv", path, "--method", "accurate", "--imaginary", "2e13", "--plot-size", "2x2"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("No values: |Im(s)| is beyond 1e13, the accurate method's range."),
              std::string::npos)
        << run.errors;
    std::string comment;
    const auto rows = read_rows(path, comment);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"nan", "nan"}));
}

TEST(CsvValues, WithTheAccurateMethodAreTheAccurateValues) {
    // Across σ = 1 and t = 0 (the pole is NaN again) and, in the second plot, high up where the series fails.
    expect_values_of(Plot{"re", 0.5, -1.0, 0.25, 0.5, 1e300, -1e300, 60, 7, 5, "accurate"});
    expect_values_of(Plot{"abs", -0.5, 1e6, 0.5, 0.25, 1e300, -1e300, 100, 4, 3, "accurate"});
}

}  // namespace
}  // namespace tools_test
