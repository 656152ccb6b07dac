// Bitmaps: CreateCompatibleBitmap and the layer's window back stores (surfaces, surface.h).
#include <algorithm>
#include <climits>
#include <new>
#include <utility>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"

namespace platform::gdi::detail {
namespace {

// Largest bitmap: 65535 pixels a side, 64 Mi pixels (256 MiB) in all.
constexpr long long max_side = 65535;
constexpr long long max_pixels = 64ll * 1024 * 1024;

bool size_allowed(long long width, long long height) {
    return width >= 0 && height >= 0 && width <= max_side && height <= max_side &&
           width * height <= max_pixels;
}

// The pixel memory of the last bitmap deleted (the caller holds the lock). A paint that creates and deletes a
// window-sized bitmap each time thus reuses one block of memory, instead of having fresh pages mapped and
// cleared by the system every time. Kept only up to this size.
constexpr std::size_t largest_spare_bytes = 64u * 1024 * 1024;

std::vector<std::uint32_t>& spare_pixels() {
    static auto* spare = new std::vector<std::uint32_t>;  // never destroyed, like the handle table
    return *spare;
}

// Storage for `count` pixels: the spare memory when it is at least that large and not more than twice as
// large, else new memory.
std::vector<std::uint32_t> pixel_storage(std::size_t count) {
    std::vector<std::uint32_t>& spare = spare_pixels();
    if (spare.capacity() >= count && spare.capacity() / 2 <= count) return std::move(spare);
    return {};
}

// A bitmap of the given size whose pixels are all `fill`; null when it cannot be allocated. With `lazy` they
// are written only when the bitmap is first used, and not at all when its first use covers it whole.
std::unique_ptr<Bitmap> make_bitmap(int width, int height, std::uint32_t fill, bool lazy = false) {
    if (!size_allowed(width, height)) return nullptr;
    try {
        auto bitmap = std::make_unique<Bitmap>();
        bitmap->width = width;
        bitmap->height = height;
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        bitmap->pixels = pixel_storage(count);
        if (lazy) {
            bitmap->pixels.resize(count);
            bitmap->unset = true;
            bitmap->unset_fill = fill;
        } else {
            bitmap->pixels.assign(count, fill);
        }
        return bitmap;
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
}

}  // namespace

Bitmap::~Bitmap() {
    if (pixels.capacity() * sizeof(std::uint32_t) > largest_spare_bytes) return;
    if (pixels.capacity() > spare_pixels().capacity()) spare_pixels() = std::move(pixels);
}

}  // namespace platform::gdi::detail

using namespace platform::gdi::detail;

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    // A negative size counts as its magnitude.
    if (!dc || width == INT_MIN || height == INT_MIN) return nullptr;
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    // Compatible with the device: a window or the screen has colour; a memory DC gives the format of the
    // bitmap it holds (monochrome for a new one).
    Bitmap* selected = held<Bitmap>(dc->bitmap);
    bool monochrome = !dc->surface_dc && !dc->screen_dc && selected != nullptr && selected->monochrome;
    if (width == 0 || height == 0) {
        width = height = 1;
        monochrome = true;  // Win32 gives a 1 x 1 monochrome bitmap for an empty size
    }
    auto bitmap = make_bitmap(width, height, 0, true);  // a new device bitmap is black
    if (!bitmap) return nullptr;
    bitmap->monochrome = monochrome;
    bitmap->counted = true;
    return from_handle<HBITMAP>(insert(std::move(bitmap)));
}

namespace platform::gdi {

HBITMAP create_surface(int width, int height) {
    Lock lock(gdi_mutex());
    auto bitmap = make_bitmap(width, height, 0x00FFFFFF);
    if (!bitmap) return nullptr;
    bitmap->surface = true;
    return from_handle<HBITMAP>(insert(std::move(bitmap)));
}

bool resize_surface(HBITMAP surface, int width, int height) {
    Lock lock(gdi_mutex());
    auto* bitmap = get<Bitmap>(surface);
    if (!bitmap || !bitmap->surface || !size_allowed(width, height)) return false;
    if (width == bitmap->width && height == bitmap->height) return true;
    std::vector<std::uint32_t> pixels;
    try {
        pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0x00FFFFFF);
    } catch (const std::bad_alloc&) {
        return false;
    }
    int keep_width = std::min(width, bitmap->width);
    int keep_height = std::min(height, bitmap->height);
    for (int y = 0; y < keep_height; ++y) {
        const std::uint32_t* from = bitmap->pixels.data() + static_cast<std::size_t>(y) * bitmap->width;
        std::copy(from, from + keep_width, pixels.data() + static_cast<std::size_t>(y) * width);
    }
    bitmap->pixels.swap(pixels);
    bitmap->width = width;
    bitmap->height = height;
    return true;
}

void destroy_surface(HBITMAP surface) {
    Lock lock(gdi_mutex());
    auto* bitmap = get<Bitmap>(surface);
    if (bitmap && bitmap->surface) erase(to_handle(surface));
}

bool bitmap_pixels(HBITMAP handle, Pixels* out) {
    Lock lock(gdi_mutex());
    auto* bitmap = get<Bitmap>(handle);
    if (!bitmap || !out) return false;
    settle(*bitmap);
    out->data = bitmap->pixels.empty() ? nullptr : bitmap->pixels.data();
    out->width = bitmap->width;
    out->height = bitmap->height;
    return true;
}

}  // namespace platform::gdi
