// fill_around against a plain FillRect of the area with the hole's pixels left as they were.
#include "screen_objects/fill_around.h"

#include "tests/platform/gdi/gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::Image;
using gdi_test::same_image;

TEST(FillAround, FillsTheAreaExceptTheHole) {
    constexpr COLORREF white = RGB(255, 255, 255);
    constexpr COLORREF green = RGB(0, 255, 0);
    const RECT area{2, 3, 14, 11};
    struct Case {
        const char* name;
        RECT hole;
    };
    for (const Case& c :
         {Case{"inside", {5, 5, 9, 8}}, Case{"touching two sides", {2, 3, 6, 7}},
          Case{"partly outside", {10, -4, 30, 6}}, Case{"over it all", {0, 0, 16, 14}},
          Case{"outside", {20, 20, 25, 25}}, Case{"empty", {6, 6, 6, 9}}, Case{"inverted", {9, 8, 5, 5}}}) {
        SCOPED_TRACE(c.name);
        Canvas canvas(16, 14, white);
        HBRUSH brush = CreateSolidBrush(green);
        fill_around(canvas.dc(), area, c.hole, brush);
        DeleteObject(brush);

        Image expected(16, 14, white);
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const bool in_hole =
                    x >= c.hole.left && x < c.hole.right && y >= c.hole.top && y < c.hole.bottom;
                if (!in_hole) expected.set(x, y, green);
            }
        }
        EXPECT_TRUE(same_image(canvas.read(), expected));
    }
}
