// Draws a sample of text the way the game's screens do (a centred title, a wrapped paragraph,
// a right-aligned line, and glyph-label cells at their 28-pixel steps) into a canvas, checks
// where the ink went, and leaves the picture as "text-sample.png" in the test area for a
// person to look at.
#include "graphics/CDIB.h"
#include "graphics/FontSheet.h"
#include "graphics/GlyphCell.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "tests/graphics/FontSheetImage.h"
#include "tests/graphics/PngDump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

// Ink bounds of pixels that differ from the background inside an area.
platform::TextRect inkIn(CDIB& dib, platform::TextRect area, uint8_t bgB)
{
    platform::TextRect r{area.right, area.bottom, area.left - 1, area.top - 1};
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            if (dib.pixelAt(x, y)[0] != bgB) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x);
                r.bottom = std::max(r.bottom, y);
            }
    return r;
}

// Blends one A4R4G4B4 cell onto the canvas as a label's sprite shows it.
void blendCell(CDIB& dib, const uint16_t (&cell)[32 * 32], int32_t x0, int32_t y0)
{
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 32; ++x) {
            const uint16_t px = cell[y * 32 + x];
            const unsigned a = (px >> 12) * 17;
            if (!a)
                continue;
            uint8_t* d = dib.pixelAt(x0 + x, y0 + y);
            const unsigned src[3] = {unsigned(px & 0xF) * 17, unsigned((px >> 4) & 0xF) * 17, unsigned((px >> 8) & 0xF) * 17};
            for (int c = 0; c < 3; ++c)
                d[c] = uint8_t((src[c] * a + d[c] * (255 - a)) / 255);
        }
}

} // namespace

TEST(TextPicture, TitleParagraphAndLabelCellsLandWhereAsked)
{
    platform::Fonts fonts;
    platform::FontSpec spec;
    spec.height = 24;
    spec.weight = 500;
    spec.charset = platform::kShiftJisCharset;
    spec.face = platform::utf8ToSjis("ＭＳ ゴシック");
    auto gothic = fonts.createFont(spec);
    spec.face = platform::utf8ToSjis("ＭＳ Ｐゴシック");
    spec.height = 18;
    auto small = fonts.createFont(spec);
    ASSERT_TRUE(gothic && small);

    const int32_t W = 640, H = 400;
    CDIB dib;
    ASSERT_TRUE(dib.CreateCanvas(W, H));
    const uint8_t bg[3] = {0x50, 0x28, 0x20}; // B, G, R: a dark blue
    for (size_t i = 0; i < dib.pixelSize(); i += 4)
        std::copy(bg, bg + 3, dib.pixels() + i);

    platform::TextStyle white;
    white.colour = platform::rgb(255, 255, 255);
    platform::TextStyle cream;
    cream.colour = platform::rgb(255, 240, 190);

    platform::TextRect title{0, 0, W, 48};
    fonts.drawText(*gothic, dib.canvas(), platform::utf8ToSjis("星降る丘の鐘　～第一章～"), title,
                   platform::kDtCenter | platform::kDtVCenter | platform::kDtSingleLine, white);
    // Four and a half lines high: the fifth line is cut through the middle.
    platform::TextRect para{40, 56, 600, 56 + 24 * 4 + 12};
    fonts.drawText(*gothic, dib.canvas(),
                   platform::utf8ToSjis("星降る丘の鐘が鳴る夜、少女は空を見上げて小さく笑った。"
                                        "「ねえ、聞こえる？」風の音にまぎれて、遠くでカラスが鳴いた。"
                                        "ミサキはポケットから古い手紙を取り出し、月明かりの下で読み返す。"
                                        "The last line is cut off by the box."),
                   para, platform::kDtWordBreak, cream);
    platform::TextRect right{40, 208, 600, 236};
    fonts.drawText(*small, dib.canvas(), platform::utf8ToSjis("右寄せの行（ＭＳ Ｐゴシック 18）"), right,
                   platform::kDtRight | platform::kDtSingleLine, white);

    // Label cells: the circled numbers from a sheet of rings, the rest from the face,
    // 28 pixels apart as a label draws them.
    auto sheetBmp = testsupport::makeFontSheetBmp([](int x, int y) {
        const double dx = (x % 32) - 15.5, dy = (y % 32) - 15.5, r = std::sqrt(dx * dx + dy * dy);
        return uint8_t(r > 11 && r < 14.5 ? 15 : 0);
    });
    FontSheet sheet;
    ASSERT_TRUE(sheet.decode(sheetBmp.data(), sheetBmp.size()));
    const char* labels[] = {"①はじめから", "②つづきから", "③おまけ　ＣＧ"};
    for (int l = 0; l < 3; ++l) {
        const std::string text = platform::utf8ToSjis(labels[l]);
        int32_t column = 0;
        for (size_t i = 0; i < text.size();) {
            size_t len = 1;
            const uint32_t c = glyphcell::codeAt(text, i, len);
            i += len;
            uint16_t cell[32 * 32];
            glyphcell::rasterise(gothic.get(), &sheet, c, l == 1 ? 0x0FC8 : 0x0FFF, cell);
            blendCell(dib, cell, 40 + 28 * column, 260 + 40 * l);
            ++column;
        }
    }

    // The title is centred, the paragraph keeps to its box, the right line ends at its edge.
    platform::TextRect t = inkIn(dib, {0, 0, W, 56}, bg[0]);
    EXPECT_NEAR((t.left + t.right) / 2, W / 2, 4);
    EXPECT_NEAR((t.top + t.bottom) / 2, 24, 4);
    platform::TextRect p = inkIn(dib, {0, 50, W, 206}, bg[0]);
    EXPECT_GE(p.left, 40);
    EXPECT_LT(p.right, 600);
    EXPECT_GE(p.top, 56);
    EXPECT_LT(p.bottom, para.bottom);
    EXPECT_GT(p.bottom, 56 + 4 * 24) << "the cut line shows its top half";
    platform::TextRect r = inkIn(dib, {0, 206, W, 240}, bg[0]);
    EXPECT_NEAR(r.right, 599, 3);

    const char* area = std::getenv("SORAFUNE_TEST_TMP");
    std::filesystem::path dir = area ? area : std::filesystem::temp_directory_path().string();
    std::filesystem::create_directories(dir);
    std::vector<uint8_t> rgb(size_t(W) * H * 3);
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x) {
            const uint8_t* s = dib.pixelAt(x, y);
            uint8_t* d = &rgb[(size_t(y) * W + size_t(x)) * 3];
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    EXPECT_TRUE(testsupport::writePng((dir / "text-sample.png").string(), W, H, rgb));
}
