// Icons made from the program's own pixels (CreateIcon with 32-bit colour), drawn with DrawIconEx and shown
// by the screen as a window's class icon.
//
// As in Win32, an icon is a colour image and a monochrome AND mask. Colour pixels are B, G, R, A bytes. When
// any pixel has a non-zero alpha byte the alpha decides what shows; otherwise the mask does: where its bit is
// 1 the colour is XORed onto what is below (black leaves it unchanged), where it is 0 the colour replaces it.
#include <algorithm>
#include <map>
#include <mutex>

#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

// Larger icons are refused, which keeps a bad size from asking for unbounded memory.
constexpr int largest_icon_side = 1024;

struct Icon {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colour;  // 0xAARRGGBB as the program gave it
    std::vector<bool> mask;             // true: the AND bit is 1
    bool has_alpha = false;
};

struct Icon_Table {
    std::mutex lock;
    std::map<std::uintptr_t, std::shared_ptr<const Icon>> icons;
    std::uintptr_t next_handle = 0x7E000;  // never reused, so a destroyed icon's handle stays dead
};

Icon_Table& icon_table() {
    static Icon_Table* table = new Icon_Table;  // icons may be destroyed while the process exits
    return *table;
}

std::shared_ptr<const Icon> find_icon(HICON handle) {
    Icon_Table& table = icon_table();
    std::lock_guard guard(table.lock);
    auto found = table.icons.find(reinterpret_cast<std::uintptr_t>(handle));
    return found != table.icons.end() ? found->second : nullptr;
}

// Rows of a monochrome bitmap are padded to whole 16-bit words, as CreateBitmap takes them.
std::size_t mask_row_bytes(int width) {
    return static_cast<std::size_t>((width + 15) / 16) * 2;
}

std::uint32_t read_bgra(const BYTE* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

COLORREF colorref_of(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

BYTE blend(unsigned source, unsigned destination, unsigned alpha) {
    return static_cast<BYTE>((source * alpha + destination * (255 - alpha) + 127) / 255);
}

// The colour that the icon's pixel leaves over `below`.
COLORREF drawn_over(const Icon& icon, std::size_t index, COLORREF below) {
    const std::uint32_t pixel = icon.colour[index];
    const COLORREF colour = colorref_of(pixel);
    if (icon.has_alpha) {
        const unsigned alpha = pixel >> 24;
        return RGB(blend(GetRValue(colour), GetRValue(below), alpha),
                   blend(GetGValue(colour), GetGValue(below), alpha),
                   blend(GetBValue(colour), GetBValue(below), alpha));
    }
    return (icon.mask[index] ? below : 0) ^ colour;
}

}  // namespace

bool icon_image(HICON handle, std::vector<std::uint32_t>* pixels, int* width, int* height) {
    std::shared_ptr<const Icon> icon = find_icon(handle);
    if (!icon) return false;
    pixels->resize(icon->colour.size());
    for (std::size_t i = 0; i < icon->colour.size(); ++i) {
        const std::uint32_t colour = icon->colour[i] & 0x00FFFFFF;
        // A mask bit of 1 over black is see-through; over another colour it inverts, which a screen's icon
        // cannot do, so that colour shows.
        const bool clear = icon->has_alpha ? false : icon->mask[i] && colour == 0;
        const std::uint32_t alpha = icon->has_alpha ? icon->colour[i] >> 24 : clear ? 0 : 0xFF;
        (*pixels)[i] = alpha << 24 | colour;
    }
    *width = icon->width;
    *height = icon->height;
    return true;
}

// The class icon, else the class's small icon, as the screen shows only one.
void show_class_icon(const Window& window) {
    const display::Backend* display = layer().display.load();
    if (display == nullptr || display->set_icon == nullptr || window.display_window == 0) return;
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    if (icon_image(window.window_class->icon, &pixels, &width, &height) ||
        icon_image(window.window_class->small_icon, &pixels, &width, &height)) {
        display->set_icon(window.display_window, pixels.data(), width, height);
    }
}

}  // namespace platform::user

using namespace platform::user;

// Only 32-bit colour in one plane: B, G, R, A bytes, rows top to bottom.
HICON WINAPI CreateIcon(HINSTANCE, int width, int height, BYTE planes, BYTE bits_per_pixel,
                        const BYTE* and_bits, const BYTE* xor_bits) {
    if (width <= 0 || height <= 0 || width > largest_icon_side || height > largest_icon_side || planes != 1 ||
        bits_per_pixel != 32 || and_bits == nullptr || xor_bits == nullptr) {
        return nullptr;
    }
    auto icon = std::make_shared<Icon>();
    icon->width = width;
    icon->height = height;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    icon->colour.resize(count);
    icon->mask.resize(count);
    const std::size_t mask_row = mask_row_bytes(width);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x;
            icon->colour[index] = read_bgra(xor_bits + index * 4);
            const BYTE mask_byte =
                and_bits[static_cast<std::size_t>(y) * mask_row + static_cast<std::size_t>(x / 8)];
            icon->mask[index] = (mask_byte & (0x80 >> (x % 8))) != 0;
            if ((icon->colour[index] >> 24) != 0) icon->has_alpha = true;
        }
    }
    Icon_Table& table = icon_table();
    std::lock_guard guard(table.lock);
    const std::uintptr_t handle = table.next_handle;
    table.next_handle += 4;
    table.icons[handle] = std::move(icon);
    return reinterpret_cast<HICON>(handle);
}

BOOL WINAPI DestroyIcon(HICON icon) {
    Icon_Table& table = icon_table();
    std::lock_guard guard(table.lock);
    return table.icons.erase(reinterpret_cast<std::uintptr_t>(icon)) != 0 ? TRUE : FALSE;
}

// DI_NORMAL only; a width or height of 0 takes the icon's own, other sizes scale to the nearest pixel.
BOOL WINAPI DrawIconEx(HDC hdc, int x, int y, HICON handle, int width, int height, UINT, HBRUSH, UINT flags) {
    std::shared_ptr<const Icon> icon = find_icon(handle);
    const DWORD dc_type = GetObjectType(hdc);
    if (!icon || (dc_type != OBJ_DC && dc_type != OBJ_MEMDC) || flags != DI_NORMAL || width < 0 || height < 0)
        return FALSE;
    if (width == 0) width = icon->width;
    if (height == 0) height = icon->height;
    // Only the part inside the clip box can change.
    RECT clip{};
    if (GetClipBox(hdc, &clip) == RGN_ERROR) return FALSE;
    const std::int64_t first_column = std::max<std::int64_t>(0, std::int64_t{clip.left} - x);
    const std::int64_t end_column = std::min<std::int64_t>(width, std::int64_t{clip.right} - x);
    const std::int64_t first_row = std::max<std::int64_t>(0, std::int64_t{clip.top} - y);
    const std::int64_t end_row = std::min<std::int64_t>(height, std::int64_t{clip.bottom} - y);
    for (std::int64_t row = first_row; row < end_row; ++row) {
        const std::size_t source_y = static_cast<std::size_t>(row * icon->height / height);
        for (std::int64_t column = first_column; column < end_column; ++column) {
            const std::size_t source_x = static_cast<std::size_t>(column * icon->width / width);
            const int at_x = static_cast<int>(x + column);
            const int at_y = static_cast<int>(y + row);
            const COLORREF below = GetPixel(hdc, at_x, at_y);
            if (below == CLR_INVALID) continue;
            SetPixel(hdc, at_x, at_y, drawn_over(*icon, source_y * icon->width + source_x, below));
        }
    }
    return TRUE;
}
