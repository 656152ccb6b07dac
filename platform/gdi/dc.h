// Device-context internals shared by the drawing files (layer-internal; the caller holds the GDI lock).
#pragma once

#include <cstdint>

#include "platform/gdi/objects.h"

namespace platform::gdi::detail {

// Where a DC draws: the pixels of its bitmap, the logical-to-device offset and the clip rectangle in device
// (bitmap) coordinates, already intersected with the bitmap. An empty clip is allowed (left >= right).
struct Target {
    Bitmap* bitmap = nullptr;
    std::uint32_t* pixels = nullptr;
    int width = 0;  // row stride in pixels
    int height = 0;
    std::int64_t origin_x = 0;
    std::int64_t origin_y = 0;
    int clip_left = 0;
    int clip_top = 0;
    int clip_right = 0;
    int clip_bottom = 0;
    bool monochrome = false;

    // The pixel value that drawing `pixel` leaves in this target's bitmap.
    std::uint32_t stored(std::uint32_t pixel) const { return monochrome ? to_monochrome(pixel) : pixel; }

    bool inside(std::int64_t device_x, std::int64_t device_y) const {
        return device_x >= clip_left && device_x < clip_right && device_y >= clip_top &&
               device_y < clip_bottom;
    }
    std::uint32_t& at(std::int64_t device_x, std::int64_t device_y) const {
        return pixels[static_cast<std::size_t>(device_y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(device_x)];
    }
};

// The drawing target of a live DC; false when the handle is no DC or its bitmap is gone. The bitmap's pixels
// are settled (written if they were left unset) unless `settle_pixels` is false: then the caller does that,
// or sets every pixel of the bitmap itself.
bool resolve_target(Handle hdc, Dc** dc, Target* target, bool settle_pixels = true);

// Fills the device-space rectangle [left, right) x [top, bottom), clipped to the target, with a pixel value.
void fill_device_rect(const Target& target, std::int64_t left, std::int64_t top, std::int64_t right,
                      std::int64_t bottom, std::uint32_t pixel);

// DeleteDC for a memory DC: lets go of everything selected and frees the DC. False for anything else.
bool delete_memory_dc(Handle hdc);

}  // namespace platform::gdi::detail
