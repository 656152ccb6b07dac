// Where the readout line stands: never over the plot's legend or labels, wherever the frame is.
#include <gtest/gtest.h>

#include "zeta/viewer/plot_renderer.h"
#include "zeta/viewer/readout.h"

namespace {

bool overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

constexpr RECT client{0, 0, 952, 741};

TEST(ReadoutPlace, StaysAtTheBottomLeftBelowTheStartUpLegend) {
    const RECT line = readout_rect(client, plot_decorations(RECT{100, 60, 180, 580}));
    EXPECT_EQ(line.left, 10);
    EXPECT_EQ(line.bottom, 741 - 4);
    EXPECT_EQ(line.top, 741 - 4 - 18);
    EXPECT_EQ(line.right, 952);
}

TEST(ReadoutPlace, MovesToTheTopOrBesideTheLegendWhenTheFrameReachesTheBottom) {
    // The legend of a frame moved down covers the bottom line: the line goes to the top.
    const RECT lower{100, 200, 180, 700};
    RECT line = readout_rect(client, plot_decorations(lower));
    EXPECT_FALSE(overlap(line, plot_decorations(lower)));
    EXPECT_EQ(line.top, 2);

    // A frame as tall as the window leaves only the parts left and right of its decorations; the wider wins.
    RECT decorations = plot_decorations(RECT{300, 20, 380, 740});
    line = readout_rect(client, decorations);
    EXPECT_FALSE(overlap(line, decorations));
    EXPECT_EQ(line.left, 10) << "left of them, the wider part";
    EXPECT_LE(line.right, decorations.left);
    EXPECT_GT(line.right - line.left, 100);
    decorations = plot_decorations(RECT{100, 20, 180, 740});
    line = readout_rect(client, decorations);
    EXPECT_GE(line.left, decorations.right) << "right of them";
    EXPECT_EQ(line.right, 952);

    // No room anywhere: nothing is drawn.
    line = readout_rect(RECT{0, 0, 300, 300}, plot_decorations(RECT{100, 30, 180, 290}));
    EXPECT_EQ(line.right - line.left, 0);
}

TEST(ReadoutPlace, DecorationsHoldTheLabelsTheLegendAndTheStatusLine) {
    const RECT decorations = plot_decorations(RECT{100, 60, 180, 580});
    EXPECT_LE(decorations.left, 100 - 70) << "imaginary axis labels";
    EXPECT_LE(decorations.top, 60 - 20) << "status line";
    EXPECT_GE(decorations.bottom, 580 + 130) << "legend";
    EXPECT_GE(decorations.right, 100 + 400) << "status line's box";
    EXPECT_GE(decorations.right, 100 + 70 * 3) << "the real axis' name beyond the last tick";
}

}  // namespace
