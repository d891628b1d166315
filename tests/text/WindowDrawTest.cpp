// The message window on a headless display with window pictures in the archive: background,
// decorations, the name plate and the fx1/fx2 tile effects as they land in the back buffer.
#include "TextFixture.h"

#include "../graphics/PngDump.h"
#include "../resources/ArchiveBytes.h"
#include "../resources/PngWrite.h"
#include "text/TextScreen.h"

#include <cstdlib>

namespace {

// A 256 x 256 picture of one A4R4G4B4 texel, as a 16-bit grey PNG whose sample's high byte is
// the texel's low byte.
std::string texelPicture(uint16_t texel)
{
    std::vector<uint8_t> raw(256 * 256 * 2);
    for (size_t i = 0; i < raw.size(); i += 2) {
        raw[i] = uint8_t(texel & 0xFF);
        raw[i + 1] = uint8_t(texel >> 8);
    }
    testpng::Options o;
    o.colourType = PNG_COLOR_TYPE_GRAY;
    o.bitDepth = 16;
    const std::vector<uint8_t> png = testpng::encode(256, 256, raw, o);
    return std::string(png.begin(), png.end());
}

class WindowDrawTest : public TextTest {
protected:
    void SetUp() override
    {
        // The archive goes in before the device, whose first creation loads the pictures.
        const auto bytes = archivebytes::archive({
            {"textbox\\textbox_bg1.png", texelPicture(0xF226)},
            {"textbox\\textbox_bg2.png", texelPicture(0xF226)},
            {"textbox\\text_table1.png", texelPicture(0xFF80)},
        });
        testsupport::writeAll((std::filesystem::path(dirForArchive.path()) / "system.pkd").string(), bytes);
        TextTest::SetUp();
    }
    void openArchiveAndInit()
    {
        ASSERT_TRUE(dx->archive.Open((std::filesystem::path(dirForArchive.path()) / "system.pkd").string()));
        dx->messageWindow.initResources(dx->display.directDraw(), dx->sys.fonts, dx->archive, &dx->fontSheet);
        ASSERT_TRUE(dx->messageWindow.windowPictureLoaded[0]);
        ASSERT_TRUE(dx->messageWindow.windowPictureLoaded[1]);
        ASSERT_TRUE(dx->messageWindow.markLoaded);
    }
    // Writes the back buffer as a PNG when SORAFUNE_TEXT_SHOTS names a folder (for looking at).
    void shot(const char* name)
    {
        const char* folder = std::getenv("SORAFUNE_TEXT_SHOTS");
        if (!folder)
            return;
        std::vector<uint8_t> rgb(800 * 600 * 3);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const uint32_t p = pixel(x, y);
                uint8_t* o = &rgb[(size_t(y) * 800 + size_t(x)) * 3];
                o[0] = uint8_t(p >> 16);
                o[1] = uint8_t(p >> 8);
                o[2] = uint8_t(p);
            }
        testsupport::writePng(std::string(folder) + "/" + name + ".png", 800, 600, rgb);
    }
    bool whiteIn(int x0, int y0, int x1, int y1)
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (pixel(x, y) == 0xFFFFFF)
                    return true;
        return false;
    }
    testsupport::TempDir dirForArchive;
};

} // namespace

TEST_F(WindowDrawTest, WindowTilesAtTwoThirdsAlphaAndTextAboveThem)
{
    openArchiveAndInit();
    script("@text,0 {\r\n■■■■\r\n}\r\n");
    frames(3);
    ASSERT_EQ(dx->gameState, GameState::PageClickWait);
    shot("plain-page");
    // Background texel 0x226 (blue 0x66) at alpha 170 over black.
    const uint32_t bg = pixel(700, 560);
    EXPECT_EQ(bg >> 16, (0x22u * 170 + 127) / 255) << std::hex << bg;
    EXPECT_EQ(bg & 0xFF, (0x66u * 170 + 127) / 255) << std::hex << bg;
    EXPECT_EQ(pixel(700, 443), 0u); // above the window
    EXPECT_EQ(pixel(700, 572), 0u); // below it
    // The first glyph's cell starts at (28, 456).
    EXPECT_TRUE(whiteIn(28, 456, 52, 488));
    EXPECT_FALSE(whiteIn(0, 456, 28, 488));
}

TEST_F(WindowDrawTest, OutlineKeepsTheTextOpaqueAtHalfWindowAlpha)
{
    openArchiveAndInit();
    dx->config.textDecoration = 2;
    script("@text,0 {\r\n■\r\n}\r\n");
    frames(3);
    dx->messageWindow.windowAlpha = 128;
    frame();
    EXPECT_TRUE(whiteIn(28, 456, 60, 488));
    dx->messageWindow.decoration = 0;
    frame();
    EXPECT_FALSE(whiteIn(28, 456, 60, 488));
}

TEST_F(WindowDrawTest, ShadowCopyIsDarkerBelowRightOfTheGlyph)
{
    openArchiveAndInit();
    dx->config.textDecoration = 1;
    script("@text,0 {\r\n■\r\n}\r\n");
    frames(3);
    shot("shadow-page");
    // Find the glyph's lowest white row in its cell; two rows below it the shadow darkens the tile.
    int lowest = -1, column = -1;
    for (int y = 456; y < 488; ++y)
        for (int x = 28; x < 60; ++x)
            if (pixel(x, y) == 0xFFFFFF) {
                lowest = y;
                column = x;
            }
    ASSERT_GE(lowest, 0);
    EXPECT_LT(pixel(column + 2, lowest + 2) & 0xFF, pixel(700, 560) & 0xFF);
}

TEST_F(WindowDrawTest, ThreeCharacterNameStartsAtSixtyFour)
{
    openArchiveAndInit();
    dx->config.textDecoration = 2;
    script("@def_text {\r\n1 ■■■ FFF on\r\n}\r\n@text,1 {\r\nA\r\n}\r\n");
    frames(4);
    ASSERT_EQ(dx->messageWindow.nameChars, 3);
    shot("name-outline-page");
    EXPECT_TRUE(whiteIn(64, 403, 96, 435));
    EXPECT_FALSE(whiteIn(0, 396, 64, 444));
    EXPECT_TRUE(whiteIn(92 + 8, 403, 92 + 24, 435));
    EXPECT_FALSE(whiteIn(148 + 32, 396, 224, 444));
    // The plate itself: 224 x 48 at (0, 396).
    EXPECT_NE(pixel(2, 398), 0u);
    EXPECT_EQ(pixel(226, 398), 0u);
}

TEST_F(WindowDrawTest, Fx1HideRowsStartWithinTheirDelayWindows)
{
    openArchiveAndInit();
    script("@textwindow_fx1 hide\r\n@exit\r\n");
    frame();
    ASSERT_EQ(dx->gameState, GameState::WindowEffectHide);
    ASSERT_TRUE(dx->messageWindow.isWindowEffectRunning());
    const WindowEffect& e = dx->messageWindow.effect;
    std::array<int, WindowEffect::kRows> firstStart;
    std::array<int, WindowEffect::kRows> lastStart{};
    firstStart.fill(100000);
    int elapsed = 0;
    bool midShot = false;
    while (e.effectRunning && elapsed < 5000) {
        frame(16);
        elapsed += dx->frameDelta;
        for (int r = 0; r < WindowEffect::kRows; ++r)
            for (int c = 0; c < WindowEffect::kColumns; ++c)
                if (e.value[size_t(r * WindowEffect::kColumns + c)] < 255) {
                    firstStart[size_t(r)] = std::min(firstStart[size_t(r)], elapsed);
                }
        for (int r = 0; r < WindowEffect::kRows; ++r) {
            bool all = true;
            for (int c = 0; c < WindowEffect::kColumns; ++c)
                all = all && e.value[size_t(r * WindowEffect::kColumns + c)] < 255;
            if (all && lastStart[size_t(r)] == 0)
                lastStart[size_t(r)] = elapsed;
        }
        if (!midShot && elapsed >= 300) {
            shot("fx1-hide-midway");
            midShot = true;
        }
    }
    EXPECT_FALSE(e.effectRunning);
    // A frame late at most: the tile shrinks from the first frame after its delay.
    const int frameMs = 17;
    EXPECT_LE(lastStart[0], 64 + frameMs);
    EXPECT_GE(firstStart[7], 448);
    EXPECT_LE(lastStart[7], 512 + frameMs);
    for (int r = 1; r < WindowEffect::kRows; ++r)
        EXPECT_GE(firstStart[size_t(r)], 64 * r) << r;
    frames(2);
    EXPECT_EQ(dx->messageWindow.windowHidden, 1);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
    // Nothing of the window is left.
    EXPECT_EQ(pixel(700, 560), 0u);
}

TEST_F(WindowDrawTest, Fx2ShowEndsInTheFrameAllTilesAreWhole)
{
    openArchiveAndInit();
    script("@textwindow_fast hide\r\n@textwindow_fx2 show\r\n@exit\r\n");
    frames(2);
    ASSERT_EQ(dx->gameState, GameState::WindowEffectShow);
    const WindowEffect& e = dx->messageWindow.effect;
    bool midShot = false;
    int elapsed = 0;
    while (e.effectRunning && elapsed < 5000) {
        // Before a row's delay has passed nothing of it is drawn.
        frame(16);
        elapsed += dx->frameDelta;
        if (!midShot && elapsed >= 400) {
            shot("fx2-show-midway");
            midShot = true;
        }
        if (elapsed < 448 - 17) {
            EXPECT_EQ(pixel(8, 444 + 2), 0u) << elapsed; // the top row waits longest
        }
    }
    EXPECT_FALSE(e.effectRunning);
    for (size_t t = 0; t < e.value.size(); ++t)
        EXPECT_GT(e.value[t], 254);
    frames(2);
    EXPECT_EQ(dx->messageWindow.windowHidden, 0);
    EXPECT_EQ(dx->messageWindow.windowAlpha, 255);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
    EXPECT_NE(pixel(700, 560), 0u);
}
