// Font loading (fontconfig + FreeType) and the glyph cache.
#include "platform/gdi/font.h"

#include "platform/startup.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <cstring>
#include <map>
#include <memory>
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

struct Load_Result {
    Font_State* font = nullptr;
    std::string problem;
};

Load_Result failed(Font_State* partial, std::string problem) {
    if (partial != nullptr) {
        if (partial->library != nullptr) FT_Done_FreeType(partial->library);  // frees the face too
        delete partial;
    }
    return {nullptr, std::move(problem)};
}

Load_Result load_font() {
    int index = 0;
    std::string path = find_sans_serif(&index);
    if (path.empty()) return failed(nullptr, "fontconfig found none");
    auto* s = new Font_State;
    if (FT_Init_FreeType(&s->library) != 0) return failed(s, "FreeType could not start");
    if (FT_New_Face(s->library, path.c_str(), index, &s->face) != 0) return failed(s, "cannot open " + path);
    if (FT_Set_Pixel_Sizes(s->face, 0, pixels_per_em) != 0) return failed(s, "cannot scale " + path);
    FT_Select_Charmap(s->face, FT_ENCODING_UNICODE);
    // Centre the face's ascent + descent in the line; the baseline row follows.
    int ascent = static_cast<int>((s->face->size->metrics.ascender + 63) >> 6);
    int descent = static_cast<int>((-s->face->size->metrics.descender + 63) >> 6);
    int spare = detail::line_height - ascent - descent;
    s->baseline = ascent + (spare > 0 ? spare / 2 : 0);
    if (s->baseline >= detail::line_height) s->baseline = detail::line_height - 3;
    return {s, {}};
}

// Loaded once; a failure is remembered and not retried.
const Load_Result& loaded_font() {
    static const Load_Result result = [] {
        Load_Result r = load_font();
        state = r.font;
        return r;
    }();
    return result;
}

}  // namespace

bool require_font() {
    return loaded_font().font != nullptr;
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

bool platform::load_font(std::string* problem) {
    const auto& result = gdi::loaded_font();
    if (problem != nullptr) *problem = result.problem;
    return result.font != nullptr;
}
