#include "platform/DebugOutput.h"
#include "platform/Fonts.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

using namespace platform;

namespace {

FontSpec windowFont(const char* faceUtf8 = "ＭＳ ゴシック", int32_t height = 24, int32_t weight = 500)
{
    FontSpec s;
    s.height = height;
    s.weight = weight;
    s.charset = kShiftJisCharset;
    s.face = utf8ToSjis(faceUtf8);
    return s;
}

uint32_t codeOf(const char* utf8)
{
    std::string s = utf8ToSjis(utf8);
    return s.size() == 2 ? (uint32_t(uint8_t(s[0])) << 8 | uint8_t(s[1])) : uint8_t(s[0]);
}

// A canvas filled with one sentinel colour so every pixel drawing touches shows.
struct TestCanvas {
    TestCanvas(int32_t w, int32_t h, bool bottomUp = false) : pixels(size_t(w) * size_t(h) * 4, 0x55)
    {
        c.pixels = pixels.data();
        c.width = w;
        c.height = h;
        c.stride = w * 4;
        c.bottomUp = bottomUp;
    }
    const uint8_t* at(int32_t x, int32_t y) const
    {
        int32_t row = c.bottomUp ? c.height - 1 - y : y;
        return pixels.data() + (size_t(row) * size_t(c.width) + size_t(x)) * 4;
    }
    bool touched(int32_t x, int32_t y) const
    {
        const uint8_t* p = at(x, y);
        return p[0] != 0x55 || p[1] != 0x55 || p[2] != 0x55 || p[3] != 0x55;
    }
    // Bounding box of touched pixels; left > right when nothing was drawn.
    TextRect ink() const
    {
        TextRect r{c.width, c.height, -1, -1};
        for (int32_t y = 0; y < c.height; ++y)
            for (int32_t x = 0; x < c.width; ++x)
                if (touched(x, y)) {
                    r.left = std::min(r.left, x);
                    r.top = std::min(r.top, y);
                    r.right = std::max(r.right, x);
                    r.bottom = std::max(r.bottom, y);
                }
        return r;
    }
    std::vector<uint8_t> pixels;
    Canvas32 c;
};

} // namespace

TEST(FontFaces, WindowsNamesMapToTheJapaneseFaces)
{
    Fonts fonts;
    auto gothic = fonts.createFont(windowFont());
    ASSERT_TRUE(gothic);
    EXPECT_EQ(gothic->family(), "IPAGothic");
    EXPECT_TRUE(gothic->coversJapanese());
    EXPECT_TRUE(gothic->note().empty());

    auto proportional = fonts.createFont(windowFont("ＭＳ Ｐゴシック"));
    ASSERT_TRUE(proportional);
    EXPECT_EQ(proportional->family(), "IPAPGothic");

    // The plain ASCII spelling and a different case reach the same face.
    auto ascii = fonts.createFont(windowFont("ms gothic"));
    ASSERT_TRUE(ascii);
    EXPECT_EQ(ascii->family(), "IPAGothic");
}

TEST(FontFaces, AMissingJapaneseFaceFallsBackAndSaysWhich)
{
    std::vector<std::string> debug;
    setDebugOutputSink([&](std::string_view t) { debug.emplace_back(t); });
    Fonts fonts;
    auto font = fonts.createFont(windowFont("ＨＧ存在しない書体"));
    setDebugOutputSink(nullptr);
    ASSERT_TRUE(font);
    EXPECT_TRUE(font->coversJapanese());
    ASSERT_FALSE(font->note().empty());
    const std::string note = sjisToUtf8(font->note());
    EXPECT_NE(note.find("ＨＧ存在しない書体"), std::string::npos) << note;
    EXPECT_NE(note.find(font->family()), std::string::npos) << note;
    ASSERT_EQ(debug.size(), 1u);
    EXPECT_EQ(debug[0], font->note());

    // A Latin request is not forced onto a Japanese face.
    FontSpec latin;
    latin.height = 16;
    latin.face = "DejaVu Sans";
    auto plain = fonts.createFont(latin);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->family(), "DejaVu Sans");
    EXPECT_TRUE(plain->note().empty());
}

TEST(FontMetrics, PositiveHeightIsTheCellNegativeTheEm)
{
    Fonts fonts;
    auto cell = fonts.createFont(windowFont());
    const TextMetrics& tm = cell->metrics();
    EXPECT_EQ(tm.height, 24);
    EXPECT_EQ(tm.ascent + tm.descent, 24);
    EXPECT_GE(tm.ascent, 18);
    EXPECT_LE(tm.ascent, 23);
    EXPECT_EQ(tm.weight, 500);

    auto em = fonts.createFont(windowFont("ＭＳ ゴシック", -24));
    EXPECT_GE(em->metrics().height, 24);
    GlyphMetrics a{}, b{};
    cell->glyphOutline(codeOf("漢"), a, nullptr, 0);
    em->glyphOutline(codeOf("漢"), b, nullptr, 0);
    EXPECT_GE(b.cellIncX, a.cellIncX);
}

TEST(FontGlyphs, Gray4BitmapHasSeventeenLevelsAndPaddedRows)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    GlyphMetrics gm{};
    const uint32_t size = font->glyphOutline(codeOf("漢"), gm, nullptr, 0);
    const uint32_t rowBytes = (gm.blackBoxX + 3) & ~3u;
    ASSERT_GT(gm.blackBoxX, 10u);
    ASSERT_GT(gm.blackBoxY, 10u);
    EXPECT_EQ(size, rowBytes * gm.blackBoxY);
    EXPECT_EQ(gm.cellIncX, 24); // full-width in a 24-pixel font
    // The black box sits inside the cell the label gives it.
    const int32_t top = font->metrics().ascent - gm.originY;
    EXPECT_GE(top, 0);
    EXPECT_LE(top + int32_t(gm.blackBoxY), 24 + 2);
    EXPECT_GE(gm.originX, 0);
    EXPECT_LE(gm.originX + int32_t(gm.blackBoxX), 32);

    std::vector<uint8_t> buf(size + 1, 0xEE);
    ASSERT_EQ(font->glyphOutline(codeOf("漢"), gm, buf.data(), size + 1), size);
    EXPECT_EQ(buf[size], 0xEE) << "wrote past the bitmap";
    uint8_t maxLevel = 0;
    bool someMiddle = false;
    for (uint32_t y = 0; y < gm.blackBoxY; ++y) {
        for (uint32_t x = 0; x < rowBytes; ++x) {
            uint8_t v = buf[y * rowBytes + x];
            ASSERT_LE(v, 16);
            if (x >= gm.blackBoxX) {
                ASSERT_EQ(v, 0) << "padding must be blank";
            }
            maxLevel = std::max(maxLevel, v);
            someMiddle = someMiddle || (v > 0 && v < 16);
        }
    }
    EXPECT_EQ(maxLevel, 16);
    EXPECT_TRUE(someMiddle) << "glyphs are anti-aliased";

    // Too small a buffer is refused without writing.
    std::vector<uint8_t> small(size - 1, 0xEE);
    EXPECT_EQ(font->glyphOutline(codeOf("漢"), gm, small.data(), uint32_t(small.size())), kGdiError);
    EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](uint8_t v) { return v == 0xEE; }));
}

TEST(FontGlyphs, BlanksAndUnknownCodesDrawNothing)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    GlyphMetrics gm{};
    EXPECT_EQ(font->glyphOutline(' ', gm, nullptr, 0), 0u);
    EXPECT_EQ(gm.cellIncX, 12);
    EXPECT_EQ(font->glyphOutline(0x8140, gm, nullptr, 0), 0u); // ideographic space
    EXPECT_EQ(gm.cellIncX, 24);
    // 0x85 0x40 is an empty row of code page 932; 0xFFFF is no code at all.
    for (uint32_t code : {0x8540u, 0xFFFFu, 0x12345u, 0x0007u}) {
        EXPECT_EQ(font->glyphOutline(code, gm, nullptr, 0), 0u) << std::hex << code;
        EXPECT_EQ(gm.blackBoxX, 1u);
        EXPECT_EQ(gm.blackBoxY, 1u);
    }
    EXPECT_EQ(font->glyphOutline('A', gm, nullptr, 0) > 0, true);
    EXPECT_EQ(gm.cellIncX, 12);
}

TEST(FontGlyphs, CodePage932Mapping)
{
    EXPECT_EQ(Fonts::codePointOf(0x8740), 0x2460u); // ①
    EXPECT_EQ(Fonts::codePointOf(0x82A0), 0x3042u); // あ
    EXPECT_EQ(Fonts::codePointOf(0x5C), 0x5Cu);     // a backslash, not a yen sign
    EXPECT_EQ(Fonts::codePointOf(0xB1), 0xFF71u);   // half-width ｱ
    EXPECT_EQ(Fonts::codePointOf(0x8540), 0u);
    EXPECT_EQ(Fonts::codePointOf(0x4142), 0u);      // not a lead byte
}

TEST(FontGlyphs, CacheGivesTheSameBitmapAndCanBeCleared)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    GlyphMetrics g1{}, g2{};
    std::vector<uint8_t> a(1024), b(1024);
    uint32_t n1 = font->glyphOutline(codeOf("鐘"), g1, a.data(), 1024);
    EXPECT_EQ(font->cachedGlyphs(), 1u);
    font->clearGlyphCache();
    EXPECT_EQ(font->cachedGlyphs(), 0u);
    uint32_t n2 = font->glyphOutline(codeOf("鐘"), g2, b.data(), 1024);
    ASSERT_EQ(n1, n2);
    EXPECT_EQ(g1.blackBoxX, g2.blackBoxX);
    EXPECT_EQ(g1.originY, g2.originY);
    EXPECT_EQ(a, b);
}

TEST(FontGlyphs, HeavyWeightHasMoreInk)
{
    Fonts fonts;
    auto regular = fonts.createFont(windowFont("ＭＳ ゴシック", 24, 400));
    auto bold = fonts.createFont(windowFont("ＭＳ ゴシック", 24, 700));
    auto ink = [](Font& f) {
        const Font::Glyph& g = f.glyph(codeOf("国"));
        unsigned sum = 0;
        for (uint8_t v : g.coverage)
            sum += v;
        return sum;
    };
    EXPECT_GT(ink(*bold), ink(*regular) * 11 / 10);
}

TEST(FontDrawText, AlignsLeftCentreAndRight)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    const std::string text = utf8ToSjis("星降る");
    TextStyle style;
    style.colour = rgb(255, 255, 255);
    for (uint32_t align : {kDtLeft, kDtCenter, kDtRight}) {
        TestCanvas cv(200, 40);
        TextRect r{10, 5, 190, 35};
        int32_t h = fonts.drawText(*font, cv.c, text, r, align, style);
        EXPECT_EQ(h, 24);
        TextRect ink = cv.ink();
        ASSERT_LE(ink.left, ink.right);
        if (align == kDtLeft) {
            EXPECT_NEAR(ink.left, 10, 3);
        } else if (align == kDtCenter) {
            EXPECT_NEAR((ink.left + ink.right) / 2, 100, 3);
        } else {
            EXPECT_NEAR(ink.right, 189, 3);
        }
        EXPECT_GE(ink.top, 5);
    }
}

TEST(FontDrawText, CentresASingleLineVertically)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    TestCanvas cv(100, 100);
    TextRect r{0, 0, 100, 100};
    int32_t h = fonts.drawText(*font, cv.c, utf8ToSjis("口"), r, kDtSingleLine | kDtVCenter | kDtCenter, TextStyle{});
    EXPECT_EQ(h, 38 + 24); // the offset from the top to the bottom of the text, as GDI returns
    TextRect ink = cv.ink();
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 50, 3);
    EXPECT_NEAR((ink.left + ink.right) / 2, 50, 3);
}

TEST(FontDrawText, WrapsBetweenKanjiAndAtSpacesAndKeepsLineFeeds)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    TextRect r{0, 0, 24 * 4, 1000};
    // Ten full-width characters in a four-character-wide box: 4 + 4 + 2.
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, utf8ToSjis("一二三四五六七八九十"), r, kDtWordBreak | kDtCalcRect, {}),
              72);
    EXPECT_EQ(r.right, 96);
    // Words are not split; the space at the break is dropped from the width.
    r = {0, 0, 12 * 7, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, "abc def ghi", r, kDtWordBreak | kDtCalcRect, {}), 48);
    EXPECT_EQ(r.right, 7 * 12);
    r = {0, 0, 12 * 5, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, "abc def ghi", r, kDtWordBreak | kDtCalcRect, {}), 72);
    EXPECT_EQ(r.right, 3 * 12);
    // Without word break only line feeds start lines.
    r = {0, 0, 10, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, utf8ToSjis("あいう\r\nえお\nか"), r, kDtCalcRect, {}), 72);
    EXPECT_EQ(r.right, 72);
    r = {0, 0, 10, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, utf8ToSjis("あいう\nえお"), r, kDtCalcRect | kDtSingleLine, {}), 24);
    EXPECT_EQ(r.right, 120);
}

TEST(FontDrawText, ClipsToTheRectangleAndTheCanvas)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    TestCanvas cv(120, 60);
    TextRect r{20, 10, 80, 30};
    fonts.drawText(*font, cv.c, utf8ToSjis("長い長い長い長い長い文章です"), r, kDtWordBreak, TextStyle{});
    TextRect ink = cv.ink();
    ASSERT_LE(ink.left, ink.right);
    EXPECT_GE(ink.left, 20);
    EXPECT_GE(ink.top, 10);
    EXPECT_LT(ink.right, 80);
    EXPECT_LT(ink.bottom, 30);

    // Rectangles hanging off every side of the canvas write nothing outside it (the
    // sanitizer build catches a stray write).
    for (TextRect off : {TextRect{-50, -50, 30, 30}, TextRect{100, 40, 400, 400}, TextRect{-1000, 0, 1000, 5}}) {
        fonts.drawText(*font, cv.c, utf8ToSjis("端の文字"), off, kDtNoClip, TextStyle{});
        fonts.drawText(*font, cv.c, utf8ToSjis("端の文字"), off, kDtCenter | kDtSingleLine | kDtVCenter, TextStyle{});
    }
}

TEST(FontDrawText, ColourTransparencyAndBottomUpRows)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    TextStyle style;
    style.colour = rgb(200, 100, 50);
    TestCanvas top(60, 30), bottom(60, 30, true);
    TextRect r{0, 0, 60, 30};
    fonts.drawText(*font, top.c, utf8ToSjis("国"), r, 0, style);
    fonts.drawText(*font, bottom.c, utf8ToSjis("国"), r, 0, style);
    bool sawFull = false;
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            ASSERT_EQ(std::vector<uint8_t>(top.at(x, y), top.at(x, y) + 4),
                      std::vector<uint8_t>(bottom.at(x, y), bottom.at(x, y) + 4));
            const uint8_t* p = top.at(x, y);
            if (p[0] == 50 && p[1] == 100 && p[2] == 200)
                sawFull = true;
        }
    EXPECT_TRUE(sawFull);
    EXPECT_FALSE(top.touched(59, 29)) << "a transparent background leaves the canvas alone";

    style.transparent = false;
    style.backgroundColour = rgb(0, 0, 255);
    TestCanvas opaque(60, 30);
    fonts.drawText(*font, opaque.c, utf8ToSjis("国"), r, 0, style);
    EXPECT_EQ(opaque.at(0, 0)[0], 255);
    EXPECT_EQ(opaque.at(0, 0)[2], 0);
    EXPECT_FALSE(opaque.touched(40, 10)) << "the background covers the text's box only";
}

TEST(FontDrawText, SpacesAndLongWordsAtLineEnds)
{
    Fonts fonts;
    auto font = fonts.createFont(windowFont());
    // Leading spaces of the text and after a line feed stay; those at a wrap go.
    TextRect r{0, 0, 12 * 6, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, "  ab", r, kDtWordBreak | kDtCalcRect, {}), 24);
    EXPECT_EQ(r.right, 48);
    r = {0, 0, 12 * 6, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, "ab\n  cd", r, kDtWordBreak | kDtCalcRect, {}), 48);
    EXPECT_EQ(r.right, 48);
    r = {0, 0, 12 * 6, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, "abcd    efgh", r, kDtWordBreak | kDtCalcRect, {}), 48);
    EXPECT_EQ(r.right, 48);
    // A word wider than the box keeps a line of its own and is not split.
    r = {0, 0, 12 * 4, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, "a abcdefgh b", r, kDtWordBreak | kDtCalcRect, {}), 72);
    EXPECT_EQ(r.right, 96);
    // Kana after a word breaks at the change of script.
    r = {0, 0, 12 * 5, 1000};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, utf8ToSjis("abcあい"), r, kDtWordBreak | kDtCalcRect, {}), 48);
    // An empty text is one empty line, as GDI measures it.
    r = {0, 0, 100, 100};
    EXPECT_EQ(fonts.drawText(*font, Canvas32{}, "", r, kDtCalcRect, {}), 24);
    EXPECT_EQ(r.right, 0);
}

TEST(FontMetrics, AbsurdSizesAreHeldToWorkableOnes)
{
    Fonts fonts;
    for (int32_t h : {INT32_MIN, -100000, 0, 1, 100000, INT32_MAX}) {
        auto f = fonts.createFont(windowFont("ＭＳ ゴシック", h));
        ASSERT_TRUE(f) << h;
        EXPECT_GT(f->metrics().height, 0) << h;
        EXPECT_LE(f->metrics().height, 1100) << h;
        GlyphMetrics gm{};
        EXPECT_NE(f->glyphOutline(codeOf("あ"), gm, nullptr, 0), kGdiError) << h;
    }
    FontSpec wide = windowFont();
    wide.width = 48; // twice the usual width
    auto w = fonts.createFont(wide);
    GlyphMetrics a{};
    w->glyphOutline(codeOf("国"), a, nullptr, 0);
    EXPECT_GT(a.cellIncX, 30);
}
