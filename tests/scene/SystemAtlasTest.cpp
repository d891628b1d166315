// The interface atlases load at engine initialisation and the in-game pointer is cut from the
// first one.
#include "SceneFixture.h"

namespace {

// A 256x256 RGBA atlas: the pointer cell (0,0)-(31,31) opaque magenta, the rest clear.
std::vector<uint8_t> atlasPng()
{
    const uint32_t w = 256, h = 256;
    std::vector<uint8_t> raw(size_t(w) * h * 4, 0);
    for (uint32_t y = 0; y < 32; ++y)
        for (uint32_t x = 0; x < 32; ++x) {
            uint8_t* p = raw.data() + (size_t(y) * w + x) * 4;
            p[0] = 0xFF;
            p[2] = 0xFF;
            p[3] = 0xFF;
        }
    testpng::Options o;
    o.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    return testpng::encode(w, h, raw, o);
}

class SystemAtlasTest : public EngineTest {
protected:
    void start(bool withAtlas)
    {
        PackWriter w;
        if (withAtlas)
            w.addBytes("SYSTEM\\systex1.png", atlasPng());
        w.addBytes("SYSTEM\\systex3.png", {0x89, 'P', 'N', 'G'}); // cut short
        std::string error;
        const std::string pkd = (dir.path() / "system.pkd").string();
        ASSERT_TRUE(w.write(pkd, error)) << error;
        ASSERT_TRUE(dx->archive.Open(pkd));
        ASSERT_TRUE(dx->input.create(backend.services.input));
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true)); // runs the engine initialisation
        dx->windowActive = true;
        onGameScreen();
    }
    uint32_t backPixel(int x, int y)
    {
        const platform::Surface* bb = backend.video.backBuffer();
        uint32_t v;
        std::memcpy(&v, bb->data() + size_t(y) * size_t(bb->pitch()) + size_t(x) * 4, 4);
        return v & 0xFFFFFF;
    }
};

} // namespace

TEST_F(SystemAtlasTest, PointerIsCutFromTheFirstAtlasAndDrawnLeftOfThePointer)
{
    start(true);
    EXPECT_TRUE(dx->systemAtlas[0].hasContent);
    EXPECT_TRUE(runLog().contains("PNG Load failed. -> SYSTEM\\systex2.png"));
    EXPECT_TRUE(runLog().contains("PNG Load failed. -> SYSTEM\\systex3.png"));
    ASSERT_EQ(dx->pointer.hotspotShapes().size(), 8u);

    pointTo(200, 150);
    frame();
    ASSERT_EQ(dx->frameInput.cursorInside(), 1);
    // The arrow's hot point is 4 pixels into the picture.
    EXPECT_EQ(backPixel(196, 150), 0xFF00FFu);
    EXPECT_EQ(backPixel(227, 181), 0xFF00FFu);
    EXPECT_EQ(backPixel(195, 150), 0u);
    EXPECT_EQ(backPixel(228, 150), 0u);

    // After a device loss the atlas is rebuilt from its shadow and the pointer still shows.
    backend.video.loseDevice();
    dx->Reset();
    frame();
    EXPECT_EQ(backPixel(196, 150), 0xFF00FFu);
}

TEST_F(SystemAtlasTest, WithoutTheAtlasThePointerIsNotDrawn)
{
    start(false);
    EXPECT_TRUE(runLog().contains("PNG Load failed. -> SYSTEM\\systex1.png"));
    EXPECT_TRUE(dx->pointer.hotspotShapes().empty());
    pointTo(200, 150);
    frame();
    EXPECT_EQ(backPixel(196, 150), 0u);
}
