// The message window on a headless display with window pictures in the archive: background,
// decorations, the name plate and the fx1/fx2 tile effects as they land in the back buffer.
#include "TextFixture.h"

#include "../graphics/FontSheetImage.h"
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

// A font sheet whose first glyph (the one "①" shows) is a solid 32 x 32 square.
std::string solidFirstGlyphSheet()
{
    const std::vector<uint8_t> bmp =
        testsupport::makeFontSheetBmp([](int x, int y) { return uint8_t(x < 32 && y < 32 ? 15 : 0); });
    return std::string(bmp.begin(), bmp.end());
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
            {"textbox\\solid.bmp", solidFirstGlyphSheet()},
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

// A shrinking tile's rectangle and corner alphas, frame by frame, from its value before the
// frame's step: fx1 narrows into a tall streak, fx2 shrinks about a point right and down.
TEST_F(WindowDrawTest, ShrinkingTilesFollowTheirRectanglesAndCornerAlphas)
{
    openArchiveAndInit();
    for (const bool fx1 : {true, false}) {
        SCOPED_TRACE(fx1 ? "fx1" : "fx2");
        script(fx1 ? "@textwindow_fx1 hide\r\n@wait 100000\r\n" : "@textwindow_fx2 hide\r\n@wait 100000\r\n");
        frame();
        ASSERT_TRUE(dx->messageWindow.isWindowEffectRunning());
        const WindowEffect& e = dx->messageWindow.effect;
        const int r = 2, c = 7;
        const size_t t = size_t(r * WindowEffect::kColumns + c);
        int checked = 0;
        while (e.effectRunning) {
            const int32_t delay = e.delay[t], value = e.value[t];
            frame();
            if (delay >= 0 || value <= 0)
                continue;
            const auto& v = e.sprites[t].vertices;
            const float d = float(value - 255) * 0.0625f;
            const float x = fx1 ? 16 * c - d * 0.5f : 16 * c - 2 * d;
            const float y = fx1 ? 444 + 16 * r + 2 * d : 444 + 16 * r - d;
            const float w = fx1 ? 16 + d : 16 + 2 * d, h = fx1 ? 16 - 4 * d : 16 + 2 * d;
            const float bias = v[0].x - x; // the display's sub-pixel shift
            EXPECT_NEAR(v[0].y - y, bias, 1e-3);
            EXPECT_NEAR(v[1].x - v[0].x, w, 1e-3);
            EXPECT_NEAR(v[2].y - v[0].y, h, 1e-3);
            EXPECT_EQ(int(v[0].diffuse >> 24), 127 - (255 - value) / 2);
            EXPECT_EQ(int(v[1].diffuse >> 24), 127 - (255 - value) / 2);
            EXPECT_EQ(int(v[2].diffuse >> 24), 170);
            EXPECT_EQ(int(v[3].diffuse >> 24), 170);
            ++checked;
        }
        EXPECT_GE(checked, 5);
        frame();
        dx->scriptState.waitActive = 0;
        frame();
    }
}

// The click mark moves on a frame every 33 ms, whatever the frame rate, and wraps after 14.
TEST_F(WindowDrawTest, ClickMarkAnimatesEveryThirtyThreeMilliseconds)
{
    openArchiveAndInit();
    script("@keywait\r\n");
    frame();
    ASSERT_EQ(dx->messageWindow.clickMarkVisible, 1);
    const MessageWindow& w = dx->messageWindow;
    for (const int step : {5, 16, 40}) {
        SCOPED_TRACE(step);
        const int start = w.markFrame;
        int advanced = 0, elapsed = 0;
        while (elapsed < 33 * 28) {
            const int before = w.markFrame;
            frame(step - 1); // with the frame's own pause
            elapsed += dx->frameDelta;
            advanced += (w.markFrame - before + 14) % 14;
        }
        // One frame of the mark per 33 ms (and a step longer than that still moves one).
        const int expected = step > 33 ? elapsed / step : elapsed / (33 + (step - 33 % step) % step);
        EXPECT_NEAR(advanced, expected, 2);
        EXPECT_EQ(w.markFrame, (start + advanced) % 14);
    }
}

// The circled numbers come from the font sheet and stand 8 pixels higher than other text.
TEST_F(WindowDrawTest, CircledNumbersStandEightPixelsHigher)
{
    openArchiveAndInit();
    dx->config.textDecoration = 0;
    script("@font_load solid.bmp\r\n@text,0 {\r\n①\r\n}\r\n");
    frames(8);
    ASSERT_TRUE(dx->messageWindow.pageComplete());
    int top = -1, bottom = -1;
    for (int y = 420; y < 520; ++y)
        if (pixel(28 + 16, y) == 0xFFFFFF) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    EXPECT_EQ(top, 456 - 8);
    EXPECT_EQ(bottom, 456 - 8 + 31);
}
