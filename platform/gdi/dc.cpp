// Device contexts: memory DCs (CreateCompatibleDC, DeleteDC), surface DCs (surface.h), SelectObject, and the
// drawing target that the primitives draw through.
#include <algorithm>
#include <new>

#include "platform/gdi/dc.h"
#include "platform/gdi/surface.h"

namespace platform::gdi::detail {
namespace {

void release_all(Dc* dc, Handle hdc) {
    release_selection(dc->pen);
    release_selection(dc->brush);
    release_selection(dc->font);
    if (auto* bitmap = held<Bitmap>(dc->bitmap); bitmap && bitmap->selected_into == hdc)
        bitmap->selected_into = 0;
}

// A new DC with the default objects selected; 0 on failure.
Handle new_dc(bool surface_dc, Handle bitmap) {
    Handle pen = stock_object(BLACK_PEN);
    Handle brush = stock_object(WHITE_BRUSH);
    Handle font = stock_object(SYSTEM_FONT);
    if (!pen || !brush || !font || !bitmap) return 0;
    std::unique_ptr<Dc> dc;
    try {
        dc = std::make_unique<Dc>();
    } catch (const std::bad_alloc&) {
        return 0;
    }
    dc->surface_dc = surface_dc;
    dc->counted = !surface_dc;
    dc->bitmap = bitmap;
    dc->pen = pen;
    dc->brush = brush;
    dc->font = font;
    Handle handle = insert(std::move(dc));
    if (!handle) return 0;
    find_any(pen)->selections++;
    find_any(brush)->selections++;
    find_any(font)->selections++;
    return handle;
}

}  // namespace

bool resolve_target(Handle hdc, Dc** dc_out, Target* target, bool settle_pixels) {
    Dc* dc = get<Dc>(hdc);
    if (!dc) return false;
    Bitmap* bitmap = held<Bitmap>(dc->bitmap);
    if (!bitmap) return false;
    if (settle_pixels) settle(*bitmap);
    target->bitmap = bitmap;
    target->pixels = bitmap->pixels.data();
    target->width = bitmap->width;
    target->height = bitmap->height;
    target->origin_x = dc->origin.x;
    target->origin_y = dc->origin.y;
    target->monochrome = bitmap->monochrome;
    if (dc->surface_dc) {
        target->clip_left = std::clamp<LONG>(dc->clip.left, 0, bitmap->width);
        target->clip_top = std::clamp<LONG>(dc->clip.top, 0, bitmap->height);
        target->clip_right = std::clamp<LONG>(dc->clip.right, target->clip_left, bitmap->width);
        target->clip_bottom = std::clamp<LONG>(dc->clip.bottom, target->clip_top, bitmap->height);
    } else {
        target->clip_left = 0;
        target->clip_top = 0;
        target->clip_right = bitmap->width;
        target->clip_bottom = bitmap->height;
    }
    if (dc_out) *dc_out = dc;
    return true;
}

bool delete_memory_dc(Handle hdc) {
    Dc* dc = get<Dc>(hdc);
    if (!dc || dc->surface_dc) return false;
    release_all(dc, hdc);
    erase(hdc);
    return true;
}

}  // namespace platform::gdi::detail

using namespace platform::gdi::detail;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    Lock lock(gdi_mutex());
    if (hdc && !get<Dc>(hdc)) return nullptr;
    return from_handle<HDC>(new_dc(false, stock_bitmap()));
}

BOOL WINAPI DeleteDC(HDC hdc) {
    Lock lock(gdi_mutex());
    return delete_memory_dc(to_handle(hdc)) ? TRUE : FALSE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object) {
    Lock lock(gdi_mutex());
    Handle dc_handle = to_handle(hdc);
    Handle handle = to_handle(object);
    Dc* dc = get<Dc>(dc_handle);
    Object* o = find_any(handle);
    if (!dc || !o || o->pending_delete) return nullptr;
    Handle previous = 0;
    switch (o->kind) {
        case Kind::Bitmap: {
            auto* bitmap = static_cast<Bitmap*>(o);
            if (dc->surface_dc || bitmap->surface) return nullptr;
            if (!bitmap->stock && bitmap->selected_into && bitmap->selected_into != dc_handle) return nullptr;
            previous = dc->bitmap;
            if (auto* old = held<Bitmap>(previous); old && old->selected_into == dc_handle)
                old->selected_into = 0;
            if (!bitmap->stock) bitmap->selected_into = dc_handle;
            dc->bitmap = handle;
            return from_handle<HGDIOBJ>(previous);
        }
        case Kind::Pen:
        case Kind::Brush:
        case Kind::Font: {
            Handle& slot = o->kind == Kind::Pen ? dc->pen : o->kind == Kind::Brush ? dc->brush : dc->font;
            previous = slot;
            if (previous != handle) {
                o->selections++;
                slot = handle;
                release_selection(previous);  // may free a pen or brush whose deletion was pending
            }
            return from_handle<HGDIOBJ>(previous);
        }
        case Kind::Dc:
            return nullptr;
    }
    return nullptr;
}

namespace platform::gdi {

HDC create_surface_dc(HBITMAP surface, POINT origin, RECT clip) {
    Lock lock(gdi_mutex());
    auto* bitmap = get<Bitmap>(surface);
    if (!bitmap || !bitmap->surface) return nullptr;
    Handle handle = new_dc(true, to_handle(surface));
    if (!handle) return nullptr;
    Dc* dc = get<Dc>(handle);
    dc->origin = origin;
    dc->clip = clip;
    return from_handle<HDC>(handle);
}

void delete_surface_dc(HDC hdc) {
    Lock lock(gdi_mutex());
    Handle handle = to_handle(hdc);
    Dc* dc = get<Dc>(handle);
    if (!dc || !dc->surface_dc) return;
    release_all(dc, handle);
    erase(handle);
}

HBITMAP dc_bitmap(HDC hdc) {
    Lock lock(gdi_mutex());
    Dc* dc = get<Dc>(hdc);
    if (!dc || !held<Bitmap>(dc->bitmap)) return nullptr;
    return from_handle<HBITMAP>(dc->bitmap);
}

}  // namespace platform::gdi

HDC platform::gdi::create_screen_dc() {
    Lock lock(gdi_mutex());
    Handle handle = new_dc(false, stock_bitmap());
    if (Dc* dc = get<Dc>(handle)) dc->screen_dc = true;
    return from_handle<HDC>(handle);
}
