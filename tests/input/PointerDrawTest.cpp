// The in-game pointer on a headless display: where each pointer lands, when none is drawn,
// and the software-mode ring.
#include "../app/EngineFixture.h"

#include "input/PointerRing.h"

#include <vector>

class PointerDrawTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true));
        onGameScreen();
        pointerTex = solidTexture(0xFFFF0000u);
        hotspotTex = solidTexture(0xFF0000FFu);
        dx->pointer.arrow().Set(*pointerTex, 0, 0, 32, 32);
        dx->pointer.hotspotShapes().resize(2);
        dx->pointer.hotspotShapes()[1].Set(*hotspotTex, 0, 0, 32, 32);
    }
    void TearDown() override
    {
        dx.reset();
        pointerTex.reset();
        hotspotTex.reset();
        EngineTest::TearDown();
    }
    std::unique_ptr<CTEXTURE> solidTexture(uint32_t argb)
    {
        auto t = std::make_unique<CTEXTURE>();
        EXPECT_TRUE(t->Create(dx->display.directDraw(), 256, 256, false));
        std::vector<uint8_t> px(256 * 256 * 4);
        for (size_t i = 0; i < px.size(); i += 4) {
            px[i] = uint8_t(argb);
            px[i + 1] = uint8_t(argb >> 8);
            px[i + 2] = uint8_t(argb >> 16);
            px[i + 3] = uint8_t(argb >> 24);
        }
        EXPECT_TRUE(t->Update(px.data()));
        t->AcquireHandle(dx->display.directDraw());
        return t;
    }
    void frameWithPointerAt(int x, int y, uint32_t time = 0)
    {
        pointTo(x, y);
        backend.clock.set(time ? time : backend.clock.now() + 16);
        dx->runFrame();
    }
    // 0xRRGGBB of a back-buffer pixel.
    uint32_t pixel(int x, int y)
    {
        const platform::Surface* bb = backend.video.backBuffer();
        const uint8_t* p = bb->data() + size_t(y) * size_t(bb->pitch()) + size_t(x) * 4;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    std::unique_ptr<CTEXTURE> pointerTex, hotspotTex;
};

TEST_F(PointerDrawTest, NormalPointerHasItsTopLeftFourPixelsLeftOfThePointer)
{
    frameWithPointerAt(100, 200);
    EXPECT_EQ(pixel(96, 200), 0xFF0000u);
    EXPECT_EQ(pixel(127, 231), 0xFF0000u);
    EXPECT_EQ(pixel(95, 200), 0u);
    EXPECT_EQ(pixel(128, 200), 0u);
    EXPECT_EQ(pixel(96, 199), 0u);
    EXPECT_EQ(pixel(96, 232), 0u);
}

TEST_F(PointerDrawTest, OverAHotSpotTheRegionsPointerIsCentred)
{
    // The whole picture is region A, whose next section shows pointer shape 1.
    ASSERT_EQ(dx->hotSpots.clickMap.Create(800, 600), 1);
    dx->hotSpots.clickMap.Fill(0xFFFF0000u);
    auto& sectionA0 = dx->hotSpots.hotSpotTable[0][0];
    sectionA0.target = 1;
    dx->gameState = GameState::Hotspots;
    frameWithPointerAt(300, 300);
    EXPECT_EQ(dx->hotSpots.hoverCursor, 1);
    EXPECT_EQ(pixel(284, 284), 0x0000FFu);
    EXPECT_EQ(pixel(315, 315), 0x0000FFu);
    EXPECT_EQ(pixel(283, 284), 0u);
    EXPECT_EQ(pixel(316, 300), 0u);

    // The same shape outside the hot-spot mode, or a shape without a picture: the normal one.
    dx->gameState = GameState::Ready;
    frameWithPointerAt(300, 300);
    EXPECT_EQ(pixel(296, 300), 0xFF0000u);
    EXPECT_EQ(pixel(290, 300), 0u);
    dx->gameState = GameState::Hotspots;
    sectionA0.target = 0;
    frameWithPointerAt(300, 300);
    EXPECT_EQ(pixel(296, 300), 0xFF0000u);
    sectionA0.target = 7;
    frameWithPointerAt(300, 300);
    EXPECT_EQ(pixel(296, 300), 0xFF0000u);
}

TEST_F(PointerDrawTest, OutsideThePictureNoPointerIsDrawn)
{
    frameWithPointerAt(810, 100);
    EXPECT_EQ(dx->frameInput.cursorInside(), 0);
    for (int x = 770; x < 800; ++x)
        EXPECT_EQ(pixel(x, 100), 0u) << x;
    frameWithPointerAt(790, 100);
    EXPECT_EQ(pixel(795, 100), 0xFF0000u); // back inside: drawn, cut at the picture's edge
}

TEST_F(PointerDrawTest, APointerWithoutAPictureIsNotDrawn)
{
    dx->pointer.arrow().SetNoTexture();
    frameWithPointerAt(100, 100);
    for (int y = 90; y < 140; ++y)
        for (int x = 90; x < 140; ++x)
            ASSERT_EQ(pixel(x, y), 0u) << x << "," << y;
}

TEST_F(PointerDrawTest, TheRingTurnsAroundThePointerOnlyInSoftwareMode)
{
    dx->pointer.arrow().SetNoTexture();
    frameWithPointerAt(400, 300, 1000); // 1000 ms: the leading dot at angle 0
    EXPECT_EQ(pixel(400 + int(kPointerRingRadius), 300), 0u);

    displayProcess().hardware = false;
    frameWithPointerAt(400, 300, 2000);
    const uint32_t lead = pixel(400 + int(kPointerRingRadius), 300);
    const uint32_t trail = pixel(400, 300 - int(kPointerRingRadius)); // the dot a quarter turn behind
    EXPECT_NE(lead, 0u);
    EXPECT_NE(trail, 0u);
    EXPECT_GT(lead & 0xFF, trail & 0xFF); // the tail fades
    EXPECT_EQ(pixel(400, 300), 0u);      // the ring is hollow

    // 25 ms later the ring has turned a quarter: the leading dot is below the pointer.
    frameWithPointerAt(400, 300, 2025);
    EXPECT_EQ(pixel(400, 300 + int(kPointerRingRadius)), lead);
}

TEST_F(PointerDrawTest, TheRingAddsLightToWhatIsBehindIt)
{
    dx->pointer.arrow().SetNoTexture();
    displayProcess().hardware = false;
    dx->registerScreen(
        ScreenState::Game, nullptr, [](CDirectX& d) {
            platform::Rect r{0, 0, 800, 600};
            d.display.directDraw()->colorFill(*d.display.directDraw()->backBuffer(), &r, 0x00404040u);
        });
    frameWithPointerAt(400, 300, 3000);
    uint32_t lit = pixel(400 + int(kPointerRingRadius), 300);
    EXPECT_GT(lit & 0xFF, 0x40u);
    EXPECT_EQ(pixel(400, 300), 0x404040u);
}
