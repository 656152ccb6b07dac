// Bitmaps whose pixels are written only when first needed: a new compatible bitmap is black, but a paint
// that covers it with fills and copies before anything reads it never has it blackened first.
#include <algorithm>
#include <utility>

#include "platform/gdi/objects.h"

namespace platform::gdi::detail {

void settle(Bitmap& bitmap) {
    if (!bitmap.unset) return;
    // Row by row, the gaps between the written spans that cross the row.
    std::pair<LONG, LONG> spans[Bitmap::max_written];
    for (int y = 0; y < bitmap.height; ++y) {
        std::size_t count = 0;
        for (std::size_t k = 0; k < bitmap.written_count; ++k) {
            const RECT& r = bitmap.written[k];
            if (r.top <= y && y < r.bottom) spans[count++] = {r.left, r.right};
        }
        std::sort(spans, spans + count);
        std::uint32_t* row = bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width;
        LONG x = 0;
        for (std::size_t k = 0; k < count; ++k) {
            if (spans[k].first > x) std::fill(row + x, row + spans[k].first, bitmap.unset_fill);
            x = std::max(x, spans[k].second);
        }
        if (x < bitmap.width) std::fill(row + x, row + bitmap.width, bitmap.unset_fill);
    }
    bitmap.unset = false;
    bitmap.written_count = 0;
}

void note_written(Bitmap& bitmap, std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom) {
    if (!bitmap.unset || left >= right || top >= bottom) return;
    if (left <= 0 && top <= 0 && right >= bitmap.width && bottom >= bitmap.height) {
        bitmap.unset = false;
        bitmap.written_count = 0;
        return;
    }
    if (bitmap.written_count == Bitmap::max_written) {
        settle(bitmap);
        return;
    }
    bitmap.written[bitmap.written_count++] = RECT{static_cast<LONG>(left), static_cast<LONG>(top),
                                                  static_cast<LONG>(right), static_cast<LONG>(bottom)};
}

}  // namespace platform::gdi::detail
