// DrawTextA, TextOutA and GetTextExtentPoint32A. Glyph shapes depend on the font, so the images are checked
// by class: with black text on a blue background every pixel of a line's extent has red = green = 0, and
// every pixel outside the extents keeps the white of the canvas exactly.
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::Image;
using gdi_test::same_image;

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF blue = RGB(0, 0, 255);
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF marker = RGB(1, 1, 1);  // "a line extent here": r = g = 0 expected

int width_of(HDC dc, const char* text) {
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size));
    return size.cx;
}

// Reduces a canvas to classes: white stays white, a pixel with red = green = 0 becomes `marker`, anything
// else is kept as it is (and will fail a comparison).
std::vector<COLORREF> classes(const Canvas& c) {
    std::vector<COLORREF> out = c.read();
    for (COLORREF& p : out) {
        if (p != white && GetRValue(p) == 0 && GetGValue(p) == 0) p = marker;
    }
    return out;
}

void black_on_blue(HDC dc, int mode) {
    SetTextColor(dc, black);
    SetBkColor(dc, blue);
    SetBkMode(dc, mode);
}

bool has_ink(const Canvas& c, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (GetPixel(c.dc(), x, y) != white) return true;
    return false;
}

}  // namespace

TEST(GetTextExtentPoint32A, LineHeightIsSixteenAndWidthsAdd) {
    Canvas c(1, 1);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc(), "Ab", 2, &size));
    EXPECT_EQ(size.cy, 16);
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(size.cx, width_of(c.dc(), "A") + width_of(c.dc(), "b"));
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc(), "", 0, &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 16);
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc(), "Abcdef", 2, &size));  // only the count
    EXPECT_EQ(size.cx, width_of(c.dc(), "Ab"));
    // The Options labels fit their 170-pixel boxes.
    EXPECT_LE(width_of(c.dc(), "Zeta function precision:"), 170);
}

TEST(DrawTextA, OpaqueBackgroundFillsEachLinesOwnExtentNotTheBox) {
    Canvas c(120, 60);
    black_on_blue(c.dc(), OPAQUE);
    RECT box{5, 4, 115, 56};
    EXPECT_EQ(DrawTextA(c.dc(), "Wi\nWide line", -1, &box, 0), 32);
    int w1 = width_of(c.dc(), "Wi"), w2 = width_of(c.dc(), "Wide line");
    ASSERT_LT(w1, w2);
    Image expected(120, 60, white);
    expected.fill(5, 4, 5 + w1, 20, marker);
    expected.fill(5, 20, 5 + w2, 36, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
    EXPECT_EQ(GetPixel(c.dc(), 5, 4), blue);  // no ink in the top-left corner of the cell
}

TEST(DrawTextA, TransparentDrawsGlyphsOnly) {
    Canvas c(120, 40);
    black_on_blue(c.dc(), TRANSPARENT);
    RECT box{5, 4, 115, 40};
    EXPECT_EQ(DrawTextA(c.dc(), "Wi\nWide line", -1, &box, 0), 32);
    int w1 = width_of(c.dc(), "Wi");
    for (COLORREF p : c.read()) {
        EXPECT_EQ(GetRValue(p), GetGValue(p));  // black over white: grey levels only, no blue
        EXPECT_EQ(GetGValue(p), GetBValue(p));
    }
    EXPECT_TRUE(has_ink(c, 5, 4, 5 + w1, 20));
    EXPECT_FALSE(has_ink(c, 5 + w1 + 2, 4, 120, 20));
    EXPECT_EQ(GetPixel(c.dc(), 5, 4), white);
}

TEST(DrawTextA, TextColourIsBlendedOverWhatIsBelow) {
    Canvas c(60, 20);
    SetTextColor(c.dc(), RGB(255, 0, 0));
    SetBkMode(c.dc(), TRANSPARENT);
    RECT box{0, 0, 60, 20};
    DrawTextA(c.dc(), "Hello", 5, &box, 0);
    bool full = false, partial = false;
    for (COLORREF p : c.read()) {
        EXPECT_EQ(GetRValue(p), 255);
        EXPECT_EQ(GetGValue(p), GetBValue(p));
        if (p == RGB(255, 0, 0)) full = true;
        if (GetGValue(p) > 0 && GetGValue(p) < 255) partial = true;
    }
    EXPECT_TRUE(full);
    EXPECT_TRUE(partial);  // anti-aliased edges
}

TEST(DrawTextA, RightAlignedLinesEndAtTheBoxRight) {
    Canvas c(100, 50);
    black_on_blue(c.dc(), OPAQUE);
    RECT box{10, 5, 90, 50};
    EXPECT_EQ(DrawTextA(c.dc(), "-2.000000\r\n1", -1, &box, DT_RIGHT), 32);
    int w1 = width_of(c.dc(), "-2.000000"), w2 = width_of(c.dc(), "1");
    Image expected(100, 50, white);
    expected.fill(90 - w1, 5, 90, 21, marker);
    expected.fill(90 - w2, 21, 90, 37, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
}

TEST(DrawTextA, ClippedToItsBox) {
    Canvas c(60, 40);
    black_on_blue(c.dc(), OPAQUE);
    RECT box{4, 3, 24, 23};  // 20 x 20: the first line is cut at the right, the second at the bottom
    // The second line is the first to reach past the box: it is the last one drawn and counted.
    EXPECT_EQ(DrawTextA(c.dc(), "WWWWWWWW\nWWWWWWWW\nWWW", -1, &box, 0), 32);
    RECT calc = box;
    EXPECT_EQ(DrawTextA(c.dc(), "WWWWWWWW\nWWWWWWWW\nWWW", -1, &calc, DT_CALCRECT), 48);
    Image expected(60, 40, white);
    expected.fill(4, 3, 24, 23, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
    // Right-aligned text that is wider than the box loses its left part.
    Canvas d(60, 20);
    black_on_blue(d.dc(), OPAQUE);
    RECT right_box{10, 0, 30, 16};
    DrawTextA(d.dc(), "WWWWWW", -1, &right_box, DT_RIGHT);
    Image expected_right(60, 20, white);
    expected_right.fill(10, 0, 30, 16, marker);
    EXPECT_TRUE(same_image(classes(d), expected_right));
    Canvas e(20, 60);
    for (auto [height, counted] : {std::pair{0, 16}, {16, 32}, {31, 32}, {32, 48}, {33, 48}}) {
        RECT lines{0, 10, 20, 10 + height};
        EXPECT_EQ(DrawTextA(e.dc(), "W\nW\nW", -1, &lines, 0), counted) << height;
        EXPECT_EQ(DrawTextA(e.dc(), "W\nW\nW", -1, &lines, DT_NOCLIP), 48) << height;
    }
}

TEST(DrawTextA, TransparentGlyphsAreClippedToTheBox) {
    Canvas c(80, 30);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT box{10, 10, 30, 18};  // cuts the line's glyphs horizontally and vertically
    DrawTextA(c.dc(), "MMMMMMMM", -1, &box, 0);
    EXPECT_TRUE(has_ink(c, 10, 10, 30, 18));
    EXPECT_FALSE(has_ink(c, 0, 0, 80, 10));
    EXPECT_FALSE(has_ink(c, 0, 18, 80, 30));
    EXPECT_FALSE(has_ink(c, 30, 0, 80, 30));
}

TEST(DrawTextA, NoClipDrawsOutsideTheBox) {
    Canvas c(80, 30);
    black_on_blue(c.dc(), OPAQUE);
    RECT box{0, 0, 10, 8};
    DrawTextA(c.dc(), "MMMM", -1, &box, DT_NOCLIP);
    Image expected(80, 30, white);
    expected.fill(0, 0, width_of(c.dc(), "MMMM"), 16, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
}

TEST(DrawTextA, LinesSplitAtCrLfAndCrLf) {
    Canvas c(60, 90);
    black_on_blue(c.dc(), OPAQUE);
    RECT box{0, 0, 60, 90};
    EXPECT_EQ(DrawTextA(c.dc(), "a\rbb\nccc\r\nW", -1, &box, 0), 64);
    Image expected(60, 90, white);
    expected.fill(0, 0, width_of(c.dc(), "a"), 16, marker);
    expected.fill(0, 16, width_of(c.dc(), "bb"), 32, marker);
    expected.fill(0, 32, width_of(c.dc(), "ccc"), 48, marker);
    expected.fill(0, 48, width_of(c.dc(), "W"), 64, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
}

TEST(DrawTextA, EmptyLinesAndATrailingBreak) {
    Canvas c(40, 60);
    black_on_blue(c.dc(), OPAQUE);
    RECT box{0, 0, 40, 60};
    EXPECT_EQ(DrawTextA(c.dc(), "a\n\nb", -1, &box, 0), 48);
    Image expected(40, 60, white);
    expected.fill(0, 0, width_of(c.dc(), "a"), 16, marker);
    expected.fill(0, 32, width_of(c.dc(), "b"), 48, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
    EXPECT_EQ(DrawTextA(c.dc(), "a\n", -1, &box, 0), 16);
    EXPECT_EQ(DrawTextA(c.dc(), "a\r\n", 3, &box, 0), 16);
    EXPECT_EQ(DrawTextA(c.dc(), "\n", 1, &box, 0), 16);
}

TEST(DrawTextA, ExactByteCountIsHonoured) {
    // Not terminated after the count: the heap block ends right after the four bytes.
    std::unique_ptr<char[]> bytes(new char[4]{'W', 'i', 'd', 'e'});
    Canvas a(80, 20), b(80, 20);
    black_on_blue(a.dc(), OPAQUE);
    black_on_blue(b.dc(), OPAQUE);
    RECT box{0, 0, 80, 20};
    EXPECT_EQ(DrawTextA(a.dc(), bytes.get(), 2, &box, 0), 16);
    EXPECT_EQ(DrawTextA(b.dc(), "Wi", -1, &box, 0), 16);
    EXPECT_TRUE(same_image(a.read(), [&] {
        Image image(80, 20, 0);
        image.pixels = b.read();
        return image;
    }()));
    Image expected(80, 20, white);
    expected.fill(0, 0, width_of(a.dc(), "Wi"), 16, marker);
    EXPECT_TRUE(same_image(classes(a), expected));
    Canvas full(80, 20);
    black_on_blue(full.dc(), OPAQUE);
    EXPECT_EQ(DrawTextA(full.dc(), bytes.get(), 4, &box, 0), 16);
    Image expected_full(80, 20, white);
    expected_full.fill(0, 0, width_of(full.dc(), "Wide"), 16, marker);
    EXPECT_TRUE(same_image(classes(full), expected_full));
    // An embedded zero byte is drawn as a character, not taken as the end.
    Canvas zero(80, 20);
    black_on_blue(zero.dc(), OPAQUE);
    SIZE size{};
    GetTextExtentPoint32A(zero.dc(), "a\0b", 3, &size);
    DrawTextA(zero.dc(), "a\0b", 3, &box, 0);
    Image expected_zero(80, 20, white);
    expected_zero.fill(0, 0, size.cx, 16, marker);
    EXPECT_TRUE(same_image(classes(zero), expected_zero));
}

TEST(DrawTextA, CountRules) {
    Canvas c(40, 20);
    RECT box{0, 0, 40, 20};
    // An empty text has the height of one line and draws nothing; a count of 0 gives 0 and keeps the box.
    SIZE line{};
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc(), "x", 1, &line));
    EXPECT_EQ(DrawTextA(c.dc(), "abc", 0, &box, 0), 0);
    RECT kept = box;
    EXPECT_EQ(DrawTextA(c.dc(), "abc", 0, &kept, DT_CALCRECT), 0);
    EXPECT_EQ(kept.right, box.right);
    EXPECT_EQ(DrawTextA(c.dc(), "", -1, &box, 0), line.cy);
    EXPECT_TRUE(same_image(c.read(), Image(40, 20, white)));
    // Any negative count reads up to the terminating zero.
    for (int count : {-2, -100, INT_MIN}) {
        Canvas d(40, 20);
        SetBkMode(d.dc(), TRANSPARENT);
        EXPECT_EQ(DrawTextA(d.dc(), "abc", count, &box, 0), line.cy);
        EXPECT_TRUE(has_ink(d, 0, 0, width_of(d.dc(), "abc"), line.cy));
    }
}

TEST(DrawTextA, BytesAbove127AreLatin1AndDoNotCrash) {
    Canvas c(200, 20);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT box{0, 0, 200, 20};
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(DrawTextA(c.dc(), all.data(), static_cast<int>(all.size()), &box, DT_SINGLELINE), 16);
    Canvas d(40, 20);
    SetBkMode(d.dc(), TRANSPARENT);
    DrawTextA(d.dc(), "\xE9", 1, &box, 0);  // e acute
    EXPECT_TRUE(has_ink(d, 0, 0, 40, 16));
    EXPECT_GT(width_of(d.dc(), "\xE9\xFF\x80\x9F"), 0);
}

TEST(DrawTextA, GlyphsStayInsideTheirSixteenPixelLine) {
    Canvas c(200, 48);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT box{0, 16, 200, 48};
    DrawTextA(c.dc(), "\xC9gjpqy|()[]{}_\xC5\xC7", -1, &box, 0);
    EXPECT_TRUE(has_ink(c, 0, 16, 200, 32));
    EXPECT_FALSE(has_ink(c, 0, 0, 200, 16));
    EXPECT_FALSE(has_ink(c, 0, 32, 200, 48));
}

TEST(DrawTextA, BaselineIsTheSameOnEveryLine) {
    Canvas c(30, 32);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT box{0, 0, 30, 32};
    DrawTextA(c.dc(), "xg\nxg", -1, &box, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(GetPixel(c.dc(), x, y), GetPixel(c.dc(), x, y + 16)) << x << "," << y;
}

TEST(DrawTextA, CalcRectMeasuresWithoutDrawing) {
    Canvas c(50, 50);
    RECT box{3, 4, 5, 6};
    EXPECT_EQ(DrawTextA(c.dc(), "ab\nabcd", -1, &box, DT_CALCRECT), 32);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.top, 4);
    EXPECT_EQ(box.right, 3 + width_of(c.dc(), "abcd"));
    EXPECT_EQ(box.bottom, 36);
    EXPECT_TRUE(same_image(c.read(), Image(50, 50, white)));
}

TEST(DrawTextA, CentredSingleLineCaption) {
    Canvas c(100, 40);
    black_on_blue(c.dc(), OPAQUE);
    RECT box{0, 0, 100, 40};  // the "Apply values" button
    EXPECT_GT(DrawTextA(c.dc(), "Apply values", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE), 0);
    int w = width_of(c.dc(), "Apply values");
    int left = (100 - w) / 2, top = 20 - 8;
    Image expected(100, 40, white);
    expected.fill(left, top, left + w, top + 16, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
}

TEST(DrawTextA, AmpersandPrefixes) {
    Canvas c(100, 60);
    black_on_blue(c.dc(), OPAQUE);
    RECT box{0, 0, 100, 16};
    DrawTextA(c.dc(), "a&&b", -1, &box, 0);
    RECT box2{0, 20, 100, 36};
    DrawTextA(c.dc(), "a&b", -1, &box2, DT_NOPREFIX);
    RECT box3{0, 40, 100, 56};
    DrawTextA(c.dc(), "&ab", -1, &box3, 0);
    Image expected(100, 60, white);
    expected.fill(0, 0, width_of(c.dc(), "a&b"), 16, marker);
    expected.fill(0, 20, width_of(c.dc(), "a&b"), 36, marker);
    expected.fill(0, 40, width_of(c.dc(), "ab"), 56, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
}

TEST(TextOutA, DrawsOneLineAtThePointWithItsExtent) {
    Canvas c(80, 40);
    black_on_blue(c.dc(), OPAQUE);
    EXPECT_TRUE(TextOutA(c.dc(), 7, 9, "Hi there", 8));
    EXPECT_TRUE(TextOutA(c.dc(), 0, 0, "", 0));
    Image expected(80, 40, white);
    expected.fill(7, 9, 7 + width_of(c.dc(), "Hi there"), 25, marker);
    EXPECT_TRUE(same_image(classes(c), expected));
    // A missing text draws nothing and succeeds; a negative count fails.
    EXPECT_TRUE(TextOutA(c.dc(), 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutA(c.dc(), 0, 0, "Hi", -1));
    EXPECT_TRUE(same_image(classes(c), expected));
}

#ifndef _WIN32  // window back stores belong to this layer alone
TEST(DrawTextA, SurfaceDcTextUsesOriginAndClip) {
    namespace gdi = platform::gdi;
    HBITMAP s = gdi::create_surface(60, 40);
    HDC dc = gdi::create_surface_dc(s, POINT{10, 10}, RECT{10, 10, 40, 30});
    black_on_blue(dc, OPAQUE);
    RECT box{-5, -5, 100, 100};
    EXPECT_EQ(DrawTextA(dc, "WWWWWWWWWW\nWWWWWWWWWW", -1, &box, 0), 32);
    gdi::Pixels px;
    ASSERT_TRUE(gdi::bitmap_pixels(s, &px));
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            std::uint32_t p = px.data[y * 60 + x];
            bool inside = x >= 10 && x < 40 && y >= 10 && y < 30;
            if (inside) {
                EXPECT_EQ(p & 0xFFFF00u, 0u) << x << "," << y;  // red = green = 0
            } else {
                EXPECT_EQ(p, 0xFFFFFFu) << x << "," << y;
            }
        }
    }
    gdi::delete_surface_dc(dc);
    gdi::destroy_surface(s);
}
#endif

TEST(DrawTextA, DefaultsAreBlackTextOnOpaqueWhite) {
    Canvas c(40, 20, RGB(0, 200, 0));
    EXPECT_EQ(GetTextColor(c.dc()), black);
    EXPECT_EQ(GetBkColor(c.dc()), white);
    EXPECT_EQ(GetBkMode(c.dc()), OPAQUE);
    RECT box{0, 0, 40, 20};
    DrawTextA(c.dc(), "i", 1, &box, 0);
    int w = width_of(c.dc(), "i");
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            COLORREF p = GetPixel(c.dc(), x, y);
            if (x < w && y < 16) {
                EXPECT_TRUE(GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p)) << x << "," << y;
            } else {
                EXPECT_EQ(p, RGB(0, 200, 0));
            }
        }
    }
}

// UTF-16 literals as Win32's wide strings (wchar_t on Windows).
LPCWSTR utf16(const char16_t* text) {
    return reinterpret_cast<LPCWSTR>(text);
}

TEST(DrawTextW, Utf16DrawsLatin1LikeDrawTextAAndGreekAsOneCharacterEach) {
    Canvas narrow(120, 20);
    Canvas wide(120, 20);
    for (const Canvas* c : {&narrow, &wide})
        black_on_blue(c->dc(), OPAQUE);
    RECT box{0, 0, 120, 20};
    DrawTextA(narrow.dc(), "A\xE9&x\r\nB", -1, &box, 0);
    EXPECT_EQ(DrawTextW(wide.dc(), utf16(u"A\u00E9&x\r\nB"), -1, &box, 0), 32);
    EXPECT_EQ(DrawTextW(wide.dc(), utf16(u"A"), 0, &box, 0), 16);  // unlike DrawTextA, one empty line
    EXPECT_EQ(narrow.read(), wide.read());

    Canvas zeta(40, 20);
    SetBkMode(zeta.dc(), TRANSPARENT);
    RECT zeta_box{0, 0, 40, 20};
    DrawTextW(zeta.dc(), utf16(u"\u03B6"), 1, &zeta_box, 0);
    EXPECT_TRUE(has_ink(zeta, 0, 0, 40, 16)) << "the font has a glyph for a Greek zeta";
}

// Needs a font with a glyph outside the Basic Multilingual Plane (mathematical italic small zeta).
TEST(DrawTextW, SurrogatePairIsOneCharacter) {
    // A pair is one character: the rest of the line starts where one glyph ends, not two.
    Canvas pair(60, 20);
    Canvas single(60, 20);
    RECT pair_box{0, 0, 60, 20};
    DrawTextW(pair.dc(), utf16(u"\U0001D6C7x"), 3, &pair_box, DT_CALCRECT);
    RECT lone_box{0, 0, 60, 20};
    DrawTextW(single.dc(), utf16(u"\xD835\xD835x"), 3, &lone_box, DT_CALCRECT);
    EXPECT_LT(pair_box.right, lone_box.right);
}
