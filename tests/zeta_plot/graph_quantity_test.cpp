#include "zeta/plot/graph_quantity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

TEST(CellValue, EachModeTakesItsQuantity) {
    const Complex zeta{3.0, -4.0};
    EXPECT_EQ(cell_value(Absolute_Value, zeta, 100.0, -100.0), 5.0);
    EXPECT_EQ(cell_value(Real_Part, zeta, 100.0, -100.0), 3.0);
    EXPECT_EQ(cell_value(Imaginary_Part, zeta, 100.0, -100.0), -4.0);
    EXPECT_EQ(cell_value(Reciprocal_Absolute_Value, zeta, 100.0, -100.0), 0.2);
}

TEST(CellValue, ReciprocalOfAZeroModulusIsTheCeiling) {
    EXPECT_EQ(cell_value(Reciprocal_Absolute_Value, Complex{0.0, 0.0}, 5.0, -5.0), 5.0);
    EXPECT_EQ(cell_value(Reciprocal_Absolute_Value, Complex{-0.0, 0.0}, 0.5, -5.0), 0.5);
    // The ceiling then still goes through the floor test.
    EXPECT_EQ(cell_value(Reciprocal_Absolute_Value, Complex{0.0, 0.0}, 1.0, 3.0), 3.0);
}

TEST(CellValue, ClampsIntoFloorAndCeiling) {
    EXPECT_EQ(cell_value(Real_Part, Complex{7.0, 0.0}, 5.0, -5.0), 5.0);
    EXPECT_EQ(cell_value(Real_Part, Complex{-7.0, 0.0}, 5.0, -5.0), -5.0);
    EXPECT_EQ(cell_value(Real_Part, Complex{4.5, 0.0}, 5.0, -5.0), 4.5);
    EXPECT_EQ(cell_value(Imaginary_Part, Complex{0.0, infinity}, 5.0, -5.0), 5.0);
    EXPECT_EQ(cell_value(Imaginary_Part, Complex{0.0, -infinity}, 5.0, -5.0), -5.0);
    EXPECT_EQ(cell_value(Absolute_Value, Complex{infinity, 1.0}, 2.0, -2.0), 2.0);
}

TEST(CellValue, WithTheFloorAboveTheCeilingTheCeilingTestComesFirst) {
    // ceiling 1, floor 3: above the ceiling gives the ceiling, anything else below the floor gives the floor.
    EXPECT_EQ(cell_value(Real_Part, Complex{2.0, 0.0}, 1.0, 3.0), 1.0);
    EXPECT_EQ(cell_value(Real_Part, Complex{10.0, 0.0}, 1.0, 3.0), 1.0);
    EXPECT_EQ(cell_value(Real_Part, Complex{0.5, 0.0}, 1.0, 3.0), 3.0);
    EXPECT_EQ(cell_value(Real_Part, Complex{-infinity, 0.0}, 1.0, 3.0), 3.0);
}

TEST(CellValue, NaNStaysNaN) {
    for (const Graph_Mode mode : {Absolute_Value, Real_Part, Imaginary_Part, Reciprocal_Absolute_Value}) {
        EXPECT_TRUE(std::isnan(cell_value(mode, Complex{nan, nan}, 5.0, -5.0))) << mode;
    }
}

TEST(FinishedMessage, NamesTheModeAndTheIterations) {
    EXPECT_EQ(finished_message(Series_Method, Absolute_Value, 100),
              "Finished calculating absolute value with 100 iterations.");
    EXPECT_EQ(finished_message(Series_Method, Real_Part, 100),
              "Finished calculating real part with 100 iterations.");
    EXPECT_EQ(finished_message(Series_Method, Imaginary_Part, 7),
              "Finished calculating imgainary part with 7 iterations.");
    EXPECT_EQ(finished_message(Series_Method, Reciprocal_Absolute_Value, 100),
              "Finished calculating reciprocal absolute value with 100 iterations.");
    EXPECT_EQ(finished_message(Series_Method, Real_Part, -3),
              "Finished calculating real part with -3 iterations.");
    EXPECT_EQ(finished_message(Series_Method, Real_Part, INT32_MAX),
              "Finished calculating real part with 2147483647 iterations.");
}

}  // namespace

TEST(FinishedMessage, OfTheAccurateMethodNamesTheQuantityAsTheSeriesDoes) {
    EXPECT_EQ(finished_message(Accurate_Method, Absolute_Value, 100),
              "Finished calculating absolute value accurately.");
    EXPECT_EQ(finished_message(Accurate_Method, Real_Part, 5), "Finished calculating real part accurately.");
    EXPECT_EQ(finished_message(Accurate_Method, Imaginary_Part, 5),
              "Finished calculating imgainary part accurately.");
    EXPECT_EQ(finished_message(Accurate_Method, Reciprocal_Absolute_Value, 5),
              "Finished calculating reciprocal absolute value accurately.");
}

TEST(GraphQuantities, EachModeHasOneRowWithItsOwnNames) {
    for (const Graph_Mode mode :
         {Absolute_Value, Real_Part, Imaginary_Part, Reciprocal_Absolute_Value, Phase}) {
        const Graph_Quantity& quantity = graph_quantity(mode);
        EXPECT_EQ(quantity.mode, mode);
        EXPECT_EQ(graph_quantity_named(quantity.name), &quantity);
    }
    EXPECT_EQ(graph_quantity_named("absolute"), nullptr);
    EXPECT_EQ(graph_quantity_names(), "abs, re, im, recip or phase");
}

TEST(CellValue, PhaseIsArgZetaInMinusPiToPiAndNeverClamped) {
    constexpr double pi = 3.141592653589793;
    EXPECT_EQ(cell_value(Phase, Complex{2.0, 0.0}, 0.5, -0.5), 0.0);
    EXPECT_EQ(cell_value(Phase, Complex{0.0, 3.0}, 0.5, -0.5), pi / 2);
    EXPECT_EQ(cell_value(Phase, Complex{0.0, -3.0}, 0.5, -0.5), -pi / 2);
    EXPECT_EQ(cell_value(Phase, Complex{-1.0, 0.0}, 0.5, -0.5), pi);
    EXPECT_EQ(cell_value(Phase, Complex{-1.0, -0.0}, 0.5, -0.5), pi) << "never -pi";
    const Complex undefined{std::nan(""), std::nan("")};
    EXPECT_TRUE(std::isnan(cell_value(Phase, undefined, 0.5, -0.5)));
    EXPECT_EQ(finished_message(Accurate_Method, Phase, 100), "Finished calculating phase accurately.");
    EXPECT_EQ(finished_message(Series_Method, Phase, 100), "Finished calculating phase with 100 iterations.");
}
