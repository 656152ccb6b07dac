// Font loading (fontconfig + FreeType) and the glyph cache.
#include "platform/gdi/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace platform::gdi {
namespace {

// DejaVu Sans at 12 pixels per em: the face's ascent and descent (12 + 3 pixels) fit a 16-pixel line.
constexpr int pixels_per_em = 12;

struct Font_State {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int baseline = 13;
    std::unique_ptr<detail::Glyph> glyphs[256];  // Latin-1
    std::map<char32_t, std::unique_ptr<detail::Glyph>> other_glyphs;
};

Font_State* state = nullptr;  // set once by require_font, never freed

// The file of the best sans-serif match, or an empty string.
std::string find_sans_serif(int* index) {
    std::string path;
    if (!FcInit()) return path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    if (!pattern) return path;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match && result == FcResultMatch) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
            path = reinterpret_cast<const char*>(file);
            int i = 0;
            if (FcPatternGetInteger(match, FC_INDEX, 0, &i) == FcResultMatch) *index = i;
        }
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    FcFini();  // the layer asks fontconfig once; release its caches
    return path;
}

[[noreturn]] void no_font(const char* detail) {
    std::fprintf(
        stderr, "zeta viewer: no usable sans-serif font (%s); install the Debian package fonts-dejavu-core\n",
        detail);
    std::exit(1);
}

void load_font() {
    int index = 0;
    std::string path = find_sans_serif(&index);
    if (path.empty()) no_font("fontconfig found none");
    auto* s = new Font_State;
    if (FT_Init_FreeType(&s->library) != 0) no_font("FreeType could not start");
    if (FT_New_Face(s->library, path.c_str(), index, &s->face) != 0) no_font(("cannot open " + path).c_str());
    if (FT_Set_Pixel_Sizes(s->face, 0, pixels_per_em) != 0) no_font(("cannot scale " + path).c_str());
    FT_Select_Charmap(s->face, FT_ENCODING_UNICODE);
    // Centre the face's ascent + descent in the line; the baseline row follows.
    int ascent = static_cast<int>((s->face->size->metrics.ascender + 63) >> 6);
    int descent = static_cast<int>((-s->face->size->metrics.descender + 63) >> 6);
    int spare = detail::line_height - ascent - descent;
    s->baseline = ascent + (spare > 0 ? spare / 2 : 0);
    if (s->baseline >= detail::line_height) s->baseline = detail::line_height - 3;
    state = s;
}

}  // namespace

void require_font() {
    static std::once_flag once;
    std::call_once(once, load_font);
}

namespace detail {

int baseline() {
    return state ? state->baseline : 13;
}

const Glyph& glyph(char32_t code_point) {
    static const Glyph empty{};
    if (!state) return empty;
    std::unique_ptr<Glyph>& cached =
        code_point < 256 ? state->glyphs[code_point] : state->other_glyphs[code_point];
    if (cached) return *cached;
    auto g = std::make_unique<Glyph>();
    FT_Face face = state->face;
    if (FT_Load_Char(face, code_point, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) == 0) {
        FT_GlyphSlot slot = face->glyph;
        g->advance = static_cast<int>((slot->advance.x + 32) >> 6);
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.buffer && bm.width > 0 && bm.rows > 0) {
            g->left = slot->bitmap_left;
            g->top = slot->bitmap_top;
            g->width = static_cast<int>(bm.width);
            g->rows = static_cast<int>(bm.rows);
            g->coverage.resize(static_cast<std::size_t>(g->width) * g->rows);
            for (int row = 0; row < g->rows; ++row) {
                const unsigned char* from =
                    bm.pitch >= 0 ? bm.buffer + row * bm.pitch : bm.buffer + (g->rows - 1 - row) * -bm.pitch;
                std::memcpy(&g->coverage[static_cast<std::size_t>(row) * g->width], from, g->width);
            }
        }
    }
    cached = std::move(g);
    return *cached;
}

std::int64_t text_width(const char32_t* text, std::size_t count) {
    std::int64_t width = 0;
    for (std::size_t i = 0; i < count; ++i)
        width += glyph(text[i]).advance;
    return width;
}

}  // namespace detail
}  // namespace platform::gdi
