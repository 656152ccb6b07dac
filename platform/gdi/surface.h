// Pixel access to GDI bitmaps for the rest of the layer: window back stores (USER) and what displays present.
// Not part of the Win32 surface the application sees.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace platform::gdi {

// A bitmap's pixels: rows top to bottom, `width` pixels each, 0x00RRGGBB.
struct Pixels {
    std::uint32_t* data = nullptr;
    int width = 0;
    int height = 0;
};

// Layer-owned bitmap for a window's back store. Not counted among live objects.
HBITMAP create_surface(int width, int height);
// Changes a surface's size; the pixels that stay inside are kept, new ones are white.
bool resize_surface(HBITMAP surface, int width, int height);
void destroy_surface(HBITMAP surface);

// The pixels of any bitmap (surface or CreateCompatibleBitmap); false for a bad handle.
bool bitmap_pixels(HBITMAP bitmap, Pixels* out);

// A DC drawing into `surface` with its (0, 0) at `origin` and everything clipped to `clip` (surface
// coordinates): a child window's client area inside its top-level window's back store. Not counted.
HDC create_surface_dc(HBITMAP surface, POINT origin, RECT clip);
void delete_surface_dc(HDC hdc);

// The DC that GetDC(NULL) gives: a memory DC whose compatible bitmaps have colour, as the screen's do.
// Counted and deleted like any memory DC.
HDC create_screen_dc();

// The bitmap a DC draws into (memory DC or surface DC), or null.
HBITMAP dc_bitmap(HDC hdc);

// Number of GDI objects the program created and has not deleted: DCs, bitmaps, brushes and pens.
int live_object_count();

}  // namespace platform::gdi
