// The packed demo game read back the way the game reads it: system.pkd through the archive
// reader, every picture through LoadPNG / LoadPNG16, the font sheet through its decoder,
// and the captions drawn with the font service.
#include "../TestSupport.h"
#include "graphics/FontSheet.h"
#include "graphics/InterfaceSprites.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "resources/Image.h"
#include "resources/PackArchive.h"
#include "tools/demo/FontLabels.h"
#include "tools/demo/Generator.h"
#include "tools/demo/Interface.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace demo;

TEST(DemoArchive, EveryPictureLoadsThroughTheGamesLoadersFromSystemPkd)
{
    platform::Fonts fonts;
    GeneratorOptions options;
    options.sourceDir = std::string(SORAFUNE_SOURCE_DIR) + "/demo";
    options.label = fontLabelPainter(fonts);
    const GeneratedGame game = generateGame(options);
    ASSERT_EQ(game.error, "");
    testsupport::TempDir dir;
    std::string error;
    ASSERT_TRUE(writeGame(game, dir.str(), "", error)) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "BG")) << "no loose archive tree without --archive-dir";

    CPackArchive archive;
    ASSERT_TRUE(archive.Open(dir.file("system.pkd")));
    int pictures = 0, sixteen = 0;
    for (const GameFile& f : game.files) {
        if (!f.inArchive)
            continue;
        const std::string name = platform::utf8ToSjis(f.name);
        ASSERT_EQ(archive.GetSize(name), int32_t(f.bytes.size())) << f.name;
        std::vector<uint8_t> back(f.bytes.size() + 1);
        ASSERT_EQ(archive.Read(name, back.data()), int32_t(f.bytes.size())) << f.name;
        back.pop_back();
        EXPECT_EQ(back, f.bytes) << f.name;
        if (f.name.size() < 4 || f.name.compare(f.name.size() - 4, 4, ".png") != 0)
            continue;
        if (f.name.rfind("textbox\\", 0) == 0) {
            CImage16 img;
            ASSERT_EQ(img.LoadPNG16(name, archive), 0) << f.name;
            EXPECT_EQ(img.width, 256);
            EXPECT_EQ(img.height, 256);
            ++sixteen;
        } else {
            CImage img;
            ASSERT_EQ(img.LoadPNG(name, archive), 0) << f.name;
            EXPECT_GT(img.width, 0);
            ++pictures;
        }
    }
    EXPECT_GE(pictures, 26 + 6 + 19 + 5);
    EXPECT_EQ(sixteen, 3);

    // The window pictures give the game the very texels the generator drew.
    CImage16 table;
    ASSERT_EQ(table.LoadPNG16(SJ("textbox\\text_table1.png"), archive), 0);
    const std::vector<uint16_t> drawn = textWindowPicture(SpriteAtlas::TextTable1);
    for (int y = 0; y < 256; y += 7)
        for (int x = 0; x < 256; x += 5)
            ASSERT_EQ(table.texel(x, y), drawn[size_t(y) * 256 + size_t(x)]) << x << "," << y;

    // Atlas pixels come out as B, G, R, A with the alpha the sprite was painted with.
    CImage atlas;
    ASSERT_EQ(atlas.LoadPNG(SJ("SYSTEM\\systex1.png"), archive), 0);
    const InterfaceSprite& pointer = interfaceSprite(SpriteId::Pointer);
    EXPECT_EQ(atlas.row(pointer.y + 12)[(pointer.x + 7) * 4 + 3], 255) << "inside the arrow";
    EXPECT_EQ(atlas.row(pointer.y + 30)[(pointer.x + 30) * 4 + 3], 0) << "outside the arrow";

    // The font sheet: 4-bit, 128 x 128, rows put top first by the decoder.
    const int32_t size = archive.GetSize(SJ("textbox\\default_font.bmp"));
    ASSERT_GT(size, 0);
    std::vector<uint8_t> bmp(size_t(size) + 1);
    ASSERT_EQ(archive.Read(SJ("textbox\\default_font.bmp"), bmp.data()), size);
    FontSheet sheet;
    ASSERT_TRUE(sheet.decode(bmp.data(), size_t(size)));
    const std::vector<uint8_t> levels = circledNumberSheet();
    for (int k = 0; k < 16; ++k)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(sheet.alpha(k, x, y), levels[size_t(32 * (k / 4) + y) * 128 + size_t(32 * (k % 4) + x)])
                    << "glyph " << k << " at " << x << "," << y;
}

TEST(DemoArchive, CaptionsAreDrawnWithTheFontServiceInsideTheirSprites)
{
    platform::Fonts fonts;
    const LabelPainter label = fontLabelPainter(fonts);
    const Image plain = drawAtlas(SpriteAtlas::Logotex5, {});
    const Image captioned = drawAtlas(SpriteAtlas::Logotex5, label);
    // Every labelled strip changes where its caption goes; the unlabelled spare does not.
    for (const InterfaceSprite& s : kInterfaceSprites) {
        if (s.atlas != SpriteAtlas::Logotex5)
            continue;
        int changed = 0;
        for (int y = s.y; y < s.y + s.h; ++y)
            for (int x = s.x; x < s.x + s.w; ++x) {
                const Color a = plain.get(x, y), b = captioned.get(x, y);
                changed += std::fabs(a.r - b.r) + std::fabs(a.a - b.a) > 0.1f;
            }
        if (s.label) {
            EXPECT_GT(changed, 40) << s.what;
        } else {
            EXPECT_EQ(changed, 0) << s.what;
        }
    }
    // A caption wider than its box is shrunk to fit instead of being cut off at the edges.
    Image narrow(64, 16);
    label(narrow, "フルスクリーン", 0, 0, 64, 16, hex(0xFFFFFF), 14);
    float edge = 0, middle = 0;
    for (int y = 0; y < 16; ++y) {
        edge += narrow.get(0, y).a + narrow.get(63, y).a;
        for (int x = 20; x < 44; ++x)
            middle += narrow.get(x, y).a;
    }
    EXPECT_GT(middle, 5.0f);
    EXPECT_LT(edge, 0.5f);
}
