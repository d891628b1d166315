#include "graphics/FontSheet.h"
#include "graphics/GlyphCell.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "tests/graphics/FontSheetImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::shared_ptr<platform::Font> labelFont(platform::Fonts& fonts)
{
    platform::FontSpec spec;
    spec.height = 24;
    spec.weight = 500;
    spec.charset = platform::kShiftJisCharset;
    spec.face = platform::utf8ToSjis("ＭＳ ゴシック");
    return fonts.createFont(spec);
}

uint32_t code(const char* utf8)
{
    std::string s = platform::utf8ToSjis(utf8);
    size_t len = 0;
    return glyphcell::codeAt(s, 0, len);
}

} // namespace

TEST(GlyphCell, GreyLevelsBecomeAlphaWithSixteenCappedAtFifteen)
{
    platform::Fonts fonts;
    auto font = labelFont(fonts);
    bool saw16 = false, saw1 = false;
    for (const char* ch : {"漢", "鐘", "あ", "の", "丘", "※", "ぬ", "Ｑ"}) {
        const uint32_t c = code(ch);
        uint16_t cell[32 * 32];
        glyphcell::rasterise(font.get(), nullptr, c, 0x0ABC, cell);
        platform::GlyphMetrics gm;
        std::vector<uint8_t> bits(4096);
        ASSERT_GT(font->glyphOutline(c, gm, bits.data(), 4096), 0u);
        const uint32_t row = (gm.blackBoxX + 3) & ~3u;
        const int32_t top = font->metrics().ascent - gm.originY;
        // The 24-pixel face fits the cell: nothing of the black box is lost.
        ASSERT_GE(top, 0) << ch;
        ASSERT_LE(top + int32_t(gm.blackBoxY), 32) << ch;
        ASSERT_GE(gm.originX, 0) << ch;
        ASSERT_LE(gm.originX + int32_t(gm.blackBoxX), 32) << ch;
        int inkPixels = 0;
        for (uint32_t j = 0; j < gm.blackBoxY; ++j)
            for (uint32_t k = 0; k < gm.blackBoxX; ++k) {
                const uint8_t g = bits[j * row + k];
                const uint16_t px = cell[(top + int32_t(j)) * 32 + gm.originX + int32_t(k)];
                ASSERT_EQ(px & 0x0FFF, 0x0ABC);
                ASSERT_EQ(px >> 12, g == 16 ? 15 : g);
                saw16 = saw16 || g == 16;
                saw1 = saw1 || g == 1;
                inkPixels += g > 0;
            }
        int cellInk = 0;
        for (uint16_t px : cell)
            cellInk += (px >> 12) != 0;
        EXPECT_EQ(cellInk, inkPixels) << "ink outside the black box in " << ch;
    }
    EXPECT_TRUE(saw16);
    EXPECT_TRUE(saw1);
}

TEST(GlyphCell, CircledNumbersComeFromTheSheetWhenOneIsLoaded)
{
    platform::Fonts fonts;
    auto font = labelFont(fonts);
    // Sheet glyph k is a filled square of value k + 1 in its top-left 8 x 8 corner.
    auto bmp = testsupport::makeFontSheetBmp([](int x, int y) {
        const int k = (y / 32) * 4 + x / 32;
        return uint8_t((x % 32) < 8 && (y % 32) < 8 ? k + 1 : 0);
    });
    FontSheet sheet;
    ASSERT_TRUE(sheet.decode(bmp.data(), bmp.size()));
    for (uint32_t k : {0u, 5u, 14u}) {
        uint16_t cell[32 * 32];
        glyphcell::rasterise(font.get(), &sheet, 0x8740 + k, 0x0F00, cell);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const uint16_t want = x < 8 && y < 8 ? uint16_t(0x0F00 + (k + 1) * 0x1000) : 0x0F00;
                ASSERT_EQ(cell[y * 32 + x], want) << k << " " << x << "," << y;
            }
    }
    // Value 15 (glyph 14) stays 15; the base colour's own alpha bits are ignored.
    uint16_t cell[32 * 32];
    glyphcell::rasterise(font.get(), &sheet, 0x874E, 0xF123, cell);
    EXPECT_EQ(cell[0], 0xF123);
    EXPECT_EQ(cell[31 * 32 + 31], 0x0123);

    // Without a sheet, "①" comes from the face: a ring, so ink around an empty-ish middle.
    FontSheet none;
    glyphcell::rasterise(font.get(), &none, code("①"), 0x0FFF, cell);
    int ink = 0;
    for (uint16_t px : cell)
        ink += (px >> 12) != 0;
    EXPECT_GT(ink, 40);
    EXPECT_EQ(cell[0], 0x0FFF);
}

TEST(GlyphCell, BlanksAndMissingGlyphsKeepTheFill)
{
    platform::Fonts fonts;
    auto font = labelFont(fonts);
    for (uint32_t c : {0x8140u, 0x8540u, 0x20u, 0x0Au}) {
        uint16_t cell[32 * 32];
        glyphcell::rasterise(font.get(), nullptr, c, 0x0123, cell);
        for (uint16_t px : cell)
            ASSERT_EQ(px, 0x0123) << std::hex << c;
    }
    uint16_t cell[32 * 32];
    glyphcell::rasterise(nullptr, nullptr, code("あ"), 0x0456, cell);
    EXPECT_EQ(cell[500], 0x0456);
}

TEST(GlyphCell, CharacterCodesAreShiftJisAware)
{
    size_t len = 0;
    const std::string s = platform::utf8ToSjis("①ｱ~あ");
    EXPECT_EQ(glyphcell::codeAt(s, 0, len), 0x8740u);
    EXPECT_EQ(len, 2u);
    EXPECT_EQ(glyphcell::codeAt(s, 2, len), 0xB1u); // half-width katakana: one byte
    EXPECT_EQ(len, 1u);
    EXPECT_EQ(glyphcell::codeAt(s, 3, len), 0x7Eu);
    EXPECT_EQ(len, 1u);
    EXPECT_EQ(glyphcell::codeAt(s, 4, len), 0x82A0u);
    EXPECT_EQ(glyphcell::codeAt(std::string("\x82", 1), 0, len), 0x82u);
    EXPECT_EQ(len, 1u);
}
