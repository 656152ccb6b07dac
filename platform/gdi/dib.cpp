// SetDIBitsToDevice and GetDIBits for 32-bit BI_RGB device-independent bitmaps, bottom-up (positive height)
// and top-down (negative height).
//
// Scan lines are counted from the DIB's origin: its bottom row for a bottom-up DIB, its top row for a
// top-down one. The source rectangle holds the lines y_src to y_src + height - 1 and the columns x_src to
// x_src + width - 1; the caller's bits hold only the band of lines start_scan to start_scan + lines - 1, the
// band's first line first. Of a bottom-up rectangle the top line (y_src + height - 1) lands on y_dest; of a
// top-down one, line y_src does. Source pixels outside the DIB or the band, and destination pixels outside
// the DC's drawable area, are skipped. The result is the number of scan lines in the band (0 on failure or
// for an empty band), whatever clipping leaves of them.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/dc.h"

using namespace platform::gdi::detail;

namespace {

bool supported(const BITMAPINFO* info, UINT colour_use) {
    if (info == nullptr || colour_use != DIB_RGB_COLORS) return false;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    return header.biSize >= sizeof(BITMAPINFOHEADER) && header.biWidth > 0 && header.biHeight != 0 &&
           header.biPlanes == 1 && header.biBitCount == 32 && header.biCompression == BI_RGB;
}

// A 32-bit DIB pixel is 0xXXRRGGBB with an unused top byte: the stored pixel is the same without it. Runs of
// a fixed length become vector code.
void copy_row(std::uint32_t* __restrict to, const std::uint32_t* __restrict from, std::int64_t count) {
    constexpr std::int64_t run = 16;
    std::int64_t x = 0;
    for (; x + run <= count; x += run) {
        for (std::int64_t k = 0; k < run; ++k)
            to[x + k] = from[x + k] & 0x00FFFFFFu;
    }
    for (; x < count; ++x)
        to[x] = from[x] & 0x00FFFFFFu;
}

}  // namespace

int WINAPI SetDIBitsToDevice(HDC hdc, int x_dest, int y_dest, DWORD width, DWORD height, int x_src, int y_src,
                             UINT start_scan, UINT lines, const void* bits, const BITMAPINFO* info,
                             UINT colour_use) {
    if (bits == nullptr || !supported(info, colour_use)) return 0;
    const std::int64_t dib_width = info->bmiHeader.biWidth;
    const bool top_down = info->bmiHeader.biHeight < 0;
    const std::int64_t dib_height =
        top_down ? -std::int64_t{info->bmiHeader.biHeight} : std::int64_t{info->bmiHeader.biHeight};
    if (lines == 0 || start_scan >= dib_height) return 0;
    const std::int64_t band_end = std::min<std::int64_t>(std::int64_t{start_scan} + lines, dib_height);
    const int result = static_cast<int>(band_end - start_scan);

    Lock lock(gdi_mutex());
    Target target;
    if (!resolve_target(to_handle(hdc), nullptr, &target, false)) return 0;

    // Source columns that exist and whose destination lies in the clip.
    const std::int64_t to_device_x = std::int64_t{x_dest} - x_src + target.origin_x;
    const std::int64_t first_column = std::max<std::int64_t>({0, x_src, target.clip_left - to_device_x});
    const std::int64_t end_column =
        std::min<std::int64_t>({dib_width, std::int64_t{x_src} + width, target.clip_right - to_device_x});
    if (first_column >= end_column) return result;

    const auto* source = static_cast<const std::uint32_t*>(bits);
    const std::int64_t first_line = std::max<std::int64_t>(y_src, start_scan);
    const std::int64_t end_line = std::min<std::int64_t>(std::int64_t{y_src} + height, band_end);
    const auto device_row = [&](std::int64_t line) {
        const std::int64_t row = top_down ? std::int64_t{y_dest} + (line - y_src)
                                          : std::int64_t{y_dest} + (std::int64_t{y_src} + height - 1 - line);
        return row + target.origin_y;
    };
    // The lines land on consecutive rows: every pixel of that block within the clip is set.
    if (first_line < end_line) {
        const std::int64_t a = device_row(first_line), b = device_row(end_line - 1);
        note_written(*target.bitmap, first_column + to_device_x,
                     std::max<std::int64_t>(std::min(a, b), target.clip_top), end_column + to_device_x,
                     std::min<std::int64_t>(std::max(a, b) + 1, target.clip_bottom));
    }
    for (std::int64_t line = first_line; line < end_line; ++line) {
        const std::int64_t device_y = device_row(line);
        if (device_y < target.clip_top || device_y >= target.clip_bottom) continue;
        const std::uint32_t* from =
            source + static_cast<std::size_t>(line - start_scan) * static_cast<std::size_t>(dib_width);
        std::uint32_t* to = &target.at(first_column + to_device_x, device_y);
        copy_row(to, from + first_column, end_column - first_column);
        if (target.monochrome) {
            for (std::int64_t x = 0; x < end_column - first_column; ++x)
                to[x] = to_monochrome(to[x]);
        }
    }
    return result;
}

// Copies scan lines start_scan ... start_scan + lines - 1 of the bitmap (counted from the DIB's origin as
// above) into `bits` as 32-bit pixels 0x00RRGGBB, the band's first line first. The DIB's size is the
// bitmap's; a height of the other sign than `info` asks for turns the rows over. Returns the number of lines
// copied, 0 on failure.
int WINAPI GetDIBits(HDC, HBITMAP bitmap_handle, UINT start_scan, UINT lines, LPVOID bits, LPBITMAPINFO info,
                     UINT colour_use) {
    if (bits == nullptr || !supported(info, colour_use)) return 0;
    Lock lock(gdi_mutex());
    Bitmap* bitmap = get<Bitmap>(bitmap_handle);
    if (bitmap == nullptr || info->bmiHeader.biWidth != bitmap->width ||
        (info->bmiHeader.biHeight != bitmap->height && info->bmiHeader.biHeight != -bitmap->height))
        return 0;
    settle(*bitmap);
    const bool top_down = info->bmiHeader.biHeight < 0;
    const std::int64_t height = bitmap->height;
    if (start_scan >= height) return 0;
    const std::int64_t end = std::min<std::int64_t>(std::int64_t{start_scan} + lines, height);
    auto* to = static_cast<std::uint32_t*>(bits);
    for (std::int64_t line = start_scan; line < end; ++line) {
        const std::int64_t row = top_down ? line : height - 1 - line;
        const std::uint32_t* from = bitmap->pixels.data() + static_cast<std::size_t>(row) * bitmap->width;
        copy_row(to + static_cast<std::size_t>(line - start_scan) * bitmap->width, from, bitmap->width);
    }
    return static_cast<int>(end - start_scan);
}
