// GDI objects and the handle table (layer-internal). Every public GDI entry point takes the table lock with
// Lock, then resolves handles with get<T>(); a handle is an index plus a generation, so a stale or foreign
// handle is simply not found and no pointer is ever dereferenced from a handle value.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win32.h"

namespace platform::gdi::detail {

enum class Kind { Bitmap, Brush, Pen, Font, Dc };

using Handle = std::uintptr_t;

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    bool stock = false;           // stock objects and system-colour brushes: never deleted
    bool counted = false;         // created by the program: counted by live_object_count()
    bool pending_delete = false;  // DeleteObject while selected: freed when the last DC lets go
    int selections = 0;           // number of DCs that have this pen/brush/font selected
};

struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    ~Bitmap() override;  // leaves its pixel memory to the next bitmap of about its size (bitmaps.cpp)
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
    bool surface = false;               // a window back store (create_surface)
    bool monochrome = false;            // every pixel is black or white (0x000000 or 0xFFFFFF)
    // The pixels are not written yet, except those in the `written` rectangles: every other one is
    // `unset_fill`. Whoever reads or draws into the bitmap writes them first (settle), unless it sets every
    // pixel of a rectangle and notes that (note_written).
    bool unset = false;
    std::uint32_t unset_fill = 0;
    static constexpr std::size_t max_written = 16;
    std::size_t written_count = 0;
    RECT written[max_written]{};  // bitmap coordinates, within the bitmap, not empty
    Handle selected_into = 0;     // the memory DC holding it, 0 when none (unused for the stock bitmap)
};

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    COLORREF colour = 0;
    bool null = false;
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    COLORREF colour = 0;
    bool null = false;
    int style = PS_SOLID;
    int width = 1;  // as created; every pen draws one pixel wide
};

struct Font : Object {
    Font() : Object(Kind::Font) {}
};

struct Dc : Object {
    Dc() : Object(Kind::Dc) {}
    bool surface_dc = false;  // from create_surface_dc: draws into a window's back store
    bool screen_dc = false;   // stands in for the screen: its compatible bitmaps have colour
    Handle bitmap = 0;
    Handle pen = 0;
    Handle brush = 0;
    Handle font = 0;
    COLORREF bk_colour = 0x00FFFFFF;
    int bk_mode = OPAQUE;
    COLORREF text_colour = 0;
    POINT position{0, 0};
    POINT origin{0, 0};     // surface DCs: where logical (0, 0) lies in the surface
    RECT clip{0, 0, 0, 0};  // surface DCs: clip rectangle in surface coordinates
};

template <class T>
constexpr Kind kind_of();
template <>
constexpr Kind kind_of<Bitmap>() {
    return Kind::Bitmap;
}
template <>
constexpr Kind kind_of<Brush>() {
    return Kind::Brush;
}
template <>
constexpr Kind kind_of<Pen>() {
    return Kind::Pen;
}
template <>
constexpr Kind kind_of<Font>() {
    return Kind::Font;
}
template <>
constexpr Kind kind_of<Dc>() {
    return Kind::Dc;
}

// The one lock of the GDI layer; every public entry point holds it for its whole duration.
std::mutex& gdi_mutex();
using Lock = std::lock_guard<std::mutex>;

// Table operations; the caller holds the lock.
// Stores the object and returns its new handle, or 0 when the table is full or memory runs out.
Handle insert(std::unique_ptr<Object> object);
// The object behind a handle, including one whose deletion is pending; null for anything else.
Object* find_any(Handle handle);
// Frees the object and invalidates its handle.
void erase(Handle handle);
// A DC lets go of a pen, brush or font: frees it if its deletion was pending and no DC holds it now.
void release_selection(Handle handle);

// The live object of kind T behind a handle (not pending deletion); null otherwise.
template <class T>
T* get(Handle handle) {
    Object* object = find_any(handle);
    if (!object || object->kind != kind_of<T>() || object->pending_delete) return nullptr;
    return static_cast<T*>(object);
}
template <class T>
T* get(const void* handle) {
    return get<T>(reinterpret_cast<Handle>(handle));
}

// The object a DC holds as pen/brush/bitmap (pending deletion included); null when gone.
template <class T>
T* held(Handle handle) {
    Object* object = find_any(handle);
    if (!object || object->kind != kind_of<T>()) return nullptr;
    return static_cast<T*>(object);
}

inline Handle to_handle(const void* pointer) {
    return reinterpret_cast<Handle>(pointer);
}
template <class H>
H from_handle(Handle handle) {
    return reinterpret_cast<H>(handle);
}

// Stock objects (created on first use; caller holds the lock).
Handle stock_object(int index);  // GetStockObject indices; 0 when there is none
Handle stock_bitmap();           // the 1 x 1 bitmap every new memory DC starts with

// System colours (caller holds the lock for the brush): index 0..30; 0 / a null handle outside.
constexpr int sys_colour_count = 31;
COLORREF sys_colour(int index);
Handle sys_colour_brush(int index);
// The brush to paint with for a FillRect-style brush argument: a brush handle, or (HBRUSH)(COLOR_xxx + 1).
Brush* paint_brush(HBRUSH brush);

// Writes the pixels of a bitmap that were left unset (caller holds the lock).
void settle(Bitmap& bitmap);
// Called before a drawing sets every pixel of [left, right) x [top, bottom) (bitmap coordinates, within the
// bitmap): those pixels need not be settled. Settles the bitmap when it cannot keep track (caller holds the
// lock).
void note_written(Bitmap& bitmap, std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom);

// Number of counted objects alive (caller holds the lock).
int counted_objects();

// Pixel conversions: COLORREF 0x00BBGGRR <-> stored 0x00RRGGBB.
inline std::uint32_t to_pixel(COLORREF c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline COLORREF to_colorref(std::uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}
// The nearer of black and white to a stored pixel, as drawing into a monochrome bitmap picks it.
inline std::uint32_t to_monochrome(std::uint32_t p) {
    unsigned sum = ((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu);
    return sum * 2 > 3 * 255 ? 0x00FFFFFFu : 0u;
}

}  // namespace platform::gdi::detail
