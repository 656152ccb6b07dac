#include "zeta/viewer/readout.h"

#include <cmath>
#include <cstdio>

#include "zeta/plot/plot_geometry.h"

namespace {

constexpr COLORREF readout_background = 0x00FF0000;  // the status line's text background
constexpr COLORREF readout_colour = 0x00000000;      // and its text colour
constexpr int readout_left = 10;
constexpr int readout_bottom_margin = 4;
constexpr int readout_height = 18;

// One complex number as "re + imi" or "re - imi".
std::string complex_text(const Complex& z) {
    char text[160];
    const char sign = z.imaginary < 0.0 ? '-' : '+';
    std::snprintf(text, sizeof text, "%f %c %fi", z.real, sign, std::fabs(z.imaginary));
    return text;
}

// UTF-8 to UTF-16 for the characters this line uses (all in the Basic Multilingual Plane).
std::u16string utf16(const std::string& text) {
    std::u16string wide;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            wide.push_back(byte);
            i += 1;
        } else if (byte < 0xE0 && i + 1 < text.size()) {
            wide.push_back(static_cast<char16_t>((byte & 0x1F) << 6 | (text[i + 1] & 0x3F)));
            i += 2;
        } else if (i + 2 < text.size()) {
            wide.push_back(static_cast<char16_t>((byte & 0x0F) << 12 | (text[i + 1] & 0x3F) << 6 |
                                                 (text[i + 2] & 0x3F)));
            i += 3;
        } else {
            break;
        }
    }
    return wide;
}

}  // namespace

std::optional<Complex> s_at_pointer(const Plot_Job& job, const RECT& plot, int32_t x, int32_t y) {
    const std::optional<Cell> cell =
        cell_at_pixel(Plot_Area{plot.left, plot.top, plot.right, plot.bottom}, x, y);
    if (!cell) return std::nullopt;
    return cell_s(job.settings, cell->column, cell->row);
}

std::string readout_text(const Complex& s) {
    return "s = " + complex_text(s);
}

std::string readout_text(const Complex& s, const Complex& zeta) {
    char modulus[96];
    std::snprintf(modulus, sizeof modulus, "%f", std::hypot(zeta.real, zeta.imaginary));
    return readout_text(s) + "   \u03b6(s) = " + complex_text(zeta) + "   |\u03b6(s)| = " + modulus;
}

RECT readout_rect(const RECT& client) {
    const int bottom = client.bottom - readout_bottom_margin;
    return RECT{client.left + readout_left, bottom - readout_height, client.right, bottom};
}

void draw_readout(HDC dc, const RECT& box, const std::string& text) {
    HBRUSH brush = CreateSolidBrush(readout_background);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
    if (text.empty()) return;
    const std::u16string wide = utf16(text);
    SetBkColor(dc, readout_background);
    SetTextColor(dc, readout_colour);
    RECT line = box;
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(wide.data()), static_cast<int>(wide.size()), &line, 0);
}
