// Every graph quantity reaches the menu, the calculation and the status line from its table row alone.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/app_fixture.h"
#include "zeta/plot/graph_quantity.h"

namespace app_test {
namespace {

using Graph_Quantities = Application_Test;

TEST_F(Graph_Quantities, EachRowHasItsMenuEntryInItsPlaceAndEndsWithItsMessage) {
    compute_quick_plot();
    const int method_entry = menu_index("Accurate values");
    ASSERT_GT(method_entry, 0);
    for (const Graph_Quantity& quantity : graph_quantities()) {
        SCOPED_TRACE(std::string(quantity.menu_text));
        const int entry = menu_index(std::string(quantity.menu_text));
        ASSERT_GE(entry, 1) << "after \"Move window\"";
        if (quantity.menu_place == Menu_Place::Graph_Entries) {
            EXPECT_LT(entry, method_entry);
        } else {
            EXPECT_GT(entry, method_entry);
        }
        choose_menu_entry(120, 100, entry);
        EXPECT_EQ(viewer().job.settings.mode, quantity.mode);
        finish_calculation();
        EXPECT_EQ(status_text_copy(viewer().job),
                  std::string(quantity.finished_text) + " with 10 iterations.");
    }
}

}  // namespace
}  // namespace app_test
