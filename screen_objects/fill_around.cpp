#include "screen_objects/fill_around.h"

#include <algorithm>

void fill_around(HDC dc, const RECT& area, const RECT& hole, HBRUSH brush) {
    const RECT inner{std::max(area.left, hole.left), std::max(area.top, hole.top),
                     std::min(area.right, hole.right), std::min(area.bottom, hole.bottom)};
    if (inner.left >= inner.right || inner.top >= inner.bottom) {
        FillRect(dc, &area, brush);
        return;
    }
    const RECT strips[] = {
        {area.left, area.top, area.right, inner.top},
        {area.left, inner.top, inner.left, inner.bottom},
        {inner.right, inner.top, area.right, inner.bottom},
        {area.left, inner.bottom, area.right, area.bottom},
    };
    for (const RECT& strip : strips) {
        if (strip.left < strip.right && strip.top < strip.bottom) FillRect(dc, &strip, brush);
    }
}
