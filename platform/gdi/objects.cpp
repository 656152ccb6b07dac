// Object creation, deletion and queries: CreateSolidBrush, CreatePen, DeleteObject, GetObjectType,
// GetObjectA, GetStockObject, and the stock objects themselves.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

namespace platform::gdi::detail {
namespace {

constexpr int stock_count = 18;  // GetStockObject indices 0..17
constexpr int stock_bitmap_index = stock_count;

Handle stock_handles[stock_count + 1] = {};

std::unique_ptr<Object> make_stock(int index) {
    auto brush = [](COLORREF colour, bool null) {
        auto b = std::make_unique<Brush>();
        b->colour = colour;
        b->null = null;
        return std::unique_ptr<Object>(std::move(b));
    };
    auto pen = [](COLORREF colour, bool null) {
        auto p = std::make_unique<Pen>();
        p->colour = colour;
        p->null = null;
        p->style = null ? PS_NULL : PS_SOLID;
        return std::unique_ptr<Object>(std::move(p));
    };
    switch (index) {
        case WHITE_BRUSH:
            return brush(RGB(255, 255, 255), false);
        case 1:
            return brush(RGB(192, 192, 192), false);  // LTGRAY_BRUSH
        case 2:
            return brush(RGB(128, 128, 128), false);  // GRAY_BRUSH
        case 3:
            return brush(RGB(64, 64, 64), false);  // DKGRAY_BRUSH
        case BLACK_BRUSH:
            return brush(RGB(0, 0, 0), false);
        case NULL_BRUSH:
            return brush(0, true);
        case WHITE_PEN:
            return pen(RGB(255, 255, 255), false);
        case BLACK_PEN:
            return pen(RGB(0, 0, 0), false);
        case 8:
            return pen(0, true);  // NULL_PEN
        case SYSTEM_FONT:
        case DEFAULT_GUI_FONT:
            return std::make_unique<Font>();
        case stock_bitmap_index: {
            auto b = std::make_unique<Bitmap>();
            b->width = 1;
            b->height = 1;
            b->pixels.assign(1, 0);
            b->monochrome = true;  // Win32: a new memory DC holds a 1 x 1 monochrome bitmap
            return b;
        }
        default:
            return nullptr;
    }
}

}  // namespace

Handle stock_object(int index) {
    if (index < 0 || index > stock_count) return 0;
    if (stock_handles[index] && find_any(stock_handles[index])) return stock_handles[index];
    std::unique_ptr<Object> object;
    try {
        object = make_stock(index);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (!object) return 0;
    object->stock = true;
    stock_handles[index] = insert(std::move(object));
    return stock_handles[index];
}

Handle stock_bitmap() {
    return stock_object(stock_bitmap_index);
}

}  // namespace platform::gdi::detail

using namespace platform::gdi::detail;

HGDIOBJ WINAPI GetStockObject(int index) {
    Lock lock(gdi_mutex());
    if (index < 0 || index >= stock_count) return nullptr;
    return from_handle<HGDIOBJ>(stock_object(index));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
    Lock lock(gdi_mutex());
    try {
        auto brush = std::make_unique<Brush>();
        brush->colour = colour & 0x00FFFFFFu;
        brush->counted = true;
        return from_handle<HBRUSH>(insert(std::move(brush)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HPEN WINAPI CreatePen(int style, int width, COLORREF colour) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) style = PS_SOLID;  // an unknown style draws solid
    Lock lock(gdi_mutex());
    try {
        auto pen = std::make_unique<Pen>();
        pen->colour = colour & 0x00FFFFFFu;
        pen->null = style == PS_NULL;
        pen->style = style;
        pen->width = width;
        pen->counted = true;
        return from_handle<HPEN>(insert(std::move(pen)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    Lock lock(gdi_mutex());
    Handle handle = to_handle(object);
    Object* o = find_any(handle);
    if (!o || o->pending_delete) return FALSE;
    if (o->stock) return TRUE;
    switch (o->kind) {
        case Kind::Dc:
            return delete_memory_dc(handle) ? TRUE : FALSE;
        case Kind::Bitmap: {
            auto* bitmap = static_cast<Bitmap*>(o);
            if (bitmap->surface || bitmap->selected_into) return FALSE;
            erase(handle);
            return TRUE;
        }
        default:
            if (o->selections > 0) {
                o->pending_delete = true;
                return TRUE;
            }
            erase(handle);
            return TRUE;
    }
}

DWORD WINAPI GetObjectType(HGDIOBJ object) {
    Lock lock(gdi_mutex());
    Object* o = find_any(to_handle(object));
    if (!o || o->pending_delete) return 0;
    switch (o->kind) {
        case Kind::Bitmap:
            return OBJ_BITMAP;
        case Kind::Brush:
            return OBJ_BRUSH;
        case Kind::Pen:
            return OBJ_PEN;
        case Kind::Font:
            return OBJ_FONT;
        case Kind::Dc:
            return static_cast<Dc*>(o)->surface_dc ? OBJ_DC : OBJ_MEMDC;
    }
    return 0;
}

namespace {

// Copies a description into the caller's buffer: with no buffer its size, too small a buffer 0.
template <class Info>
int describe(const Info& info, int size, LPVOID out) {
    if (!out) return static_cast<int>(sizeof(Info));
    if (size < static_cast<int>(sizeof(Info))) return 0;
    std::memcpy(out, &info, sizeof info);
    return static_cast<int>(sizeof(Info));
}

}  // namespace

int WINAPI GetObjectA(HANDLE object, int size, LPVOID out) {
    Lock lock(gdi_mutex());
    if (auto* bitmap = get<Bitmap>(object)) {
        BITMAP info{};
        info.bmWidth = bitmap->width;
        info.bmHeight = bitmap->height;
        info.bmPlanes = 1;
        info.bmBitsPixel = bitmap->monochrome ? 1 : 32;
        // Rows of a monochrome bitmap are padded to 16 bits, as Win32 describes them.
        info.bmWidthBytes = bitmap->monochrome ? (bitmap->width + 15) / 16 * 2 : bitmap->width * 4;
        return describe(info, size, out);
    }
    if (auto* brush = get<Brush>(object)) {
        LOGBRUSH info{};
        info.lbStyle = brush->null ? BS_NULL : BS_SOLID;
        info.lbColor = brush->null ? 0 : brush->colour;
        // A brush fills as much of a small buffer as fits; the size is taken unsigned.
        if (!out) return static_cast<int>(sizeof info);
        const std::size_t copied =
            std::min(static_cast<std::size_t>(static_cast<unsigned>(size)), sizeof info);
        std::memcpy(out, &info, copied);
        return static_cast<int>(copied);
    }
    if (auto* pen = get<Pen>(object)) {
        LOGPEN info{};
        info.lopnStyle = static_cast<UINT>(pen->style);
        info.lopnWidth = POINT{pen->width, 0};
        info.lopnColor = pen->colour;
        return describe(info, size, out);
    }
    return 0;  // fonts and DCs are not described
}
